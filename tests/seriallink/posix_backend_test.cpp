// The POSIX back end's time-out rules beyond the ones the programs use every day: the interval
// rule, immediate reads, and writes that give up when nobody takes the bytes.
#include <gtest/gtest.h>

#include "PtyPair.h"
#include "seriallink/SerialBackend.h"

namespace seriallink::testing {
namespace {

class PosixBackendPty : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(backend_->Open("//./COM7"), OpenStatus::Ok); }
    PortDir dir_;
    PtyPair pty_{dir_};
    std::unique_ptr<SerialBackend> backend_ = MakePlatformBackend();
};

TEST_F(PosixBackendPty, IntervalEndsAReadAfterThePause) {
    ASSERT_TRUE(backend_->SetTimeouts({50, 0, 1000, 0, 0}));
    pty_.Send({0x01, 0x02});
    std::uint8_t data[5] = {};
    std::size_t got = 0;
    bool ok = false;
    const double ms = MillisecondsOf([&] { ok = backend_->Read(data, 5, got); });
    EXPECT_TRUE(ok);
    EXPECT_EQ(got, 2u);
    EXPECT_GE(ms, 49.0);
    EXPECT_LE(ms, 60.0);
}

TEST_F(PosixBackendPty, MultiplierCountsPerRequestedByte) {
    ASSERT_TRUE(backend_->SetTimeouts({0, 10, 20, 0, 0}));  // 10 x 4 + 20 = 60 ms
    std::uint8_t data[4] = {};
    std::size_t got = 1;
    const double ms = MillisecondsOf([&] { EXPECT_TRUE(backend_->Read(data, 4, got)); });
    EXPECT_EQ(got, 0u);
    EXPECT_GE(ms, 59.0);
    EXPECT_LE(ms, 70.0);
}

TEST_F(PosixBackendPty, ImmediateReadReturnsWhatWaits) {
    ASSERT_TRUE(backend_->SetTimeouts(Timeouts::Immediate()));
    std::uint8_t data[8] = {};
    std::size_t got = 1;
    EXPECT_TRUE(backend_->Read(data, 8, got));
    EXPECT_EQ(got, 0u);
    pty_.Send({0x0A, 0x0B, 0x0C});
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(backend_->Read(data, 8, got));
    EXPECT_EQ(got, 3u);
}

TEST_F(PosixBackendPty, WriteGivesUpWhenNobodyReads) {
    ASSERT_TRUE(backend_->SetTimeouts({0, 0, 100, 0, 50}));
    const std::vector<std::uint8_t> flood(1 << 20, 0x55);  // far more than a pty buffers
    std::size_t written = 0;
    bool ok = false;
    const double ms =
        MillisecondsOf([&] { ok = backend_->Write(flood.data(), flood.size(), written); });
    EXPECT_TRUE(ok);
    EXPECT_LT(written, flood.size());
    EXPECT_GE(ms, 49.0);
    EXPECT_LE(ms, 75.0);  // the flood is copied into the pty first: slower under sanitizers
}

TEST_F(PosixBackendPty, LineSettingsReadBack) {
    const LineSettings wanted{57600, 8, Parity::None, StopBits::One};
    ASSERT_TRUE(backend_->SetLineSettings(wanted));
    LineSettings read{};
    ASSERT_TRUE(backend_->GetLineSettings(read));
    EXPECT_EQ(read, wanted);
    // A pty keeps 8 bits without parity whatever it is told; rate and stop bits it keeps.
    ASSERT_TRUE(backend_->SetLineSettings({14400, 8, Parity::None, StopBits::Two}));
    ASSERT_TRUE(backend_->GetLineSettings(read));
    EXPECT_EQ(read, (LineSettings{14400, 8, Parity::None, StopBits::Two}));
}

TEST(PosixBackendOpen, StatusOfMissingAndBusyPorts) {
    PortDir dir;
    PtyPair pty(dir, "COM2");
    auto first = MakePlatformBackend();
    auto second = MakePlatformBackend();
    EXPECT_EQ(first->Open("//./COM3"), OpenStatus::NotFound);
    EXPECT_EQ(first->Open("//./COMX"), OpenStatus::NotFound);
    ASSERT_EQ(first->Open("//./COM2"), OpenStatus::Ok);
    EXPECT_EQ(second->Open("//./COM2"), OpenStatus::Busy);
    EXPECT_TRUE(first->Close());
    EXPECT_EQ(second->Open("//./COM2"), OpenStatus::Ok);
}

}  // namespace
}  // namespace seriallink::testing
