// Every fault of quillon-sim against the upload (`send`) and the update (`flash`): each case
// ends in its message, is a success only when the instrument took all the data, and is followed
// by a repeat that leaves exactly the intended data. The waits are shortened through the
// injected timings. The table of cases and outcomes is printed. Last, a 1,300-record image at
// 1 % loss must reach the loader exactly.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "flashwizard/core/DeviceSearch.h"
#include "flashwizard/core/UpdateSequence.h"
#include "seriallink/AirspacePort.h"
#include "seriallink/HexFile.h"
#include "seriallink/SerialPort.h"
#include "seriallink/testing/Recorders.h"
#include "tests/flashwizard_core/SimHarness.h"
#include "tests/zonesend/ZonesendTestSupport.h"
#include "zonesend/AirspaceUpload.h"

namespace {

using namespace std::chrono_literals;

enum class Expect { Fails, Either };  // Either: a success is possible, then with all data

struct Case {
    const char* what;
    std::vector<std::string> faults;
    Expect expect;
    bool repeatOnSameInstrument;  // false: the fault stays (or the port is gone); a fresh one
};

// Units of the two programs: 30 blocks of the upload (0..29), 36 records of the sample firmware
// (1..36).
std::vector<Case> Cases(const std::string& first, const std::string& middle,
                        const std::string& last) {
    std::vector<Case> cases = {
        {"refused at the first unit once", {"--refuse", first + ":1"}, Expect::Either, true},
        {"refused at the first unit always", {"--refuse", first + ":999"}, Expect::Fails, false},
        {"refused at a middle unit once", {"--refuse", middle + ":1"}, Expect::Either, true},
        {"refused at a middle unit always", {"--refuse", middle + ":999"}, Expect::Fails, false},
        {"refused at the last unit once", {"--refuse", last + ":1"}, Expect::Either, true},
        {"refused at the last unit always", {"--refuse", last + ":999"}, Expect::Fails, false},
        {"silent", {"--silent"}, Expect::Fails, false},
        {"garbage", {"--garbage"}, Expect::Fails, false},
        {"cable pulled", {"--vanish-after", middle}, Expect::Fails, false},
    };
    for (const char* fraction : {"0.01", "0.05"}) {
        for (const char* seed : {"1", "2", "3"}) {
            cases.push_back({"", {"--drop", fraction, "--seed", seed}, Expect::Either, true});
        }
    }
    return cases;
}

std::string Describe(const Case& c) {
    if (*c.what != '\0') return c.what;
    return "drops " + c.faults[1] + ", seed " + c.faults[3];
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// An Intel HEX image of that many full 16-byte records from address 0, and the end record.
std::vector<std::string> GeneratedImage(unsigned records) {
    std::vector<std::string> lines;
    for (unsigned r = 0; r < records; ++r) {
        const unsigned address = r * 16;
        char text[48];
        std::snprintf(text, sizeof text, ":10%04X00", address);
        std::string line = text;
        unsigned sum = 0x10 + (address >> 8) + (address & 0xFF);
        for (unsigned i = 0; i < 16; ++i) {
            const unsigned byte = (r * 31 + i * 7 + 3) & 0xFF;
            std::snprintf(text, sizeof text, "%02X", byte);
            line += text;
            sum += byte;
        }
        std::snprintf(text, sizeof text, "%02X", (0x100 - sum % 0x100) % 0x100);
        lines.push_back(line + text);
    }
    lines.emplace_back(":00000001FF");
    return lines;
}

struct Row {
    std::string program, fault, outcome, repeat;
};

void PrintTable(const std::vector<Row>& rows) {
    std::printf("\n%-6s %-34s %-42s %s\n", "", "fault", "outcome", "repeat");
    for (const Row& r : rows) {
        std::printf("%-6s %-34s %-42s %s\n", r.program.c_str(), r.fault.c_str(), r.outcome.c_str(),
                    r.repeat.c_str());
    }
}

// ---- send ----

struct SendRun {
    std::vector<airspace::AirspaceRecord> records;
    std::vector<std::uint8_t> image;

    SendRun() {
        for (int i = 0; i < 30; ++i) records.emplace_back(zstest::triangleText("T", i));
        std::vector<const airspace::AirspaceRecord*> all;
        for (const auto& r : records) all.push_back(&r);
        image = zonesend::buildUploadImage(all);
    }
    // The message shown, and whether the store completed an upload holding exactly the image.
    std::string Send(zstest::StoreSim& sim, bool& succeeded, bool& exact) {
        seriallink::testing::MessageRecorder messages;
        bool sending = false;
        zonesend::UploadSelection selection;
        for (const auto& r : records) selection.airspaces.push_back(&r);
        const std::size_t before = Uploads(sim);
        zonesend::AirspaceUpload upload(&messages, sending, zonesend::UploadTiming{25ms, 25ms});
        succeeded = upload.run(selection, zstest::StoreSim::kPortName, 57600) ==
                    zonesend::UploadOutcome::Succeeded;
        // The store reports an upload just after its last answer: give it a moment.
        for (int i = 0; i < 100 && succeeded && Uploads(sim) == before; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        exact = Uploads(sim) > before && sim.receivedBytes() == image;
        return messages.shown.empty() ? "" : messages.shown.back().text;
    }
    static std::size_t Uploads(const zstest::StoreSim& sim) {
        std::size_t n = 0;
        for (const auto& line : sim.reportLines()) n += line.find("bytes: ") != std::string::npos;
        return n;
    }
};

TEST(FaultMatrix, SendAndFlashUnderEveryFault) {
    zstest::StringsInstalled strings{seriallink::Language::English};
    std::vector<Row> rows;

    SendRun send;
    for (const Case& c : Cases("0", "15", "29")) {
        bool ok = false, exact = false;
        std::string text;
        std::string again;
        {
            zstest::StoreSim sim(c.faults);
            ASSERT_TRUE(sim.started()) << sim.error();
            text = send.Send(sim, ok, exact);
            if (c.repeatOnSameInstrument) {
                bool ok2 = false, exact2 = false;
                again = send.Send(sim, ok2, exact2);
                EXPECT_TRUE(ok2 && exact2) << Describe(c) << ": repeat gave " << again;
            }
        }
        if (!c.repeatOnSameInstrument) {
            zstest::StoreSim sim;
            ASSERT_TRUE(sim.started()) << sim.error();
            bool ok2 = false, exact2 = false;
            again = send.Send(sim, ok2, exact2);
            EXPECT_TRUE(ok2 && exact2) << Describe(c) << ": repeat gave " << again;
        }
        EXPECT_EQ(text, ok ? "Download succeded" : "No responce from Quillon") << Describe(c);
        EXPECT_TRUE(!ok || exact) << Describe(c) << ": a success without all the data";
        EXPECT_TRUE(c.expect != Expect::Fails || !ok) << Describe(c);
        rows.push_back({"send", Describe(c), text + (ok && exact ? " (all data)" : ""),
                        again + (c.repeatOnSameInstrument ? "" : " (fresh)")});
    }

    // ---- flash ----
    std::vector<std::string> lines;
    ASSERT_TRUE(seriallink::LoadHexFile(fwtest::SamplePath("demo-firmware.hex"), lines));
    // One instrument's port and link state: the search once, then the update, which a failed
    // update may run again from the link state it left (the wizard's "Wiederholen").
    struct Flash {
        seriallink::SerialPort port;
        flashwizard::LinkState link;
        bool found = false;
    };
    const auto updateWith = [](const std::vector<std::string>& image, Flash& flash,
                               std::string& outcome) {
        fwtest::RecordingReport report;
        fwtest::RecordingStatusLine status;
        seriallink::testing::MessageRecorder messages;
        const flashwizard::LoaderTiming timing = fwtest::FastTiming();
        bool searchFailed = true;
        flashwizard::DeviceSearch search(flash.port, flash.link, status, &messages, timing);
        if (!flash.found && search.Run(fwtest::LoaderSim::kPortName, searchFailed) !=
                                flashwizard::SearchOutcome::Found) {
            outcome = "search: " + (messages.shown.empty() ? "" : messages.shown.back().text);
            return false;
        }
        flash.found = true;
        flashwizard::UpdateSequence sequence(flash.port, flash.link, image, report, timing);
        const bool ok = sequence.Run();
        outcome = report.Has("message 175") ? "175 Update erfolgreich abgeschlossen"
                  : report.Has("error 166") ? "166 Der Update Vorgang ist fehlgeschlagen"
                                            : "?";
        EXPECT_EQ(ok, report.Has("message 175"));
        return ok;
    };
    const auto update = [&](Flash& flash, std::string& outcome) {
        return updateWith(lines, flash, outcome);
    };
    const auto exactImage = [&lines](fwtest::LoaderSim& sim) {
        return fwtest::HexData(sim.ImageLines()) == fwtest::HexData(lines);
    };
    for (const Case& c : Cases("1", "18", "36")) {
        std::string outcome, again;
        bool ok = false;
        bool programStarted = false;
        {
            fwtest::LoaderSim sim(c.faults);
            ASSERT_TRUE(sim.started()) << sim.error();
            Flash flash;
            ok = update(flash, outcome);
            EXPECT_TRUE(!ok || exactImage(sim)) << Describe(c) << ": a success without all data";
            // A lost answer to the start command leaves the new program running: the update
            // is reported as failed, and only the loader of a restarted instrument can answer.
            for (const std::string& line : sim.ReportLines()) {
                programStarted = programStarted || line.rfind("start", 0) == 0;
            }
            if (programStarted && !ok) {
                EXPECT_TRUE(exactImage(sim)) << Describe(c) << ": started without all data";
                outcome += " (program started, its answer lost)";
            }
            // After a success the new program runs: only a failed update can be repeated on
            // the loader as it is (the wizard's "Wiederholen").
            if (c.repeatOnSameInstrument && !ok && !programStarted) {
                EXPECT_TRUE(update(flash, again) && exactImage(sim))
                    << Describe(c) << ": " << again;
            }
        }
        const bool fresh = !c.repeatOnSameInstrument || ok || programStarted;
        if (fresh) {
            fwtest::LoaderSim sim;
            ASSERT_TRUE(sim.started()) << sim.error();
            Flash flash;
            EXPECT_TRUE(update(flash, again) && exactImage(sim)) << Describe(c) << ": " << again;
        }
        EXPECT_TRUE(c.expect != Expect::Fails || !ok) << Describe(c);
        rows.push_back({"flash", Describe(c), FirstLine(outcome),
                        FirstLine(again) + (fresh ? " (fresh)" : "")});
    }

    // A full-size image through a lossy link: each lost acknowledgement makes the record go
    // again over the bytes it has just programmed, which the loader takes as flash does.
    const std::vector<std::string> large = GeneratedImage(1300);
    for (const char* seed : {"1", "2", "3"}) {
        fwtest::LoaderSim sim({"--drop", "0.01", "--seed", seed});
        ASSERT_TRUE(sim.started()) << sim.error();
        Flash flash;
        std::string outcome;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = updateWith(large, flash, outcome);
        const auto seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
        EXPECT_TRUE(ok) << "1,300 records, seed " << seed << ": " << outcome;
        EXPECT_EQ(fwtest::HexData(sim.ImageLines()), fwtest::HexData(large)) << "seed " << seed;
        char took[32];
        std::snprintf(took, sizeof took, " in %.1f s", seconds.count());
        rows.push_back({"flash", std::string("1,300 records, drops 0.01, seed ") + seed,
                        FirstLine(outcome) + took, ""});
    }
    PrintTable(rows);
}

}  // namespace
