// The upload end to end: zonesend's upload class and `quillon send` against the airspace store
// of quillon-sim on a pseudo-terminal, with the bytes the store received and the time a silent
// store costs. `quillon preview` writes its picture.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/Selection.h"
#include "seriallink/AirspacePort.h"
#include "seriallink/testing/Recorders.h"
#include "tests/zonesend/ZonesendTestSupport.h"
#include "zonesend/AirspaceUpload.h"

namespace {

using airspace::AirspaceRecord;
using seriallink::testing::MessageRecorder;
using seriallink::testing::SleepRecordingBackend;
using zonesend::UploadOutcome;
using namespace std::chrono_literals;

struct RunResult {
    int status = -1;
    std::string output;
};

RunResult runCommand(const std::string& command) {
    RunResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) result.output += buffer;
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class WireTest : public ::testing::Test {
protected:
    zstest::StringsInstalled strings{seriallink::Language::English};
    MessageRecorder messages;
    std::vector<std::chrono::milliseconds> sleeps;  // the upload's pauses, recorded
    bool sending = false;
    std::vector<AirspaceRecord> records;

    void SetUp() override {
        records.emplace_back(zstest::triangleText("Alpha"));
        records.emplace_back(zstest::circleText("Bravo"));
        records.emplace_back(zstest::arcText("Charlie"));
        records.emplace_back(zstest::brokenText("Delta"));
    }
    void TearDown() override { seriallink::airspaceport::SetBackendFactory({}); }

    // The upload on the real port; its pauses are recorded and spent only when reallySleep.
    UploadOutcome send(const std::string& port, bool reallySleep = false) {
        seriallink::airspaceport::SetBackendFactory([this, reallySleep] {
            return std::make_unique<SleepRecordingBackend>(seriallink::MakePlatformBackend(),
                                                           sleeps, reallySleep);
        });
        zonesend::UploadSelection selection;
        for (const auto& record : records) selection.airspaces.push_back(&record);
        zonesend::AirspaceUpload upload(&messages, sending);
        return upload.run(selection, port, 57600);
    }
    [[nodiscard]] std::string lastText() const {
        return messages.shown.empty() ? "" : messages.shown.back().text;
    }
    // The frames the PC sent, as hex, from the store's exchange log.
    static std::vector<std::string> sentFrames(const zstest::StoreSim& sim) {
        std::vector<std::string> frames;
        for (const std::string& line : sim.logLines()) {
            const auto at = line.find("PC  > ");
            if (at != std::string::npos) frames.push_back(line.substr(at + 6));
        }
        return frames;
    }
};

TEST_F(WireTest, TheStoreReceivesTheSelectionBlockByBlock) {
    zstest::StoreSim sim;
    ASSERT_TRUE(sim.started()) << sim.error();
    EXPECT_EQ(send(zstest::StoreSim::kPortName), UploadOutcome::Succeeded);
    EXPECT_EQ(lastText(), "Download succeded");
    sim.stop();

    std::vector<std::uint8_t> expected = records[0].encodedBytes(false);
    for (auto b : records[1].encodedBytes(false)) expected.push_back(b);
    for (auto b : records[2].encodedBytes(true)) expected.push_back(b);  // the flag stays here
    expected.resize(56, 0);
    EXPECT_EQ(zstest::hex(sim.receivedBytes()), zstest::hex(expected));

    const std::vector<std::string> frames = sentFrames(sim);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[0], "40 6E 2E");
    EXPECT_EQ(frames[1].substr(0, 9), "40 4E 00 ");
    EXPECT_EQ(frames[2].substr(0, 9), "40 4E 01 ");
    EXPECT_EQ(frames[3].substr(0, 9), "40 4E 02 ");
    // 43 bytes: the last block holds one byte of data and 13 of padding.
    EXPECT_EQ(frames[4].substr(0, 9), "40 4E F7 ");
    EXPECT_EQ(frames[4].size(), 18u * 3 - 1);

