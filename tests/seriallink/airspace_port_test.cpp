// zonesend's port: the "@" frame on the wire, every Exchange result code, the drain limit and
// the 100 ms read time-out, over a pseudo-terminal where it can show them and over the fake
// where it cannot (failing writes and reads).
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "PtyPair.h"
#include "seriallink/AirspacePort.h"
#include "seriallink/testing/FakeBackend.h"

namespace seriallink::testing {
namespace {

namespace ap = airspaceport;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kCapacity = 20;

class AirspacePortPty : public ::testing::Test {
protected:
    void SetUp() override {
        ap::SetBackendFactory({});
        ap::SetBaudRate(ap::kDefaultBaudRate);
        ASSERT_TRUE(ap::Open("COM7"));
    }
    void TearDown() override { ap::Close(); }

    PortDir dir_;
    PtyPair pty_{dir_};
};

TEST_F(AirspacePortPty, FreeBlockQueryIsFramedAndReplyIsChecked) {
    EXPECT_EQ(pty_.ClientRate(), 57600u);
    pty_.Send({0x40, 0x05, 0x45});  // arrives before the request: drained, not taken as reply
    std::array<std::uint8_t, kCapacity> buffer{'n'};
    std::thread instrument([&] {
        EXPECT_EQ(pty_.Received(), (Bytes{0x40, 0x6E, 0x2E}));
        pty_.Send({0x40, 0x05, 0x45});
    });
    const unsigned result = ap::Exchange(buffer.data(), kCapacity, 1, 1, true, true);
    instrument.join();
    EXPECT_EQ(result, ap::kExchangeOk);
    EXPECT_EQ(buffer[0], 0x05);
    EXPECT_EQ(buffer[1], 0x00);
}

// What the instrument answers to one query, and the result code the upload gets.
struct ReplyCase {
    const char* what;
    Bytes reply;
    bool checkReply;
    unsigned expected;
};

TEST_F(AirspacePortPty, ResultCodesOfTheReplies) {
    const ReplyCase cases[] = {
        {"framed reply", {0x40, 0x64, 0x24}, true, 0},
        {"nothing", {}, true, 6},
        {"one of three", {0x40}, true, 7},
        {"two of three", {0x40, 0x05}, true, 8},
        {"bad lead byte", {0x41, 0x05, 0x45}, true, 2},
        {"bad checksum", {0x40, 0x05, 0x44}, true, 2},
        {"block accepted, unframed", {0x51}, false, 0},
        {"block refused, unframed", {0x4E}, false, 0},
        {"silence to a block", {}, false, 6},
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::array<std::uint8_t, kCapacity> buffer{'n'};
        std::thread instrument([&] {
            (void)pty_.Received(std::chrono::milliseconds(20));
            pty_.Send(c.reply);
        });
        const unsigned result =
            ap::Exchange(buffer.data(), kCapacity, 1, 1, c.checkReply, c.checkReply);
        instrument.join();
        EXPECT_EQ(result, c.expected);
        if (result == 0) {
            EXPECT_EQ(buffer[0], c.checkReply ? c.reply[1] : c.reply[0]);
        }
    }
}

TEST_F(AirspacePortPty, SilentInstrumentCostsOneHundredMilliseconds) {
    std::array<std::uint8_t, kCapacity> buffer{'n'};
    unsigned result = 0;
    const double ms =
        MillisecondsOf([&] { result = ap::Exchange(buffer.data(), kCapacity, 1, 1, true, true); });
    EXPECT_EQ(result, 6u);
    EXPECT_GE(ms, 99.0);
    EXPECT_LE(ms, 110.0);
}

TEST_F(AirspacePortPty, LengthOverCapacityLeavesThePortAlone) {
    std::array<std::uint8_t, kCapacity + 1> buffer{};
    EXPECT_EQ(ap::Exchange(buffer.data(), kCapacity, 21, 1, true, true), 3u);
    EXPECT_EQ(ap::Exchange(buffer.data(), kCapacity, 1, 21, true, false), 3u);
    EXPECT_EQ(ap::Exchange(buffer.data(), kCapacity, 1, 20, true, true), 3u);  // 20 + 1 > 20
    EXPECT_TRUE(pty_.Received().empty());
}

TEST_F(AirspacePortPty, BlockFrameOnTheWire) {
    // The last block of an all-zero image: 40 4E F7, 14 zeros, checksum F9.
    std::array<std::uint8_t, kCapacity> buffer{0x4E, 0xF7};
    std::thread instrument([&] {
        Bytes expected{0x40, 0x4E, 0xF7};
        expected.insert(expected.end(), 14, 0x00);
        expected.push_back(0xF9);
        EXPECT_EQ(pty_.Received(), expected);
        pty_.Send({0x51});
    });
    EXPECT_EQ(ap::Exchange(buffer.data(), kCapacity, 16, 1, true, false), 0u);
    instrument.join();
    EXPECT_EQ(buffer[0], 0x51);
}

TEST(AirspacePortOpen, MissingOrOverlongPortFails) {
    PortDir dir;
    ap::SetBackendFactory({});
    EXPECT_FALSE(ap::Open("COM3"));
    EXPECT_FALSE(ap::IsOpen());
    EXPECT_FALSE(ap::Open(""));
    EXPECT_FALSE(ap::Open(std::string("COM") + std::string(25, '1')));  // path over 31
}

class AirspacePortFake : public ::testing::Test {
protected:
    void SetUp() override {
        ap::SetBackendFactory(line_.Factory());
        ap::SetBaudRate(ap::kDefaultBaudRate);
    }
    void TearDown() override {
        ap::Close();
        ap::SetBackendFactory({});
    }
    FakeLine line_;
};

TEST_F(AirspacePortFake, OpenSetsLineAndTimeouts) {
    ap::SetBaudRate(19200);
    ASSERT_TRUE(ap::Open("COM3"));
    EXPECT_EQ(line_.lastPath, "//./COM3");
    EXPECT_EQ(line_.line, (LineSettings{19200, 8, Parity::None, StopBits::One}));
    EXPECT_EQ(line_.timeouts, (Timeouts{0, 0, 100, 0, 0}));
}

TEST_F(AirspacePortFake, FailingSetupClosesAgain) {
    line_.failSetTimeouts = true;
    EXPECT_FALSE(ap::Open("COM3"));
    EXPECT_FALSE(ap::IsOpen());
    EXPECT_FALSE(line_.isOpen);
    line_.failSetTimeouts = false;
    line_.failSetLine = true;
    EXPECT_FALSE(ap::Open("COM3"));
    EXPECT_FALSE(line_.isOpen);
}

TEST_F(AirspacePortFake, DrainDiscardsAtMostOneThousandBytes) {
    ASSERT_TRUE(ap::Open("COM3"));
    line_.Feed(2500, 0xAA);
    std::array<std::uint8_t, kCapacity> buffer{'n'};
    EXPECT_EQ(ap::Exchange(buffer.data(), kCapacity, 1, 1, true, true), 2u);  // AA AA AA
    ASSERT_EQ(line_.readCounts.size(), 2u);
    EXPECT_EQ(line_.readCounts[0], 1000u);
    EXPECT_TRUE(line_.readTimeouts[0].IsImmediate());
    EXPECT_EQ(line_.readCounts[1], 3u);
    EXPECT_EQ(line_.readTimeouts[1], (Timeouts{0, 0, 100, 0, 0}));
    EXPECT_EQ(line_.input.size(), 2500u - 1000u - 3u);
}

TEST_F(AirspacePortFake, TransportFailures) {
    ASSERT_TRUE(ap::Open("COM3"));
    std::array<std::uint8_t, kCapacity> buffer{'n'};
    line_.failWrite = true;
    EXPECT_EQ(ap::Exchange(buffer.data(), kCapacity, 1, 1, true, true), 5u);
    line_.failWrite = false;
    line_.writeShortBy = 1;
    EXPECT_EQ(ap::Exchange(buffer.data(), kCapacity, 1, 1, true, true), 5u);
    line_.writeShortBy = 0;
    line_.onWrite = [](const std::string&, FakeLine& l) { l.failRead = true; };
    EXPECT_EQ(ap::Exchange(buffer.data(), kCapacity, 1, 1, true, true), 4u);
    line_.failRead = false;
    // A drain that cannot set its time-outs does not stop the exchange.
    line_.onWrite = [](const std::string&, FakeLine& l) { l.Feed(std::string("\x40\x07\x47")); };
    line_.failGetTimeouts = true;
    EXPECT_EQ(ap::Exchange(buffer.data(), kCapacity, 1, 1, true, true), 0u);
    EXPECT_EQ(buffer[0], 0x07);
}

TEST(AirspaceFrame, MakeAndCheck) {
    const std::uint8_t n = 'n';
    EXPECT_EQ(ap::MakeFrame({&n, 1}), (Bytes{0x40, 0x6E, 0x2E}));
    EXPECT_TRUE(ap::FrameValid(Bytes{0x40, 0x05, 0x45}));
    EXPECT_FALSE(ap::FrameValid(Bytes{0x40}));
    EXPECT_TRUE(ap::FrameValid(Bytes{0x40, 0x40}));  // empty payload
}

}  // namespace
}  // namespace seriallink::testing
