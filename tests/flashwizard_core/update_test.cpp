// The whole update against the loader simulator over a pseudo-terminal, with timings of a
// twentieth (and one case with the real ones).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "flashwizard/core/DeviceSearch.h"
#include "flashwizard/core/UpdateSequence.h"
#include "flashwizard/core/WizardStrings.h"
#include "seriallink/HexFile.h"
#include "seriallink/SerialPort.h"
#include "seriallink/testing/FakeBackend.h"
#include "seriallink/testing/Recorders.h"
#include "tests/flashwizard_core/SimHarness.h"

namespace {

using fwtest::LoaderSim;
using fwtest::RecordingReport;

// Port, link state and recorders of one wizard run against one simulator.
struct WizardRun {
    LoaderSim sim;
    seriallink::SerialPort port;
    flashwizard::LinkState link;
    RecordingReport report;
    flashwizard::LoaderTiming timing = fwtest::FastTiming();
    std::vector<std::string> lines;

    explicit WizardRun(const std::vector<std::string>& simArgs,
                       const std::string& file = fwtest::SamplePath("demo-firmware.hex"))
        : sim(simArgs) {
        EXPECT_TRUE(sim.started()) << sim.error();
        EXPECT_TRUE(seriallink::LoadHexFile(file, lines));
    }
    bool Search() {
        fwtest::RecordingStatusLine status;
        seriallink::testing::MessageRecorder messages;
        bool searchFailed = true;
        flashwizard::DeviceSearch search(port, link, status, &messages, timing);
        return search.Run(LoaderSim::kPortName, searchFailed) == flashwizard::SearchOutcome::Found;
    }
    bool Update() {
        flashwizard::UpdateSequence sequence(port, link, lines, report, timing);
        return sequence.Run();
    }
    // The simulator's report after it has ended (so that its image file is complete).
    std::vector<std::string> SimReport() {
        sim.Stop();
        return sim.ReportLines();
    }
};

int CountStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Whether `wanted` appears in `all` in this order (other entries may lie between).
bool InOrder(const std::vector<std::string>& all, const std::vector<std::string>& wanted) {
    auto at = all.begin();
    for (const std::string& w : wanted) {
        at = std::find(at, all.end(), w);
        if (at == all.end()) return false;
        ++at;
    }
    return true;
}

TEST(UpdateAgainstSimulator, Model832FullUpdateAtTheFastRate) {
    WizardRun run({});
    ASSERT_TRUE(run.Search());
    EXPECT_EQ(run.link.chipModel, 832u);
    EXPECT_TRUE(run.link.chipKnown);
    ASSERT_TRUE(run.Update());

    const int total = static_cast<int>(run.lines.size());
    EXPECT_EQ(run.report.Statuses(),
              (std::vector<std::string>{"158", "167", "160", "162", "169", "171", "175"}));
    EXPECT_TRUE(InOrder(run.report.calls,
                        {"enableNext 0", "enableBack 0", "progress 0 " + std::to_string(total),
                         "done", "status 175", "message 175", "next 176", "enableNext 1"}));
    EXPECT_FALSE(run.report.Has("enableBack 1"));
    EXPECT_EQ(run.report.counterTexts.back(), std::to_string(total) + "/" + std::to_string(total));
    EXPECT_FALSE(run.port.IsOpen());
    EXPECT_FALSE(run.link.fastRate);

    const auto simReport = run.SimReport();
    const int records = total - 1;
    EXPECT_EQ(CountStarting(simReport, "write record"), records);
    EXPECT_EQ(std::count_if(simReport.begin(), simReport.end(),
                            [](const std::string& l) {
                                return l.rfind("write record", 0) == 0 &&
                                       l.find("(115200 baud)") != std::string::npos;
                            }),
              records);
    EXPECT_TRUE(InOrder(simReport, {"identify 832 at 9600", "identify 832 at 9600",
                                    "rate 115200 (82 09) (9600 baud)", "erase (115200 baud)",
                                    "rate 9600 (85 2D) (115200 baud)", "start (9600 baud)"}));
    EXPECT_FALSE(HasLine(simReport, "deactivate (115200 baud)"));
    EXPECT_EQ(fwtest::HexData(run.sim.ImageLines()), fwtest::HexData(run.lines));
}

TEST(UpdateAgainstSimulator, Model831UsesItsOwnRatePackets) {
    WizardRun run({"--model", "831"});
    ASSERT_TRUE(run.Search());
    ASSERT_TRUE(run.Update());
    const auto simReport = run.SimReport();
    EXPECT_TRUE(InOrder(simReport, {"rate 115200 (81 20) (9600 baud)", "erase (115200 baud)",
                                    "rate 9600 (85 08) (115200 baud)", "start (9600 baud)"}));
    EXPECT_EQ(CountStarting(simReport, "deactivate"), 0);
    EXPECT_EQ(fwtest::HexData(run.sim.ImageLines()), fwtest::HexData(run.lines));
}

TEST(UpdateAgainstSimulator, UnknownModelStaysAtNineThousandSixHundred) {
    WizardRun run({"--model", "812"});
    ASSERT_TRUE(run.Search());
    EXPECT_EQ(run.link.chipModel, 812u);
    EXPECT_FALSE(run.link.chipKnown);
    ASSERT_TRUE(run.Update());
    EXPECT_EQ(run.report.Statuses(), (std::vector<std::string>{"158", "160", "162", "171", "175"}));
    const auto simReport = run.SimReport();
    EXPECT_EQ(CountStarting(simReport, "rate"), 0);
    for (const std::string& line : simReport) {
        if (line.rfind("identify", 0) == 0) continue;
        EXPECT_NE(line.find("(9600 baud)"), std::string::npos) << line;
    }
    EXPECT_EQ(fwtest::HexData(run.sim.ImageLines()), fwtest::HexData(run.lines));
}

TEST(UpdateAgainstSimulator, RefusedRecords) {
    const struct {
        const char* refuse;
        std::vector<std::string> statuses;  // in this order, others between
        int erases;
        const char* progressAfterRepeat;  // the counter goes on with the next line
    } cases[] = {
        // Refused once: the repetition is shown, then the step's text again.
        {"4:1", {"162", "164 2 4", "162", "169"}, 1, "progress 5 0"},
        // Accepted at the sixth attempt: the download goes on.
        {"2:5", {"162", "164 2 2", "164 6 2", "162", "169"}, 1, "progress 3 0"},
        // Refused six times: the pass ends, the second one writes everything again.
        {"4:6",
         {"162", "164 6 4", "158", "167", "160", "163 2", "169", "171", "175"},
         2,
         "progress 1 0"},
    };
    for (const auto& c : cases) {
        WizardRun run({"--refuse", c.refuse});
        ASSERT_TRUE(run.Search()) << c.refuse;
        EXPECT_TRUE(run.Update()) << c.refuse;
        EXPECT_TRUE(InOrder(run.report.Statuses(), c.statuses)) << c.refuse;
        const auto& calls = run.report.calls;
        const auto repeat = std::find(calls.begin(), calls.end(),
                                      "status " + c.statuses[1]);  // the first repetition
        EXPECT_TRUE(std::find(repeat, calls.end(), c.progressAfterRepeat) != calls.end())
            << c.refuse;
        const auto simReport = run.SimReport();
        EXPECT_EQ(CountStarting(simReport, "erase"), c.erases) << c.refuse;
        EXPECT_EQ(fwtest::HexData(run.sim.ImageLines()), fwtest::HexData(run.lines)) << c.refuse;
    }
}

TEST(UpdateAgainstSimulator, SixFailedPassesThenARepeatSucceeds) {
    // Record 4 refused in every attempt of all six passes; the seventh pass finds it accepted.
    WizardRun run({"--refuse", "4:36"});
    ASSERT_TRUE(run.Search());
    EXPECT_FALSE(run.Update());
    const auto statuses = run.report.Statuses();
    EXPECT_EQ(statuses.back(), "165");
    EXPECT_TRUE(InOrder(statuses, {"163 2", "163 3", "163 4", "163 5", "163 6", "165"}));
    EXPECT_TRUE(InOrder(run.report.calls,
                        {"status 165", "error 166", "next 177", "enableNext 1", "enableBack 1"}));
    EXPECT_FALSE(run.report.Has("done"));
    EXPECT_TRUE(run.port.IsOpen());
    // The failed passes ended inside the fast download.
    EXPECT_TRUE(run.link.fastRate);

    RecordingReport again;
    flashwizard::UpdateSequence repeat(run.port, run.link, run.lines, again, run.timing);
    EXPECT_TRUE(repeat.Run());
    EXPECT_EQ(again.Statuses().front(), "158");
    EXPECT_TRUE(again.Has("next 176"));
    EXPECT_EQ(CountStarting(run.SimReport(), "erase"), 7);
    EXPECT_EQ(fwtest::HexData(run.sim.ImageLines()), fwtest::HexData(run.lines));
}

// A short USB drop-out in the middle of the download: the port vanishes after the fifth record
// and is back under its name a moment later, after the first reopen (in the next pass's reset)
// has failed. That failure keeps the name, a later attempt finds the port again, and the update
// ends with every record written.
TEST(UpdateAgainstSimulator, CablePulledAndPluggedInAgain) {
    WizardRun run({"--vanish-after", "5", "--return-after", "400"});
    ASSERT_TRUE(run.Search());
    ASSERT_TRUE(run.Update());
    EXPECT_TRUE(run.report.Has("next 176"));
    EXPECT_EQ(run.port.PortName(), "");  // closed at the end as after every success
    EXPECT_TRUE(run.sim.Vanished());
    EXPECT_EQ(fwtest::HexData(run.sim.ImageLines()), fwtest::HexData(run.lines));
}

TEST(UpdateAgainstSimulator, FileWithOnlyTheEndRecord) {
    const std::string file = fwtest::WriteTempFile("end-only.hex", ":00000001FF\r\n");
    WizardRun run({}, file);
    ASSERT_EQ(run.lines.size(), 1u);
    ASSERT_TRUE(run.Search());
    ASSERT_TRUE(run.Update());
    EXPECT_TRUE(InOrder(run.report.calls, {"progress 0 1", "status 160", "status 162",
                                           "progress 1 0", "status 171"}));
    EXPECT_TRUE(std::find(run.report.counterTexts.begin(), run.report.counterTexts.end(), "1/1") !=
                run.report.counterTexts.end());
    const auto simReport = run.SimReport();
    EXPECT_EQ(CountStarting(simReport, "write"), 0);
    EXPECT_EQ(CountStarting(simReport, "erase"), 1);
    EXPECT_EQ(run.sim.ImageLines(), std::vector<std::string>{":00000001FF"});
}

// Two programs on one port: a second one trying to open it again and again while the first
// updates (from the fast-mode switch, a reopen, to the end of the slow-mode one, another) is
// always refused and disturbs nothing.
TEST(UpdateAgainstSimulator, ASecondProgramNeverGetsThePortDuringAnUpdate) {
    WizardRun run({});
    std::atomic<bool> hammering{false};
    std::atomic<bool> done{false};
    std::atomic<int> refused{0};
    std::atomic<int> intrusions{0};
    std::thread second([&] {
        seriallink::SerialPort other;
        while (!done) {
            // A breath between tries, so that the simulator is not starved of processor on a
            // loaded machine (at 50 us a CI run beside the sanitizer build once lost the update).
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            if (!hammering) continue;
            if (other.Open(LoaderSim::kPortName, 9600)) {
                // Counted only while the update still runs: this thread may have been held up
                // between the check above and the open until after the update's end.
                if (hammering) ++intrusions;
                (void)other.Close();
            } else {
                ++refused;
            }
        }
    });
    struct Watching : RecordingReport {
        std::atomic<bool>* hammering = nullptr;
        void SetStatus(unsigned id, const std::vector<int>& numbers) override {
            RecordingReport::SetStatus(id, numbers);
            if (id == flashwizard::kStrFastFirst) *hammering = true;
            if (id == flashwizard::kStrStartFirst) *hammering = false;
        }
    } report;
    report.hammering = &hammering;
    ASSERT_TRUE(run.Search());
    flashwizard::UpdateSequence sequence(run.port, run.link, run.lines, report, run.timing);
    const bool updated = sequence.Run();
    done = true;
    second.join();
    EXPECT_TRUE(updated);
    EXPECT_EQ(intrusions, 0);
    EXPECT_GT(refused, 100) << "refused " << refused;
    EXPECT_EQ(fwtest::HexData(run.sim.ImageLines()), fwtest::HexData(run.lines));
}

TEST(UpdateAgainstSimulator, RealTimingsForAShortFile) {
    const std::string file =
        fwtest::WriteTempFile("short.hex", ":02001000C0DE50\r\n:0100000041BE\r\n:00000001FF\r\n");
    WizardRun run({}, file);
    run.timing = flashwizard::LoaderTiming{};
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(run.Search());
    ASSERT_TRUE(run.Update());
    const auto took = std::chrono::steady_clock::now() - begin;
    // Two identifications ending in 500 ms of silence each, two reopens of 1000 ms.
    EXPECT_GE(took, std::chrono::milliseconds(3000));
    EXPECT_LT(took, std::chrono::milliseconds(6000));
    EXPECT_EQ(fwtest::HexData(run.sim.ImageLines()), fwtest::HexData(run.lines));
}

// The loader refuses one packet always; everything else is acknowledged. On an in-memory line,
// so that any command can be made to fail.
struct ScriptedLoader {
    seriallink::testing::FakeLine line;
    seriallink::SerialPort port{line.MakeBackend()};
    flashwizard::LinkState link;
    flashwizard::LoaderTiming timing;