    const std::vector<std::string> report = sim.reportLines();
    std::string all;
    for (const auto& line : report) all += line + "\n";
    EXPECT_NE(all.find("upload 1: 4 block(s), 56 bytes"), std::string::npos) << all;
    EXPECT_NE(all.find("3 airspace(s), 43 bytes of airspace data, 13 bytes of padding"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("airspace 3: 21 bytes at 22"), std::string::npos) << all;
    EXPECT_NE(all.find(", last"), std::string::npos) << all;
}

TEST_F(WireTest, AFullStoreGetsNoBlock) {
    zstest::StoreSim sim({"--free", "3"});
    ASSERT_TRUE(sim.started()) << sim.error();
    EXPECT_EQ(send(zstest::StoreSim::kPortName), UploadOutcome::NotEnoughSpace);
    EXPECT_EQ(lastText(), "Not enough free space.  43 bytes required but only  42 bytes free.");
    sim.stop();
    EXPECT_EQ(sentFrames(sim), std::vector<std::string>{"40 6E 2E"});
}

TEST_F(WireTest, RefusalsAreRetriedAtOnce) {
    {
        zstest::StoreSim sim({"--refuse", "1:2"});
        ASSERT_TRUE(sim.started()) << sim.error();
        EXPECT_EQ(send(zstest::StoreSim::kPortName), UploadOutcome::Succeeded);
        EXPECT_TRUE(sleeps.empty());
        sim.stop();
        const auto frames = sentFrames(sim);
        ASSERT_EQ(frames.size(), 7u);
        EXPECT_EQ(frames[2], frames[3]);
        EXPECT_EQ(frames[3], frames[4]);
    }
    {
        zstest::StoreSim sim({"--refuse", "0:3"});
        ASSERT_TRUE(sim.started()) << sim.error();
        EXPECT_EQ(send(zstest::StoreSim::kPortName), UploadOutcome::NoResponse);
        EXPECT_EQ(lastText(), "No responce from Quillon");
        EXPECT_TRUE(sleeps.empty());
    }
}

TEST_F(WireTest, SilenceIsRetriedAfterAPause) {
    zstest::StoreSim sim({"--silent-first", "2"});
    ASSERT_TRUE(sim.started()) << sim.error();
    EXPECT_EQ(send(zstest::StoreSim::kPortName), UploadOutcome::Succeeded);
    EXPECT_EQ(sleeps, (std::vector<std::chrono::milliseconds>{100ms, 100ms}));
}

TEST_F(WireTest, ASilentStoreCostsThreeTimeoutsAndThreePauses) {
    zstest::StoreSim sim({"--silent"});
    ASSERT_TRUE(sim.started()) << sim.error();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(send(zstest::StoreSim::kPortName, true), UploadOutcome::NoResponse);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(lastText(), "No responce from Quillon");
    EXPECT_GE(elapsed, 600ms);
    EXPECT_LT(elapsed, 900ms);
}

TEST_F(WireTest, OutcomesThatLeaveTheStoreUntouched) {
    zstest::StoreSim sim;
    ASSERT_TRUE(sim.started()) << sim.error();
    EXPECT_EQ(send("COM9"), UploadOutcome::PortNotOpened);
    EXPECT_EQ(lastText(), "Can not open port");

    // Only airspaces without an encoding: nothing to send is no success.
    records.erase(records.begin(), records.begin() + 3);
    EXPECT_EQ(send(zstest::StoreSim::kPortName), UploadOutcome::NoData);
    EXPECT_EQ(lastText(), "The selected airspaces hold no outline data");

    records.clear();
    for (int i = 0; i < 229; ++i) records.emplace_back(zstest::triangleText("T", i));
    EXPECT_EQ(send(zstest::StoreSim::kPortName), UploadOutcome::TooLarge);
    EXPECT_EQ(messages.shown.size(), 3u);
    sim.stop();
    EXPECT_TRUE(sentFrames(sim).empty());
}

// `quillon send` reads zonesend's remembered rate; the store hears only its own rate.
TEST(QuillonSend, UsesTheRememberedRateAndReportsTheOutcome) {
    zstest::TempDir home;
    const std::string file =
        home.write("zones.txt", zstest::triangleText("Alpha") + zstest::circleText("Bravo"));
    zstest::StoreSim sim({"--baud", "115200"});
    ASSERT_TRUE(sim.started()) << sim.error();
    const std::string env = "LC_ALL=C LANG=C XDG_CONFIG_HOME=" + home.path() + " ";
    const std::string send = std::string(QUILLON_BINARY) + " send " + file + " --port COM5 ";

    RunResult unset = runCommand(env + send + "--all");
    EXPECT_EQ(unset.status, 1);
    EXPECT_EQ(unset.output, "No responce from Quillon\n");

    std::filesystem::create_directories(home.path() + "/Korvalis");
    std::ofstream(home.path() + "/Korvalis/zonesend.conf") << "[Settings]\nBaudrate=115200\n";
    RunResult remembered = runCommand(env + send + "--select 1,0");
    EXPECT_EQ(remembered.status, 0) << remembered.output;
    EXPECT_EQ(remembered.output, "Download succeded\n");

    RunResult german = runCommand("LC_ALL=de_DE.UTF-8 XDG_CONFIG_HOME=" + home.path() + " " + send +
                                  "--baud 115200 --select 0");
    EXPECT_EQ(german.status, 0);
    EXPECT_EQ(german.output, "Download erfolgreich abgeschlossen\n");

    RunResult usage = runCommand(env + send + "--select 7");
    EXPECT_EQ(usage.status, 2);
    RunResult missing = runCommand(env + std::string(QUILLON_BINARY) + " send " + home.path() +
                                   "/nothing.txt --port COM5 --all");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("nothing.txt"), std::string::npos);
}

