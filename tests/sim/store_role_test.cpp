// The store role against zonesend's own port layer: the Part's bytes, the report of an upload,
// and every fault the simulator injects.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>

#include "SimHarness.h"
#include "seriallink/AirspacePort.h"

#include <fstream>

#include "airspace/AirspaceFile.h"

namespace quillon_sim::testing {
namespace {

namespace ap = seriallink::airspaceport;
using namespace std::chrono_literals;
using Buffer = std::array<std::uint8_t, 20>;

constexpr std::size_t kCapacity = 20;

// A tiny airspace: start point, one step north, one step back south-east with the last-point
// and last-airspace flags. Exactly one block.
constexpr std::array<std::uint8_t, 14> kTriangle = {0x00, 0x00, 0x64, 0x00, 0x00, 0x64, 0x00,
                                                    0x64, 0x00, 0x00, 0xDF, 0x9C, 0x00, 0x64};

unsigned Query(Buffer& buffer) {
    buffer = {'n'};
    return ap::Exchange(buffer.data(), kCapacity, 1, 1, true, true);
}

unsigned SendBlock(std::uint8_t number, std::span<const std::uint8_t> data, Buffer& buffer) {
    buffer = {0x4E, number};
    std::copy(data.begin(), data.end(), buffer.begin() + 2);
    return ap::Exchange(buffer.data(), kCapacity, 16, 1, true, false);
}

class StoreRoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ap::SetBackendFactory({});
        ap::SetBaudRate(ap::kDefaultBaudRate);
    }
    void TearDown() override { ap::Close(); }

    [[nodiscard]] bool StartAndOpen(std::vector<std::string> args) {
        return sim_.Start(std::move(args)) && ap::Open("COM3");
    }

    SimHarness sim_;
    Buffer buffer_{};
};

