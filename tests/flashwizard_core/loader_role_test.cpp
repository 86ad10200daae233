// quillon-sim's loader role, byte by byte over a pseudo-terminal, with its fault injection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flashwizard/core/LoaderProtocol.h"
#include "seriallink/SerialPort.h"
#include "tests/flashwizard_core/SimHarness.h"
#include "tools/sim/LoaderRole.h"

namespace {

using flashwizard::Bytes;
using std::chrono::milliseconds;

constexpr milliseconds kWait{60};

// A port to the simulator that stays open between exchanges.
struct Client {
    fwtest::LoaderSim sim;
    seriallink::SerialPort port;

    explicit Client(const std::vector<std::string>& args = {}, unsigned rate = 9600) : sim(args) {
        EXPECT_TRUE(sim.started()) << sim.error();
        port.SetKeepOpen(true);
        EXPECT_TRUE(port.Open(fwtest::LoaderSim::kPortName, rate));
    }
    Bytes Identify() {
        Bytes reply;
        EXPECT_TRUE(port.TransactUntilQuiet(flashwizard::IdentificationRequest(), reply, kWait));
        return reply;
    }
    // The one-byte answer, or "" for none.
    Bytes Send(const Bytes& packet) {
        Bytes reply;
        if (!port.TransactFixed(packet, reply, 1, 1, milliseconds(1), kWait)) return "";
        return reply;
    }
    void Reopen(unsigned rate) {
        EXPECT_TRUE(port.Close());
        EXPECT_TRUE(port.Open(fwtest::LoaderSim::kPortName, rate));
    }
};

Bytes Record(const std::string& line) {
    Bytes packet;
    EXPECT_TRUE(flashwizard::RecordPacket(line, packet));
    return packet;
}

const Bytes kAck = "\x06";
const Bytes kNak = "\x07";

TEST(LoaderRole, IdentificationReplyPassesTheWizardsChecks) {
    for (unsigned model : {831u, 832u, 842u, 812u}) {
        Client client({"--model", std::to_string(model)});
        const Bytes reply = client.Identify();
        const auto expected = quillon_sim::LoaderIdentReply(model);
        EXPECT_EQ(reply, Bytes(expected.begin(), expected.end())) << model;
        unsigned got = 0;
        bool read = false;
        EXPECT_EQ(flashwizard::CheckIdentificationReply(reply, got, read),
                  flashwizard::kLoaderFound)
            << model;
        EXPECT_EQ(got, model);
    }
}

TEST(LoaderRole, CommandsRatesAndTheImage) {
    Client client;
    const struct {
        const char* what;
        int reopenAt;  // 0: stay
        Bytes packet;
        Bytes answer;
    } steps[] = {
        {"fast rate before the switch is ignored", 115200, flashwizard::ErasePacket(), ""},
        {"erase at 9600", 9600, flashwizard::ErasePacket(), kAck},
        {"bad checksum", 0, Bytes("\x07\x0E\x01\x43\xBD", 5), kNak},
        {"unknown command", 0, flashwizard::LoaderPacket('Z', ""), kNak},
        {"831 parameters on an 832", 0, flashwizard::RatePacket({0x81, 0x20}), kNak},
        {"to 115200", 0, flashwizard::RatePacket({0x82, 0x09}), kAck},
        {"PC left at 9600 is not heard", 0, Record(":0100000041BE"), ""},
        {"record at 115200", 115200, Record(":0100000041BE"), kAck},
        {"the same byte again programs nothing new", 0, Record(":0100000041BE"), kAck},
        {"programming cannot set a bit", 0, Record(":0100000042BD"), kNak},
        {"record with 16 bytes", 0, Record(":10123000000102030405060708090A0B0C0D0E0F36"), kAck},
        {"back to 9600", 0, flashwizard::RatePacket({0x85, 0x2D}), kAck},
        {"deactivate at 9600", 9600, flashwizard::DisablePacket(), kAck},
        {"start", 0, flashwizard::RunPacket(), kAck},
        {"the new program does not answer", 0, flashwizard::ErasePacket(), ""},
    };
    for (const auto& s : steps) {
        if (s.reopenAt != 0) client.Reopen(static_cast<unsigned>(s.reopenAt));
        EXPECT_EQ(client.Send(s.packet), s.answer) << s.what;
    }
    EXPECT_EQ(client.sim.ImageLines(),
              (std::vector<std::string>{
                  ":0100000040BF", ":10123000000102030405060708090A0B0C0D0E0F36", ":00000001FF"}));

    // The strict loader refuses even the same bytes again.
    Client strict({"--strict-rewrite"});
    EXPECT_EQ(strict.Send(flashwizard::ErasePacket()), kAck);
    EXPECT_EQ(strict.Send(Record(":0100000041BE")), kAck);
    EXPECT_EQ(strict.Send(Record(":0100000041BE")), kNak);
}

TEST(LoaderRole, IdentificationResetsToNineThousandSixHundred) {
    Client client;
    EXPECT_EQ(client.Send(flashwizard::RatePacket({0x82, 0x09})), kAck);
    client.Reopen(115200);
    EXPECT_EQ(client.Identify().size(), 25u);  // answered at the rate it listened at
    EXPECT_EQ(client.Send(flashwizard::ErasePacket()), "");
    client.Reopen(9600);
    EXPECT_EQ(client.Send(flashwizard::ErasePacket()), kAck);
}

TEST(LoaderRole, FaultInjection) {
    const Bytes r1 = Record(":0100000041BE");
    const Bytes r2 = Record(":02001000C0DE50");
    const Bytes r3 = Record(":0100200011CE");
    {
        // Record 2 refused twice; the record counter starts again at each erase.
        Client client({"--refuse", "2:2"});
        EXPECT_EQ(client.Send(flashwizard::ErasePacket()), kAck);
        EXPECT_EQ(client.Send(r1), kAck);
        EXPECT_EQ(client.Send(r2), kNak);
        EXPECT_EQ(client.Send(r2), kNak);
        EXPECT_EQ(client.Send(r2), kAck);
        EXPECT_EQ(client.Send(r3), kAck);
    }
    {
        Client client({"--silent"});
        EXPECT_EQ(client.Identify(), "");
        EXPECT_EQ(client.Send(flashwizard::ErasePacket()), "");
    }
    {
        Client client({"--garbage"});
        const Bytes reply = client.Identify();
        ASSERT_EQ(reply.size(), 25u);
        EXPECT_EQ(static_cast<unsigned char>(reply[0]), static_cast<unsigned char>(~'A'));
        EXPECT_EQ(client.Send(flashwizard::ErasePacket()), "\xF9");
    }
    {
        // Seeded drops: some answers go missing, the same ones for the same seed.
        std::string pattern[2];
        for (std::string& p : pattern) {
            Client client({"--drop", "0.5", "--seed", "7"});
            for (int i = 0; i < 16; ++i)
                p += client.Send(flashwizard::ErasePacket()).empty() ? '-' : 'A';
        }
        EXPECT_EQ(pattern[0], pattern[1]);
        EXPECT_NE(pattern[0].find('-'), std::string::npos);
        EXPECT_NE(pattern[0].find('A'), std::string::npos);
    }
    {
        // The cable is pulled after the second record: the port disappears.
        Client client({"--vanish-after", "2"});
        EXPECT_EQ(client.Send(flashwizard::ErasePacket()), kAck);
        EXPECT_EQ(client.Send(r1), kAck);
        EXPECT_EQ(client.Send(r2), kAck);
        EXPECT_EQ(client.Send(r3), "");
        EXPECT_FALSE(client.port.Open(fwtest::LoaderSim::kPortName, 9600));
    }
}

TEST(LoaderMemory, HexLinesSplitAtGapsAndBoundaries) {
    quillon_sim::LoaderMemory memory(quillon_sim::Rewrite::Strict);
    const std::uint8_t data[20] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                   11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    ASSERT_TRUE(memory.Write(0x0008, data, 20));  // crosses 0x0010
    ASSERT_TRUE(memory.Write(0xFFFE, data, 2));   // the last two bytes
    EXPECT_FALSE(memory.Write(0xFFFF, data, 2));  // beyond the memory
    EXPECT_FALSE(memory.Write(0x0010, data, 1));  // written already
    EXPECT_EQ(memory.WrittenCount(), 22u);
    EXPECT_EQ(memory.HexLines(), (std::vector<std::string>{
                                     ":080008000102030405060708CC",
                                     ":0C001000090A0B0C0D0E0F101112131436",
                                     ":02FFFE000102FE",
                                     ":00000001FF",
                                 }));
}

// A write over written bytes, as flash takes it and as the strict loader does.
TEST(LoaderMemory, RewritesProgramTheAndOfOldAndNew) {
    using quillon_sim::Rewrite;
    const struct {
        const char* what;
        Rewrite rewrite;
        std::uint8_t first, second;
        bool accepted;
        std::uint8_t holds;
    } cases[] = {
        {"the same byte", Rewrite::FlashLike, 0x5A, 0x5A, true, 0x5A},
        {"bits cleared only", Rewrite::FlashLike, 0x5A, 0x42, true, 0x42},
        {"a bit to set: programmed, refused", Rewrite::FlashLike, 0x41, 0x42, false, 0x40},
        {"strict: the same byte", Rewrite::Strict, 0x5A, 0x5A, false, 0x5A},
        {"strict: bits cleared only", Rewrite::Strict, 0x5A, 0x42, false, 0x5A},
    };
    for (const auto& c : cases) {
        quillon_sim::LoaderMemory memory(c.rewrite);
        const std::uint8_t first[2] = {0x11, c.first};
        const std::uint8_t second[1] = {c.second};
        ASSERT_TRUE(memory.Write(0x0100, first, 2)) << c.what;
        EXPECT_EQ(memory.Write(0x0101, second, 1), c.accepted) << c.what;
        EXPECT_EQ(memory.At(0x0101), c.holds) << c.what;
        EXPECT_EQ(memory.At(0x0100), 0x11) << c.what;
        memory.Erase();
        EXPECT_TRUE(memory.Write(0x0101, second, 1)) << c.what << ": after an erase";
    }
}

}  // namespace