// `quillon send` with the selection options: what reaches the store is what select chose, and
// a simplified outline goes out as its simplified bytes.
TEST(QuillonSend, SendsTheFittedSelectionAndSimplifiedOutlines) {
    zstest::TempDir home;
    std::string park = "AC R\nAN Park\nAL GND\nAH FL50\n";
    for (int i = 0; i < 400; ++i) {
        const double a = 2 * 3.141592653589793 * i / 400;
        char line[80];
        std::snprintf(line, sizeof line, "DP 46:%06.3fN 009:%06.3fE\n", 30 + 6 * std::cos(a),
                      30 + 9 * std::sin(a));
        park += line;
    }
    const std::string file = home.write(
        "zones.txt", zstest::triangleText("Alpha") + zstest::circleText("Bravo") +
                         zstest::arcText("Charlie") + zstest::triangleText("Delta", 40) + park);
    const auto records = airspace::loadAirspaceFile(file).records;
    ASSERT_EQ(records.size(), 5u);
    zstest::StoreSim sim;
    ASSERT_TRUE(sim.started()) << sim.error();
    // The store takes an upload just after its last answer, when quillon may have ended already.
    const auto upload = [&sim](const std::vector<std::uint8_t>& before) {
        for (int i = 0; i < 200 && sim.receivedBytes() == before; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return zstest::hex(sim.receivedBytes());
    };
    const std::string send = "LC_ALL=C XDG_CONFIG_HOME=" + home.path() + " " +
                             std::string(QUILLON_BINARY) + " send " + file + " --port COM5 ";

    // Alpha and Bravo both touch the point (a tie, in file order); Charlie is 45 km away.
    const RunResult fitted = runCommand(send + "--near 47.0,8.0 --radius 20km --fit 30");
    ASSERT_EQ(fitted.status, 0) << fitted.output;
    std::vector<std::uint8_t> expected = records[0].encodedBytes(false);
    for (const auto b : records[1].encodedBytes(true)) expected.push_back(b);
    expected.resize(28, 0);
    EXPECT_EQ(upload({}), zstest::hex(expected));
    const std::vector<std::uint8_t> first = sim.receivedBytes();

    const RunResult simplified = runCommand(send + "--select 4 --simplify 100m");
    ASSERT_EQ(simplified.status, 0) << simplified.output;
    const auto simple = airspace::simplifiedAirspace(records[4], 100.0);
    ASSERT_LT(simple.encodedSize() * 2, records[4].encodedSize());
    expected = simple.encodedBytes(true);
    expected.resize(airspace::blocksFor(expected.size()) * airspace::kDeviceBlockSize, 0);
    EXPECT_EQ(upload(first), zstest::hex(expected));

    EXPECT_EQ(runCommand(send + "--all --near 47,8").status, 2);
}

// Layers of one TMA share one outline: `quillon send --fit` puts it on the wire once, and what
// `encode` prints with the same options is exactly what `select` counts and what the store gets.
TEST(QuillonSend, SendsAnIdenticalOutlineOnceAndWhatSelectCounts) {
    zstest::TempDir home;
    const std::string file =
        home.write("layers.txt", zstest::squareText("TMA 1", "TMA", 2, "GND") +
                                     zstest::squareText("TMA 2", "TMA", 2, "FL65") +
                                     zstest::squareText("Range", "R", 10, "GND") +
                                     zstest::squareText("TMA 3", "TMA", 2, "FL95"));
    const auto records = airspace::loadAirspaceFile(file).records;
    ASSERT_EQ(records.size(), 4u);
    zstest::StoreSim sim;
    ASSERT_TRUE(sim.started()) << sim.error();
    const std::string quillon =
        "LC_ALL=C XDG_CONFIG_HOME=" + home.path() + " " + std::string(QUILLON_BINARY) + " ";
    auto uploadReported = [&](std::size_t n) { return sim.uploadReported(n); };
    std::size_t uploads = 0;
    auto stored = [&](std::size_t i) {  // as encode prints it: upper case, no blanks
        std::string text;
        for (const char c :
             zstest::hex({records[i].storedBytes().begin(), records[i].storedBytes().end()})) {
            if (c != ' ') text += c;
        }
        return text;
    };

    for (const std::string options :
         {" --near 46.0,7.0 --radius 50km --fit", " --near 46.0,7.0 --fit --simplify auto --clip",
          " --near 46.0,7.0 --radius 5km --fit --pin 2 --exclude 1"}) {
        const RunResult sent = runCommand(quillon + "send " + file + " --port COM5" + options);
        ASSERT_EQ(sent.status, 0) << options << "\n" << sent.output;
        ASSERT_TRUE(uploadReported(++uploads)) << options;
        std::vector<std::uint8_t> expected = records[0].encodedBytes(false);
        for (const auto b : records[2].encodedBytes(true)) expected.push_back(b);
        const std::size_t bytes = expected.size();
        expected.resize(airspace::blocksFor(bytes) * airspace::kDeviceBlockSize, 0);
        EXPECT_EQ(zstest::hex(sim.receivedBytes()), zstest::hex(expected)) << options;

        const RunResult selected = runCommand(quillon + "select --json " + file + options);
        ASSERT_EQ(selected.status, 0) << selected.output;
        EXPECT_NE(selected.output.find("\"bytes\":" + std::to_string(bytes) + ","),
                  std::string::npos)
            << options << "\n"
            << selected.output;
        const RunResult encoded = runCommand(quillon + "encode " + file + options);
        ASSERT_EQ(encoded.status, 0) << encoded.output;
        EXPECT_EQ(encoded.output, "0\t18\t" + stored(0) + "\n2\t18\t" + stored(2) + "\n")
            << options;
    }
}

TEST(QuillonPreview, WritesAPngOfTheRequestedSize) {
    zstest::TempDir dir;
    const std::string file = dir.write("zones.txt", zstest::arcText("Charlie"));
    const std::string png = dir.path() + "/out.png";
    RunResult run = runCommand(std::string(QUILLON_BINARY) + " preview " + file + " 0 -o " + png +
                               " --size 320x240");
    ASSERT_EQ(run.status, 0) << run.output;
    std::ifstream in(png, std::ios::binary);
    std::vector<unsigned char> head(24);
    in.read(reinterpret_cast<char*>(head.data()), 24);
    ASSERT_TRUE(in);
    EXPECT_EQ(head[1], 'P');
    const auto be32 = [&](int at) {
        return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3];
    };
    EXPECT_EQ(be32(16), 320);
    EXPECT_EQ(be32(20), 240);

    EXPECT_EQ(runCommand(std::string(QUILLON_BINARY) + " preview " + file + " 1 -o " + png).status,
              1);
    EXPECT_EQ(runCommand(std::string(QUILLON_BINARY) + " preview " + file + " x -o " + png).status,
              2);
}

TEST(QuillonMap, WritesAPngOfTheRequestedSize) {
    zstest::TempDir dir;
    const std::string file =
        dir.write("zones.txt", zstest::squareText("Alpha", "CTR", 5, "GND") +
                                   zstest::squareText("Bravo", "R", 40, "FL100"));
    const std::string png = dir.path() + "/map.png";
    RunResult run =
        runCommand(std::string(QUILLON_BINARY) + " map " + file +
                   " --near 46.0N,7.0E --radius 50km --fit -o " + png + " --size 640x480");
    ASSERT_EQ(run.status, 0) << run.output;
    std::ifstream in(png, std::ios::binary);
    std::vector<unsigned char> head(24);
    in.read(reinterpret_cast<char*>(head.data()), 24);
    ASSERT_TRUE(in);
    const auto be32 = [&](int at) {
        return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3];
    };
    EXPECT_EQ(be32(16), 640);
    EXPECT_EQ(be32(20), 480);
    EXPECT_NE(run.output.find("1 of 1 matching"), std::string::npos) << run.output;
    EXPECT_EQ(runCommand(std::string(QUILLON_BINARY) + " map " + file + " --near nowhere -o " + png)
                  .status,
              2);
}

}  // namespace