    ScriptedLoader(const std::string& identReply, const std::string& refused) {
        line.onWrite = [identReply, refused](const std::string& sent,
                                             seriallink::testing::FakeLine& l) {
            if (sent == flashwizard::IdentificationRequest()) {
                l.Feed(identReply);
            } else {
                l.Feed(sent == refused ? "\x07" : "\x06");
            }
        };
        EXPECT_TRUE(port.Open("COM2", 9600));
    }
};

std::string IdentReply(const std::string& digits) {
    std::string r = "ADI 8" + digits + "   V2.1\r\n";
    r.resize(24, '\0');
    unsigned sum = 0;
    for (unsigned char b : r) sum += b;
    r.push_back(static_cast<char>((0x100 - sum % 0x100) % 0x100));
    return r;
}

TEST(UpdateSequenceSteps, SlowModeRefusedSixTimesDeactivatesTheLoader) {
    const flashwizard::Bytes slow831 = flashwizard::RatePacket({0x85, 0x08});
    ScriptedLoader loader(IdentReply("31"), slow831);
    const std::vector<std::string> lines = {":0100000041BE", ":00000001FF"};
    RecordingReport report;
    flashwizard::UpdateSequence sequence(loader.port, loader.link, lines, report, loader.timing);
    EXPECT_TRUE(sequence.Run());
    EXPECT_EQ(report.Statuses(),
              (std::vector<std::string>{"158", "167", "160", "162", "169", "170 2", "170 3",
                                        "170 4", "170 5", "170 6", "173", "171", "175"}));
    // Deactivation and start still went at 115200, and the step pauses were the real 500 ms.
    const std::string& w = loader.line.written;
    EXPECT_NE(w.find(flashwizard::DisablePacket()), std::string::npos);
    EXPECT_EQ(w.substr(w.size() - flashwizard::RunPacket().size()), flashwizard::RunPacket());
    EXPECT_EQ(std::count(loader.line.sleeps.begin(), loader.line.sleeps.end(),
                         std::chrono::milliseconds(500)),
              6);
}

TEST(UpdateSequenceSteps, FastModeRefusedGoesOnAtNineThousandSixHundred) {
    ScriptedLoader loader(IdentReply("32"), flashwizard::RatePacket({0x82, 0x09}));
    const std::vector<std::string> lines = {":0100000041BE", ":00000001FF"};
    RecordingReport report;
    flashwizard::UpdateSequence sequence(loader.port, loader.link, lines, report, loader.timing);
    EXPECT_TRUE(sequence.Run());
    EXPECT_EQ(report.Statuses(),
              (std::vector<std::string>{"158", "167", "168 2", "168 3", "168 4", "168 5", "168 6",
                                        "160", "162", "171", "175"}));
    EXPECT_FALSE(loader.link.chipKnown);
    EXPECT_EQ(loader.line.line.baudRate, 9600u);
}

TEST(UpdateSequenceSteps, ResetAnsweredOnlyAtTheSixthAttemptOfTheSixthPass) {
    ScriptedLoader loader(IdentReply("12"), "");
    // Silent for the 35 identifications of five failed passes and five failed attempts.
    int identifications = 0;
    const std::string reply = IdentReply("12");
    loader.line.onWrite = [&](const std::string& sent, seriallink::testing::FakeLine& l) {
        if (sent == flashwizard::IdentificationRequest()) {
            if (++identifications == 36) l.Feed(reply);
        } else {
            l.Feed("\x06");
        }
    };
    const std::vector<std::string> lines = {":0100000041BE", ":00000001FF"};
    RecordingReport report;
    flashwizard::UpdateSequence sequence(loader.port, loader.link, lines, report, loader.timing);
    EXPECT_TRUE(sequence.Run());
    EXPECT_EQ(identifications, 36);
    const std::vector<std::string> failedReset = {"158",   "159 2", "159 3",
                                                  "159 4", "159 5", "159 6"};
    std::vector<std::string> expected;
    // The sixth pass shows the same texts; its sixth attempt is answered.
    for (int pass = 1; pass <= 6; ++pass)
        expected.insert(expected.end(), failedReset.begin(), failedReset.end());
    for (const char* s : {"160", "163 6", "171", "175"}) expected.emplace_back(s);
    EXPECT_EQ(report.Statuses(), expected);
    EXPECT_TRUE(report.Has("next 176"));
    EXPECT_NE(loader.line.written.find(flashwizard::RunPacket()), std::string::npos);
}

TEST(UpdateSequenceSteps, EraseRefusedInEveryPassWaitsTwiceBeforeTheNextPass) {
    ScriptedLoader loader(IdentReply("12"), flashwizard::ErasePacket());
    const std::vector<std::string> lines = {":0100000041BE", ":00000001FF"};
    RecordingReport report;
    flashwizard::UpdateSequence sequence(loader.port, loader.link, lines, report, loader.timing);
    EXPECT_FALSE(sequence.Run());
    const std::vector<std::string> onePass = {"158",   "160",   "161 2", "161 3",
                                              "161 4", "161 5", "161 6"};
    std::vector<std::string> expected;
    for (int pass = 1; pass <= 6; ++pass)
        expected.insert(expected.end(), onePass.begin(), onePass.end());
    expected.emplace_back("165");
    EXPECT_EQ(report.Statuses(), expected);
    // Six pauses after the failed attempts and one before the next pass, in each of six passes.
    EXPECT_EQ(loader.line.sleeps,
              std::vector<std::chrono::milliseconds>(42, std::chrono::milliseconds(500)));
    EXPECT_TRUE(loader.port.IsOpen());
    EXPECT_EQ(
        loader.line.written.find(flashwizard::LoaderPacket('W', std::string("\0\0\0\x41", 4))),
        std::string::npos);
}

}  // namespace
