// The loader's bytes: packets, the identification reply's checks, and the single-byte commands'
// exchanges on an in-memory line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flashwizard/core/LinkState.h"
#include "flashwizard/core/LoaderProtocol.h"
#include "seriallink/SerialPort.h"
#include "seriallink/testing/FakeBackend.h"
#include "seriallink/testing/Recorders.h"

namespace {

using flashwizard::Bytes;

std::string Hex(const Bytes& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) {
        if (!text.empty()) text += ' ';
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

TEST(LoaderPackets, BytesOnTheWire) {
    const flashwizard::RateTable slow = flashwizard::DefaultSlowRateParams();
    const flashwizard::RateTable fast = flashwizard::DefaultFastRateParams();
    const struct {
        const char* what;
        Bytes packet;
        const char* wire;
    } cases[] = {
        {"identification", flashwizard::IdentificationRequest(), "21 5A 00 A6"},
        {"erase", flashwizard::ErasePacket(), "07 0E 01 43 BC"},
        {"start", flashwizard::RunPacket(), "07 0E 04 55 00 00 00 A7"},
        {"deactivate", flashwizard::DisablePacket(), "07 0E 02 46 FF B9"},
        {"831 slow", flashwizard::RatePacket(slow.at(831)), "07 0E 03 42 85 08 2E"},
        {"831 fast", flashwizard::RatePacket(fast.at(831)), "07 0E 03 42 81 20 1A"},
        {"832 slow", flashwizard::RatePacket(slow.at(832)), "07 0E 03 42 85 2D 09"},
        {"832 fast", flashwizard::RatePacket(fast.at(832)), "07 0E 03 42 82 09 30"},
        {"842 slow", flashwizard::RatePacket(slow.at(842)), "07 0E 03 42 85 2D 09"},
        {"842 fast", flashwizard::RatePacket(fast.at(842)), "07 0E 03 42 82 09 30"},
    };
    for (const auto& c : cases) EXPECT_EQ(Hex(c.packet), c.wire) << c.what;
    EXPECT_EQ(slow.size(), 3u);
    EXPECT_EQ(fast.size(), 3u);
}

TEST(LoaderPackets, RecordPacketFromHexLine) {
    const struct {
        const char* line;
        bool ok;
        const char* wire;
    } cases[] = {
        // 16 data bytes at 0x1230: N = 0x14, the record type and its checksum are not sent.
        {":10123000000102030405060708090A0B0C0D0E0F36", true,
         "07 0E 14 57 00 12 30 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F DB"},
        {":02001000C0DE50", true, "07 0E 06 57 00 00 10 C0 DE F5"},
        {":0100000041BE", true, "07 0E 05 57 00 00 00 41 63"},
        {"0100000041BE", false, ""},   // no colon
        {":0100000041B", false, ""},   // odd digit count
        {":0200000041BE", false, ""},  // count larger than the data
        {":01000000zzBE", false, ""},  // not hex
    };
    for (const auto& c : cases) {
        Bytes packet;
        EXPECT_EQ(flashwizard::RecordPacket(c.line, packet), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(Hex(packet), c.wire) << c.line;
        }
    }
}

// A reply as the loader sends it, with its checksum.
Bytes Reply(const std::string& digits, unsigned char further = 0x00, std::size_t length = 25) {
    Bytes r = "ADI 8" + digits + "   V2.1\r\n";
    r.resize(length - 1, static_cast<char>(further));
    unsigned sum = 0;
    for (unsigned char b : r) sum += b;
    r.push_back(static_cast<char>((0x100 - sum % 0x100) % 0x100));
    return r;
}

TEST(IdentificationReply, Verdicts) {
    Bytes wrongV = Reply("32");
    wrongV[10] = 'W';
    Bytes badSum = Reply("32");
    badSum[24] = static_cast<char>(badSum[24] + 1);
    Bytes noCrLf = Reply("32");
    noCrLf[15] = ' ';
    const struct {
        const char* what;
        Bytes reply;
        flashwizard::IdentifyResult result;
        unsigned model;  // 999: left alone
    } cases[] = {
        {"832", Reply("32"), flashwizard::kLoaderFound, 832},
        {"812", Reply("12"), flashwizard::kLoaderFound, 812},
        {"one digit after a blank", Reply(" 5"), flashwizard::kLoaderFound, 805},
        {"digit then letter", Reply("3x"), flashwizard::kLoaderFound, 803},
        {"bytes of 0x80 and more", Reply("42", 0xE7), flashwizard::kLoaderFound, 842},
        {"24 bytes", Reply("32", 0, 24), flashwizard::kWrongDevice, 999},
        {"26 bytes", Reply("32", 0, 26), flashwizard::kWrongDevice, 999},
        {"blank digits", Reply("  "), flashwizard::kWrongDevice, 0},
        {"a sign is no digit", Reply("-1"), flashwizard::kWrongDevice, 0},
        {"wrong version letter", wrongV, flashwizard::kWrongDevice, 999},
        {"no line end", noCrLf, flashwizard::kWrongDevice, 999},
        {"bad checksum", badSum, flashwizard::kWrongDevice, 832},
        {"empty", Bytes(), flashwizard::kWrongDevice, 999},
    };
    for (const auto& c : cases) {
        unsigned model = 999;
        bool read = false;
        EXPECT_EQ(flashwizard::CheckIdentificationReply(c.reply, model, read), c.result) << c.what;
        EXPECT_EQ(model, c.model) << c.what;
    }
}

// The loader on an in-memory line: every packet answered with `answer` (nothing when empty).
struct FakeLoader {
    seriallink::testing::FakeLine line;
    seriallink::SerialPort port{line.MakeBackend()};
    flashwizard::LinkState link;
    flashwizard::LoaderTiming timing;  // the real values: the fake line spends no wait

    explicit FakeLoader(Bytes answer) {
        line.onWrite = [answer](const std::string&, seriallink::testing::FakeLine& l) {
            l.Feed(answer);
        };
        EXPECT_TRUE(port.Open("COM3", 9600));
    }
};

TEST(LoaderCommands, SingleByteCommandExchanges) {
    using Op = bool (*)(flashwizard::LoaderClient&);
    const struct {
        const char* what;
        Op op;
        Bytes answer;
        bool result;
        std::size_t writes;
    } cases[] = {
        {"erase acknowledged", [](flashwizard::LoaderClient& l) { return l.EraseProgram(); },
         "\x06", true, 1},
        // A refusal is an answer: no further attempts inside the exchange.
        {"erase refused", [](flashwizard::LoaderClient& l) { return l.EraseProgram(); }, "\x07",
         false, 1},
        {"start unanswered", [](flashwizard::LoaderClient& l) { return l.RunProgram(); }, "", false,
         3},
        {"deactivate", [](flashwizard::LoaderClient& l) { return l.DisableLoader(); }, "\x06", true,
         1},
        {"record unanswered: one attempt only",
         [](flashwizard::LoaderClient& l) { return l.WriteRecord(flashwizard::ErasePacket()); }, "",
         false, 1},
    };
    for (const auto& c : cases) {
        FakeLoader f(c.answer);
        flashwizard::LoaderClient loader(f.port, f.link, f.timing);
        EXPECT_EQ(c.op(loader), c.result) << c.what;
        EXPECT_EQ(f.line.writes.size(), c.writes) << c.what;
        // Every answer is awaited for 500 ms.
        for (const auto& t : f.line.readTimeouts) {
            if (!t.IsImmediate()) {
                EXPECT_EQ(t.readTotalConstant, 500u) << c.what;
            }
        }
    }
    FakeLoader unanswered("");
    flashwizard::LoaderClient loader(unanswered.port, unanswered.link, unanswered.timing);
    EXPECT_FALSE(loader.EraseProgram());
    EXPECT_EQ(unanswered.line.sleeps,
              std::vector<std::chrono::milliseconds>(3, std::chrono::milliseconds(500)));
}

TEST(LoaderCommands, RateSwitchSendsOnlyWhenItChangesTheRate) {
    const struct {
        const char* what;
        unsigned rate;
        bool fastBefore;
        bool result;
        const char* sent;
        bool fastAfter;
    } cases[] = {
        {"115200 while fast", 115200, true, true, "", true},
        {"9600 while slow", 9600, false, true, "", false},
        {"other rate", 57600, false, false, "", false},
        {"to fast", 115200, false, true, "07 0E 03 42 82 09 30", true},
        {"to slow", 9600, true, true, "07 0E 03 42 85 2D 09", false},
    };
    for (const auto& c : cases) {
        FakeLoader f("\x06");
        f.link.chipModel = 832;
        f.link.chipKnown = true;
        f.link.fastRate = c.fastBefore;
        flashwizard::LoaderClient loader(f.port, f.link, f.timing);
        EXPECT_EQ(loader.SetLoaderRate(c.rate), c.result) << c.what;
        EXPECT_EQ(Hex(f.line.written), c.sent) << c.what;
        EXPECT_EQ(f.link.fastRate, c.fastAfter) << c.what;
        if (*c.sent != '\0') {
            // The PC follows after the acknowledgement, and waits for the port to settle.
            EXPECT_EQ(f.line.line.baudRate, c.rate) << c.what;
            EXPECT_EQ(f.line.sleeps.back(), std::chrono::milliseconds(1000)) << c.what;
        }
    }
    // Refused: the PC stays at its rate.
    FakeLoader refused("\x15");
    refused.link.chipModel = 831;
    refused.link.chipKnown = true;
    flashwizard::LoaderClient loader(refused.port, refused.link, refused.timing);
    EXPECT_FALSE(loader.SetLoaderRate(115200));
    EXPECT_EQ(Hex(refused.line.written), "07 0E 03 42 81 20 1A");
    EXPECT_EQ(refused.line.line.baudRate, 9600u);
    EXPECT_FALSE(refused.link.fastRate);
}

TEST(LoaderCommands, IdentifyReportsTransportFailureAsThree) {
    FakeLoader f("");
    f.line.failWrite = true;
    flashwizard::LoaderClient loader(f.port, f.link, f.timing);
    EXPECT_EQ(loader.IdentifyLoader(), flashwizard::kCommFailure);
}

// A late answer waiting in the port (of an erase that timed out, say) is drained first, so the
// reset step does not lose an attempt to a "wrong device".
TEST(LoaderCommands, IdentifyDrainsALateAnswerFirst) {
    FakeLoader f(Reply("32"));
    f.line.Feed("\x06");
    flashwizard::LoaderClient loader(f.port, f.link, f.timing);
    EXPECT_EQ(loader.IdentifyLoader(), flashwizard::kLoaderFound);
    EXPECT_EQ(f.link.chipModel, 832u);
}

// A device that talks without pause on the chosen port (a GPS receiver, say) is a wrong device,
// found at once: the search must not wait for a silence that never comes.
TEST(LoaderCommands, IdentifyEndsOnADeviceThatNeverFallsSilent) {
    FakeLoader f("");
    f.line.onWrite = [](const std::string&, seriallink::testing::FakeLine& l) {
        l.Feed(100000, '$');
    };
    flashwizard::LoaderClient loader(f.port, f.link, f.timing);
    EXPECT_EQ(loader.IdentifyLoader(), flashwizard::kWrongDevice);
    EXPECT_EQ(f.link.chipModel, 0u);
    EXPECT_FALSE(f.line.input.empty());  // stopped reading long before the talker did
}

// The PC side follows the loader while it probes: a silence at 115200 is asked again at 9600, a
// reply at 115200 is asked again at 9600 (the identification put the loader back there).
TEST(LoaderCommands, IdentifyReopenRules) {
    using flashwizard::kCommFailure;
    using flashwizard::kLoaderFound;
    using flashwizard::kNoAnswer;
    const Bytes reply = Reply("32");
    const struct {
        const char* what;
        unsigned rateBefore;  // fastRate is set when 115200
        const char* answers;  // "F": the loader answers at 115200, "S": at 9600
        int failWrite;        // this write (1 = first) fails; 0: none
        flashwizard::IdentifyResult result;
        std::vector<unsigned> requestRates;  // of the requests that went out
        unsigned rateAfter;                  // fastRate must match it
        std::size_t settles;                 // 1000 ms waits after reopening
    } cases[] = {
        {"slow, answered", 9600, "S", 0, kLoaderFound, {9600}, 9600, 0},
        {"slow, silent", 9600, "", 0, kNoAnswer, {9600}, 9600, 0},
        {"fast, answered only at 9600", 115200, "S", 0, kLoaderFound, {115200, 9600}, 9600, 1},
        {"fast, silent at both rates", 115200, "", 0, kNoAnswer, {115200, 9600}, 115200, 2},
        {"fast, retry at 9600 not sent", 115200, "S", 2, kCommFailure, {115200}, 115200, 2},
        {"fast, answered at 115200", 115200, "FS", 0, kLoaderFound, {115200, 9600}, 9600, 1},
        {"fast, asking again fails", 115200, "FS", 2, kCommFailure, {115200}, 9600, 1},
    };
    for (const auto& c : cases) {
        FakeLoader f("");
        std::vector<unsigned> rates;
        int writes = 0;
        const std::string answers = c.answers;
        const int failWrite = c.failWrite;
        f.line.onWrite = [&](const std::string&, seriallink::testing::FakeLine& l) {
            rates.push_back(l.line.baudRate);
            if (++writes == failWrite - 1) l.failWritesLeft = 1;
            const char at = l.line.baudRate == 115200 ? 'F' : 'S';
            if (answers.find(at) != std::string::npos) l.Feed(reply);
        };
        EXPECT_TRUE(f.port.Open("COM3", c.rateBefore));
        f.link.fastRate = c.rateBefore == 115200;
        flashwizard::LoaderClient loader(f.port, f.link, f.timing);
        EXPECT_EQ(loader.IdentifyLoader(), c.result) << c.what;
        EXPECT_EQ(rates, c.requestRates) << c.what;
        EXPECT_EQ(f.line.line.baudRate, c.rateAfter) << c.what;
        EXPECT_EQ(f.link.fastRate, c.rateAfter == 115200) << c.what;
        EXPECT_EQ(f.line.sleeps, std::vector<std::chrono::milliseconds>(
                                     c.settles, std::chrono::milliseconds(1000)))
            << c.what;
        EXPECT_EQ(f.link.chipModel, c.result == kLoaderFound ? 832u : 0u) << c.what;
        EXPECT_EQ(f.link.chipKnown, c.result == kLoaderFound) << c.what;
    }
}

}  // namespace
