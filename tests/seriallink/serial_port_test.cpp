// flashwizard's SerialPort: the life cycle of its handle, name and rate, its time-outs, the
// drain, and the two exchanges, on the fake; time-outs, exclusivity and line rates on a pty.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "PtyPair.h"
#include "seriallink/SerialPort.h"
#include "seriallink/testing/FakeBackend.h"
#include "seriallink/testing/Recorders.h"

namespace seriallink::testing {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr Timeouts kDefaultTimeouts{0, 0, 500, 1, 10};

class SerialPortFake : public ::testing::Test {
protected:
    SerialPortFake() : port_(line_.MakeBackend()) {}
    FakeLine line_;
    SerialPort port_;
};

TEST_F(SerialPortFake, OpenSetsLineAndDefaultTimeouts) {
    ASSERT_TRUE(port_.Open("COM4", 9600));
    EXPECT_EQ(line_.lastPath, "//./COM4");
    EXPECT_EQ(line_.line, (LineSettings{9600, 8, Parity::None, StopBits::One}));
    EXPECT_EQ(line_.timeouts, kDefaultTimeouts);
    EXPECT_EQ(port_.PortName(), "COM4");
    EXPECT_EQ(port_.BaudRate(), 9600u);
    EXPECT_TRUE(port_.ApplyTimeouts(800, 0));
    EXPECT_EQ(line_.timeouts, (Timeouts{0, 0, 800, 1, 10}));
}

TEST_F(SerialPortFake, OpenClosesTheOpenPortFirst) {
    ASSERT_TRUE(port_.Open("COM4", 9600));
    ASSERT_TRUE(port_.Open("COM5", 115200));
    EXPECT_EQ(line_.closes, 1);
    EXPECT_EQ(line_.lastPath, "//./COM5");
    EXPECT_EQ(port_.PortName(), "COM5");
    // Reopening by its own remembered name works although Open forgets the name first.
    ASSERT_TRUE(port_.Open(port_.PortName(), 9600));
    EXPECT_EQ(line_.lastPath, "//./COM5");
}

TEST_F(SerialPortFake, FailedOpensKeepTheNameForTheNextAttempt) {
    line_.present = false;
    EXPECT_FALSE(port_.Open("COM9", 9600));
    EXPECT_FALSE(port_.IsOpen());
    line_.present = true;
    line_.failSetLine = true;
    EXPECT_FALSE(port_.Open("COM9", 115200));
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_FALSE(line_.isOpen);
    // A USB adapter that dropped out comes back under its name: the next exchange reopens it.
    EXPECT_EQ(port_.PortName(), "COM9");
    EXPECT_EQ(port_.BaudRate(), 115200u);
    line_.failSetLine = false;
    ASSERT_TRUE(port_.EnsureOpen());
    EXPECT_EQ(line_.lastPath, "//./COM9");
    EXPECT_EQ(line_.line.baudRate, 115200u);
}

TEST_F(SerialPortFake, ReleaseEnsureOpenAndClose) {
    EXPECT_TRUE(port_.Close());  // nothing open
    ASSERT_TRUE(port_.Open("COM4", 115200));

    EXPECT_FALSE(port_.Release(false));  // passes the result through, closes
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_EQ(port_.PortName(), "COM4");
    ASSERT_TRUE(port_.EnsureOpen());
    EXPECT_EQ(line_.line.baudRate, 115200u);

    port_.SetKeepOpen(true);
    EXPECT_TRUE(port_.Release(true));
    EXPECT_TRUE(port_.IsOpen());

    line_.failClose = true;
    EXPECT_FALSE(port_.Close());
    EXPECT_TRUE(port_.IsOpen());
    EXPECT_EQ(port_.PortName(), "COM4");
    port_.SetKeepOpen(false);
    EXPECT_FALSE(port_.Release(true));  // the close failed
    line_.failClose = false;

    EXPECT_TRUE(port_.Close());
    EXPECT_EQ(port_.PortName(), "");
    EXPECT_EQ(port_.BaudRate(), 0u);
    EXPECT_FALSE(port_.EnsureOpen());
}

TEST_F(SerialPortFake, ClosedPortRefusesEverything) {
    std::string out = "kept";
    EXPECT_FALSE(port_.ApplyTimeouts(0, 0));
    EXPECT_FALSE(port_.Drain());
    EXPECT_FALSE(port_.WriteRaw("x"));
    EXPECT_FALSE(port_.ReadFixed(out, 1));
    EXPECT_FALSE(port_.ReadUntilQuiet(out));
    EXPECT_EQ(out, "kept");
    EXPECT_TRUE(line_.writes.empty());
}

TEST_F(SerialPortFake, DrainReadsInThousands) {
    ASSERT_TRUE(port_.Open("COM4", 9600));
    line_.Feed(2500, 0x55);
    ASSERT_TRUE(port_.Drain());
    EXPECT_EQ(line_.readCounts, (std::vector<std::size_t>{1000, 1000, 1000}));
    EXPECT_TRUE(line_.input.empty());
    EXPECT_EQ(line_.timeouts, kDefaultTimeouts);  // restored

    line_.Feed(1000, 0x55);  // exactly 1000: one more read to be sure
    line_.readCounts.clear();
    ASSERT_TRUE(port_.Drain());
    EXPECT_EQ(line_.readCounts.size(), 2u);

    line_.failRead = true;
    EXPECT_FALSE(port_.Drain());
    EXPECT_TRUE(line_.timeouts.IsImmediate());  // until the next ApplyTimeouts
}

TEST_F(SerialPortFake, FailedWriteReopensThePort) {
    ASSERT_TRUE(port_.Open("COM4", 115200));
    line_.failWritesLeft = 1;
    EXPECT_FALSE(port_.WriteRaw("\x07\x0E"));
    EXPECT_EQ(line_.opens, 2);
    EXPECT_TRUE(port_.IsOpen());
    EXPECT_EQ(line_.line.baudRate, 115200u);
    line_.writeShortBy = 1;
    EXPECT_FALSE(port_.WriteRaw("\x07\x0E"));
    line_.writeShortBy = 0;
    EXPECT_TRUE(port_.WriteRaw(std::string("\x00\xFF", 2)));
    EXPECT_EQ(line_.writes.back(), std::string("\x00\xFF", 2));
}

TEST_F(SerialPortFake, ReadFixedAndUntilQuiet) {
    ASSERT_TRUE(port_.Open("COM4", 9600));
    std::string out = "kept";
    line_.Feed(std::string("\x06\x00", 2));
    EXPECT_FALSE(port_.ReadFixed(out, 3));  // two of three arrived
    EXPECT_EQ(out, "kept");
    line_.Feed(std::string("\x06\x00\x80", 3));
    ASSERT_TRUE(port_.ReadFixed(out, 3));
    EXPECT_EQ(out, std::string("\x06\x00\x80", 3));
    line_.Feed("ADI 832");
    ASSERT_TRUE(port_.ReadUntilQuiet(out));
    EXPECT_EQ(out, "ADI 832");
    EXPECT_EQ(line_.readCounts.back(), 1u);
    // A sender that never pauses: the read ends at the limit, the rest stays waiting.
    line_.Feed(SerialPort::kQuietReplyLimit + 500, '$');
    ASSERT_TRUE(port_.ReadUntilQuiet(out));
    EXPECT_EQ(out, std::string(SerialPort::kQuietReplyLimit, '$'));
    EXPECT_EQ(line_.input.size(), 500u);
}

TEST_F(SerialPortFake, TransactFixedRetriesTransportFailuresOnly) {
    ASSERT_TRUE(port_.Open("COM4", 9600));
    std::string reply;
    // Silent twice, then the answer: three attempts, two pauses.
    int writes = 0;
    line_.onWrite = [&](const std::string&, FakeLine& l) {
        if (++writes == 3) l.Feed("\x06");
    };
    ASSERT_TRUE(port_.TransactFixed("\x07\x0E\x01\x43\xBC", reply, 1, 3, 500ms, 700ms));
    EXPECT_EQ(reply, "\x06");
    EXPECT_EQ(line_.sleeps, (std::vector<std::chrono::milliseconds>{500ms, 500ms}));
    EXPECT_EQ(line_.readTimeouts.back().readTotalConstant, 700u);
    EXPECT_EQ(line_.timeouts, kDefaultTimeouts);
    EXPECT_FALSE(port_.IsOpen());  // released

    // A refusal is a reply: no further attempt.
    line_.onWrite = [](const std::string&, FakeLine& l) { l.Feed("\x07"); };
    line_.writes.clear();
    ASSERT_TRUE(port_.TransactFixed("\x07\x0E\x01\x43\xBC", reply, 1, 3, 500ms, 500ms));
    EXPECT_EQ(reply, "\x07");
    EXPECT_EQ(line_.writes.size(), 1u);

    // Silence throughout: false, reply cleared, every attempt paused.
    line_.onWrite = nullptr;
    line_.sleeps.clear();
    EXPECT_FALSE(port_.TransactFixed("\x07", reply, 1, 3, 500ms, 500ms));
    EXPECT_EQ(reply, "");
    EXPECT_EQ(line_.sleeps.size(), 3u);

    // A failing drain spends the attempt without a pause.
    port_.SetKeepOpen(true);
    line_.failGetTimeouts = true;
    line_.sleeps.clear();
    line_.writes.clear();
    EXPECT_FALSE(port_.TransactFixed("\x07", reply, 1, 3, 500ms, 500ms));
    EXPECT_TRUE(line_.writes.empty());
    EXPECT_TRUE(line_.sleeps.empty());
    EXPECT_TRUE(port_.IsOpen());
}

TEST_F(SerialPortFake, TransactUntilQuietReadsTheWholeReply) {
    ASSERT_TRUE(port_.Open("COM4", 9600));
    line_.onWrite = [](const std::string&, FakeLine& l) { l.Feed(std::string(25, 'A')); };
    line_.Feed("\x06");  // the late answer of an earlier command must not lead the reply
    std::string reply;
    ASSERT_TRUE(port_.TransactUntilQuiet(std::string("\x21\x5A\x00\xA6", 4), reply, 500ms));
    EXPECT_EQ(reply, std::string(25, 'A'));
    EXPECT_EQ(line_.writes.back(), std::string("\x21\x5A\x00\xA6", 4));
    EXPECT_EQ(line_.readTimeouts.back().readTotalConstant, 500u);

    line_.onWrite = nullptr;
    ASSERT_TRUE(port_.TransactUntilQuiet("!Z", reply, 500ms));  // silence is no error
    EXPECT_EQ(reply, "");

    line_.failWrite = true;
    EXPECT_FALSE(port_.TransactUntilQuiet("!Z", reply, 500ms));
}

class SerialPortPty : public ::testing::Test {
protected:
    PortDir dir_;
    PtyPair pty_{dir_};
    SerialPort port_;
};

TEST_F(SerialPortPty, ReadsEndAfterTheirTimeoutWithWhatArrived) {
    ASSERT_TRUE(port_.Open("COM7", 9600));
    std::string out = "kept";
    bool ok = true;
    double ms = MillisecondsOf([&] { ok = port_.ReadFixed(out, 5); });
    EXPECT_FALSE(ok);
    EXPECT_GE(ms, 499.0);
    EXPECT_LE(ms, 510.0);

    ASSERT_TRUE(port_.ApplyTimeouts(100, 0));
    pty_.Send({0x06, 0x07});
    ms = MillisecondsOf([&] { ok = port_.ReadFixed(out, 5); });
    EXPECT_FALSE(ok);
    EXPECT_EQ(out, "kept");
    EXPECT_GE(ms, 99.0);
    EXPECT_LE(ms, 110.0);

    pty_.Send({0x41, 0x44, 0x49});
    ms = MillisecondsOf([&] { ok = port_.ReadUntilQuiet(out); });
    EXPECT_TRUE(ok);
    EXPECT_EQ(out, "ADI");
    EXPECT_GE(ms, 99.0);
    EXPECT_LE(ms, 110.0);

    // A full reply returns as soon as it is there.
    std::thread instrument([&] {
        std::this_thread::sleep_for(20ms);
        pty_.Send({0x06});
    });
    ms = MillisecondsOf([&] { ok = port_.ReadFixed(out, 1); });
    instrument.join();
    EXPECT_TRUE(ok);
    EXPECT_LT(ms, 60.0);
}

TEST_F(SerialPortPty, SecondOpenOfTheSamePortFails) {
    ASSERT_TRUE(port_.Open("COM7", 9600));
    SerialPort other;
    EXPECT_FALSE(other.Open("COM7", 9600));
    ASSERT_TRUE(port_.Close());
    EXPECT_TRUE(other.Open("COM7", 9600));
}

// Another program trying to open the port without pause, while this one switches its rate
// again and again: it must never get in, and every switch must succeed.
TEST_F(SerialPortPty, ReopenKeepsAnotherProgramOut) {
    ASSERT_TRUE(port_.Open("COM7", 9600));
    std::atomic<bool> done{false};
    std::atomic<int> attempts{0};
    std::atomic<int> intrusions{0};
    std::thread other([&] {
        std::unique_ptr<SerialBackend> backend = MakePlatformBackend();
        while (!done) {
            ++attempts;
            if (backend->Open(DevicePathForPort("COM7")) == OpenStatus::Ok) {
                ++intrusions;
                (void)backend->Close();
            }
        }
    });
    // At least 300 reopens, and on until the other program has tried as often: on a busy
    // machine its thread may start only after the first few hundred.
    int failed = 0;
    for (int i = 0; i < 300 || (attempts <= 300 && i < 100000); ++i) {
        const std::uint32_t rate = i % 2 == 0 ? 115200 : 9600;
        if (!port_.Reopen(rate) || pty_.ClientRate() != rate) ++failed;
    }
    done = true;
    other.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(intrusions, 0);
    EXPECT_GT(attempts, 300);
    EXPECT_EQ(port_.PortName(), "COM7");
    ASSERT_TRUE(port_.Close());
    SerialPort after;
    EXPECT_TRUE(after.Open("COM7", 9600));  // the lock went with the close
}

TEST_F(SerialPortPty, LineRatesReachTheOtherSide) {
    for (std::uint32_t rate : {9600u, 57600u, 115200u, 14400u, 56000u, 128000u, 256000u}) {
        ASSERT_TRUE(port_.Open("COM7", rate));
        EXPECT_EQ(pty_.ClientRate(), rate);
    }
}

TEST_F(SerialPortPty, BytesCrossTheWireUnchanged) {
    ASSERT_TRUE(port_.Open("COM7", 115200));
    // Bytes a cooked terminal would eat or change: XON/XOFF, CR, LF, ^C, ^D, DEL, 0xFF.
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    ASSERT_TRUE(port_.WriteRaw(all));
    const Bytes received = pty_.Received();
    EXPECT_EQ(std::string(received.begin(), received.end()), all);
    pty_.Send(received);
    std::string back;
    ASSERT_TRUE(port_.ReadFixed(back, 256));
    EXPECT_EQ(back, all);
}

TEST_F(SerialPortPty, PulledCableFailsTheReadAndTheReopen) {
    ASSERT_TRUE(port_.Open("COM7", 9600));
    pty_.Unplug();
    std::string out;
    EXPECT_FALSE(port_.ReadFixed(out, 1));
    EXPECT_FALSE(port_.WriteRaw("x"));
    EXPECT_FALSE(port_.IsOpen());  // the reopen after the failed write found nothing
}

}  // namespace
}  // namespace seriallink::testing