TEST_F(StoreRoleTest, UploadIsAnsweredAndReported) {
    ASSERT_TRUE(StartAndOpen({"--role", "store"}));
    ASSERT_EQ(Query(buffer_), 0u);
    EXPECT_EQ(buffer_[0], 228);
    const std::array<std::uint8_t, 14> zeros{};
    ASSERT_EQ(SendBlock(0x00, zeros, buffer_), 0u);
    EXPECT_EQ(buffer_[0], 0x51);
    ASSERT_EQ(SendBlock(0xF7, kTriangle, buffer_), 0u);
    EXPECT_EQ(buffer_[0], 0x51);
    sim_.Stop();

    const std::string log = sim_.Log();
    EXPECT_NE(log.find("PC  > 40 6E 2E"), std::string::npos) << log;
    EXPECT_NE(log.find("SIM > 40 E4 A4  free blocks: 228"), std::string::npos) << log;
    EXPECT_NE(log.find("PC  > 40 4E 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 0E"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("SIM > 51  block F7 accepted"), std::string::npos) << log;
    const std::string report = sim_.Report();
    EXPECT_NE(report.find("upload 1: 2 block(s), 28 bytes"), std::string::npos) << report;
}

TEST_F(StoreRoleTest, ReportDecodesTheAirspaces) {
    ASSERT_TRUE(StartAndOpen({"--role", "store", "--free", "100", "--dump"}));
    ASSERT_EQ(Query(buffer_), 0u);
    EXPECT_EQ(buffer_[0], 100);
    ASSERT_EQ(SendBlock(0xF7, kTriangle, buffer_), 0u);
    sim_.Stop();
    const std::string report = sim_.Report();
    EXPECT_NE(report.find("upload 1: 1 block(s), 14 bytes"), std::string::npos) << report;
    EXPECT_NE(report.find("bytes: 00 00 64 00 00 64 00 64 00 00 DF 9C 00 64"), std::string::npos)
        << report;
    EXPECT_NE(report.find("1 airspace(s), 14 bytes of airspace data"), std::string::npos) << report;
    EXPECT_NE(report.find("2 delta point(s)"), std::string::npos) << report;
}

TEST_F(StoreRoleTest, ReportNamesAirspacesFromTheOpenAirFile) {
    const std::string openAir = sim_.dir().Entry("zones.txt");
    std::ofstream(openAir) << "AC R\nAN Circle-Test\nAL GND\nAH 2000ft\n"
                              "V X=46:37:00 N 007:39:08 E\nDC 2\n"
                              "AC Q\nAN Polygon-Test\nAL GND\nAH FL100\n"
                              "DP 46:50:00 N 007:10:00 E\nDP 46:55:00 N 007:10:00 E\n"
                              "DP 46:55:00 N 007:20:00 E\n";
    const airspace::LoadResult loaded = airspace::loadAirspaceFile(openAir);
    ASSERT_EQ(loaded.records.size(), 2u);
    std::vector<std::uint8_t> image = loaded.records[0].encodedBytes(false);
    const std::vector<std::uint8_t> last = loaded.records[1].encodedBytes(true);
    image.insert(image.end(), last.begin(), last.end());
    image.resize((image.size() + 13) / 14 * 14, 0);

    ASSERT_TRUE(StartAndOpen({"--role", "store", "--names", openAir}));
    const std::size_t blocks = image.size() / 14;
    for (std::size_t k = 0; k < blocks; ++k) {
        const std::uint8_t number = k + 1 == blocks ? 0xF7 : static_cast<std::uint8_t>(k);
        ASSERT_EQ(SendBlock(number, std::span(image).subspan(14 * k, 14), buffer_), 0u);
        ASSERT_EQ(buffer_[0], 0x51);
    }
    sim_.Stop();
    const std::string report = sim_.Report();
    EXPECT_NE(report.find("circle, 17 outline point(s): R Circle-Test"), std::string::npos)
        << report;
    EXPECT_NE(report.find("last: Q Polygon-Test"), std::string::npos) << report;
    EXPECT_NE(report.find("2 airspace(s)"), std::string::npos) << report;
}

TEST_F(StoreRoleTest, BadFramesAreNotAccepted) {
    ASSERT_TRUE(StartAndOpen({"--role", "store"}));
    // A block whose checksum is wrong: sent unframed, with the frame written by hand.
    Buffer raw{0x40, 0x4E, 0xF7};
    raw[17] = 0x00;  // should be F9
    EXPECT_EQ(ap::Exchange(raw.data(), kCapacity, 18, 1, false, false), 0u);
    EXPECT_EQ(raw[0], 0x4E);
    // A query with a wrong checksum gets no answer at all.
    raw = {0x40, 0x6E, 0x2F};
    EXPECT_EQ(ap::Exchange(raw.data(), kCapacity, 3, 3, false, false), 6u);
    // Noise before a frame is skipped.
    raw = {0x00, 0x13, 0x40, 0x6E, 0x2E};
    EXPECT_EQ(ap::Exchange(raw.data(), kCapacity, 5, 3, false, false), 0u);
    EXPECT_EQ(raw[1], 228);
}

TEST_F(StoreRoleTest, IncompleteFrameIsDroppedAfterAPause) {
    ASSERT_TRUE(StartAndOpen({"--role", "store"}));
    Buffer raw{0x40, 0x4E, 0x00};
    EXPECT_EQ(ap::Exchange(raw.data(), kCapacity, 3, 1, false, false), 6u);
    ASSERT_EQ(Query(buffer_), 0u);  // the 100 ms of the first exchange cleared the store's input
    EXPECT_EQ(buffer_[0], 228);
    EXPECT_NE(sim_.Log().find("incomplete frame dropped: 40 4E 00"), std::string::npos);
}

TEST_F(StoreRoleTest, ClientAtAnotherRateIsIgnored) {
    ASSERT_TRUE(sim_.Start({"--role", "store"}));
    ap::SetBaudRate(9600);
    ASSERT_TRUE(ap::Open("COM3"));
    EXPECT_EQ(Query(buffer_), 6u);
    EXPECT_NE(sim_.Log().find("ignored: sent at 9600 baud, listening at 57600"), std::string::npos);
}

TEST_F(StoreRoleTest, BaudZeroListensAtAnyRate) {
    ASSERT_TRUE(sim_.Start({"--role", "store", "--baud", "0"}));
    ap::SetBaudRate(19200);
    ASSERT_TRUE(ap::Open("COM3"));
    EXPECT_EQ(Query(buffer_), 0u);
}

// One fault per case: the options, and the result codes of a query, a block 0, a block 1 and
// its two retries, as the upload would see them.
struct FaultCase {
    const char* what;
    std::vector<std::string> options;
    std::vector<unsigned> results;  // query, block 0, block 1, block 1, block 1
    std::vector<int> replies;       // reply byte of each exchange with result 0, -1 otherwise
};

TEST_F(StoreRoleTest, InjectedFaults) {
    const FaultCase cases[] = {
        {"none", {}, {0, 0, 0, 0, 0}, {228, 0x51, 0x51, 0x51, 0x51}},
        {"refuse block 1 twice",
         {"--refuse", "1:2"},
         {0, 0, 0, 0, 0},
         {228, 0x51, 0x4E, 0x4E, 0x51}},
        {"silent", {"--silent"}, {6, 6, 6, 6, 6}, {-1, -1, -1, -1, -1}},
        {"silent first two", {"--silent-first", "2"}, {6, 6, 0, 0, 0}, {-1, -1, 0x51, 0x51, 0x51}},
        {"garbage", {"--garbage"}, {2, 0, 0, 0, 0}, {-1, 0xAE, 0xAE, 0xAE, 0xAE}},
        {"garbage first", {"--garbage-first", "1"}, {2, 0, 0, 0, 0}, {-1, 0x51, 0x51, 0x51, 0x51}},
    };
    const std::array<std::uint8_t, 14> zeros{};
    std::uint32_t com = 3;
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.what);
        SimHarness sim;
        std::vector<std::string> args{"--role", "store"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_TRUE(sim.Start(args, ++com));
        ASSERT_TRUE(ap::Open("COM" + std::to_string(com)));
        std::vector<unsigned> results;
        std::vector<int> replies;
        auto note = [&](unsigned result) {
            results.push_back(result);
            replies.push_back(result == 0 ? buffer_[0] : -1);
        };
        note(Query(buffer_));
        note(SendBlock(0x00, zeros, buffer_));
        for (int i = 0; i < 3; ++i) note(SendBlock(0x01, zeros, buffer_));
        EXPECT_EQ(results, c.results);
        EXPECT_EQ(replies, c.replies);
        ap::Close();
    }
}

TEST_F(StoreRoleTest, EachUploadIsReportedOnceAndAlone) {
    // The answer to the first closing block is lost, so the PC sends it again; then the PC
    // gives up on an upload at block 2 and uploads a single block.
    ASSERT_TRUE(StartAndOpen({"--role", "store", "--silent-first", "1", "--refuse", "2:3"}));
    ASSERT_EQ(SendBlock(0xF7, kTriangle, buffer_), 6u);
    ASSERT_EQ(SendBlock(0xF7, kTriangle, buffer_), 0u);
    EXPECT_EQ(buffer_[0], 0x51);

    const std::array<std::uint8_t, 14> zeros{};
    ASSERT_EQ(Query(buffer_), 0u);
    ASSERT_EQ(SendBlock(0x00, zeros, buffer_), 0u);
    ASSERT_EQ(SendBlock(0x01, zeros, buffer_), 0u);
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_EQ(SendBlock(0x02, zeros, buffer_), 0u);
        EXPECT_EQ(buffer_[0], 0x4E);
    }
    ASSERT_EQ(Query(buffer_), 0u);
    ASSERT_EQ(SendBlock(0xF7, kTriangle, buffer_), 0u);
    EXPECT_EQ(buffer_[0], 0x51);
    sim_.Stop();

    const std::string report = sim_.Report();
    EXPECT_NE(report.find("upload 1: 1 block(s), 14 bytes"), std::string::npos) << report;
    EXPECT_NE(report.find("upload 2: 1 block(s), 14 bytes"), std::string::npos) << report;
    EXPECT_EQ(report.find("upload 3"), std::string::npos) << report;
    EXPECT_NE(sim_.Log().find("block F7 accepted again"), std::string::npos);
}

TEST_F(StoreRoleTest, DroppedAnswersFollowTheSeed) {
    auto pattern = [&](const std::string& seed, std::uint32_t com) {
        SimHarness sim;
        EXPECT_TRUE(sim.Start({"--role", "store", "--drop", "0.5", "--seed", seed}, com));
        EXPECT_TRUE(ap::Open("COM" + std::to_string(com)));
        std::string answered;
        for (int i = 0; i < 16; ++i) answered += Query(buffer_) == 0 ? 'A' : '-';
        ap::Close();
        return answered;
    };
    const std::string first = pattern("7", 11);
    EXPECT_EQ(pattern("7", 12), first);
    const auto answered = std::count(first.begin(), first.end(), 'A');
    EXPECT_GT(answered, 1) << first;
    EXPECT_LT(answered, 15) << first;
}

TEST_F(StoreRoleTest, VanishAfterTwoBlocksPullsThePort) {
    ASSERT_TRUE(StartAndOpen({"--role", "store", "--vanish-after", "2"}));
    const std::array<std::uint8_t, 14> zeros{};
    ASSERT_EQ(SendBlock(0x00, zeros, buffer_), 0u);
    ASSERT_EQ(SendBlock(0x01, zeros, buffer_), 0u);
    EXPECT_EQ(buffer_[0], 0x51);
    const unsigned result = SendBlock(0x02, zeros, buffer_);
    EXPECT_TRUE(result == 4u || result == 5u) << result;
    struct stat st {};
    EXPECT_NE(::lstat(sim_.dir().Entry("COM3").c_str(), &st), 0);
    ap::Close();
    EXPECT_FALSE(ap::Open("COM3"));
    sim_.Stop();
    EXPECT_TRUE(sim_.sim().Vanished());
}

TEST_F(StoreRoleTest, PacingTakesTheWireTime) {
    // A block at 9600 baud: 18 bytes there and 1 back, 10 bits each: 19.8 ms on a wire.
    const std::array<std::uint8_t, 14> zeros{};
    ap::SetBaudRate(9600);
    {
        SimHarness sim;
        ASSERT_TRUE(sim.Start({"--role", "store", "--baud", "9600", "--pace"}, 21));
        ASSERT_TRUE(ap::Open("COM21"));
        const double ms = seriallink::testing::MillisecondsOf(
            [&] { EXPECT_EQ(SendBlock(0x00, zeros, buffer_), 0u); });
        EXPECT_GE(ms, 19.5);
        EXPECT_LE(ms, 40.0);
        ap::Close();
    }
    SimHarness sim;
    ASSERT_TRUE(sim.Start({"--role", "store", "--baud", "9600"}, 22));
    ASSERT_TRUE(ap::Open("COM22"));
    const double ms = seriallink::testing::MillisecondsOf(
        [&] { EXPECT_EQ(SendBlock(0x00, zeros, buffer_), 0u); });
    EXPECT_LT(ms, 15.0);
}

}  // namespace
}  // namespace quillon_sim::testing
