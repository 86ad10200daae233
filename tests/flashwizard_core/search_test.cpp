// The device search behind Next on the port page, and the file check behind Next on the file
// page: what the pilot sees in the status line and in the boxes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "flashwizard/core/DeviceSearch.h"
#include "flashwizard/core/FirmwareCheck.h"
#include "flashwizard/core/WizardStrings.h"
#include "seriallink/SerialPort.h"
#include "seriallink/testing/Recorders.h"
#include "tests/flashwizard_core/SimHarness.h"

namespace {

using flashwizard::SearchOutcome;
using flashwizard::WizardText;

const std::string kSearching = "Nach Quillon wird gesucht...";

std::vector<std::string> SearchTexts(int attempts) {
    std::vector<std::string> texts = {kSearching};
    for (int a = 2; a <= attempts; ++a)
        texts.push_back(std::to_string(a) + ". Versuch den Quillon zu finden");
    texts.emplace_back();  // cleared at the end
    return texts;
}

TEST(DeviceSearch, ResultsAndAttempts) {
    const struct {
        const char* what;
        std::vector<std::string> simArgs;
        bool pullCableAtSecondAttempt;
        SearchOutcome outcome;
        int attempts;
        unsigned box;  // 0: none
    } cases[] = {
        {"loader answers", {}, false, SearchOutcome::Found, 1, 0},
        {"answers at the third attempt",
         {"--silent-first", "2"},
         false,
         SearchOutcome::Found,
         3,
         0},
        {"wrong device", {"--garbage"}, false, SearchOutcome::NotFound, 5, 154},
        {"no answer", {"--silent"}, false, SearchOutcome::NotFound, 5, 153},
        {"cable pulled", {"--silent"}, true, SearchOutcome::NotFound, 5, 155},
    };
    for (const auto& c : cases) {
        fwtest::LoaderSim sim(c.simArgs);
        ASSERT_TRUE(sim.started()) << sim.error();
        seriallink::SerialPort port;
        flashwizard::LinkState link;
        fwtest::RecordingStatusLine status;
        if (c.pullCableAtSecondAttempt) {
            status.onText = [&sim](const std::string& text) {
                if (text.rfind("2.", 0) == 0) sim.Stop();
            };
        }
        seriallink::testing::MessageRecorder messages;
        bool searchFailed = !(c.outcome == SearchOutcome::NotFound);
        flashwizard::DeviceSearch search(port, link, status, &messages, fwtest::FastTiming());
        EXPECT_EQ(search.Run(fwtest::LoaderSim::kPortName, searchFailed), c.outcome) << c.what;
        EXPECT_EQ(search.attempts(), c.attempts) << c.what;
        EXPECT_EQ(status.texts, SearchTexts(c.attempts)) << c.what;
        EXPECT_EQ(searchFailed, c.outcome == SearchOutcome::NotFound) << c.what;
        if (c.box == 0) {
            EXPECT_TRUE(messages.shown.empty()) << c.what;
            EXPECT_EQ(link.chipModel, 832u) << c.what;
            EXPECT_TRUE(link.chipKnown) << c.what;
            EXPECT_FALSE(link.fastRate) << c.what;
        } else {
            ASSERT_EQ(messages.shown.size(), 1u) << c.what;
            EXPECT_EQ(messages.shown[0].text, WizardText(c.box)) << c.what;
            EXPECT_EQ(messages.shown[0].caption, "Fehler") << c.what;
            EXPECT_EQ(messages.shown[0].icon, seriallink::MessageIcon::Exclamation) << c.what;
        }
    }
}

// A failed fast update leaves fastRate set. The search opens at 9600 and stays there: no
// reopens at either rate, and a silent loader leaves the PC side at 9600.
TEST(DeviceSearch, StartsAtTheSlowRateWhateverTheLastUpdateLeft) {
    for (bool silent : {false, true}) {
        fwtest::LoaderSim sim(silent ? std::vector<std::string>{"--silent"}
                                     : std::vector<std::string>{});
        ASSERT_TRUE(sim.started()) << sim.error();
        std::vector<std::chrono::milliseconds> sleeps;
        seriallink::SerialPort port(std::make_unique<seriallink::testing::SleepRecordingBackend>(
            seriallink::MakePlatformBackend(), sleeps, true));
        flashwizard::LinkState link;
        link.fastRate = true;
        const flashwizard::LoaderTiming timing = fwtest::FastTiming();
        fwtest::RecordingStatusLine status;
        seriallink::testing::MessageRecorder messages;
        bool searchFailed = false;
        flashwizard::DeviceSearch search(port, link, status, &messages, timing);
        EXPECT_EQ(search.Run(fwtest::LoaderSim::kPortName, searchFailed),
                  silent ? SearchOutcome::NotFound : SearchOutcome::Found);
        EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), timing.reopenSettle), 0) << silent;
        EXPECT_EQ(port.BaudRate(), 9600u) << silent;
        EXPECT_FALSE(link.fastRate) << silent;
    }
}

TEST(DeviceSearch, PortThatCannotBeOpenedKeepsSearchFailed) {
    fwtest::LoaderSim sim;  // serves COM7, not COM8
    seriallink::SerialPort port;
    flashwizard::LinkState link;
    fwtest::RecordingStatusLine status;
    seriallink::testing::MessageRecorder messages;
    for (bool before : {false, true}) {
        bool searchFailed = before;
        flashwizard::DeviceSearch search(port, link, status, &messages, fwtest::FastTiming());
        EXPECT_EQ(search.Run("COM8", searchFailed), SearchOutcome::PortNotOpened);
        EXPECT_EQ(searchFailed, before);
    }
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, "Das gewählte Com Port konnte nicht geöffnet werden.");
    EXPECT_TRUE(status.texts.empty());
}

TEST(FirmwareCheck, MessagesForEachFault) {
    const std::string notHex = fwtest::WriteTempFile("readme.txt", "Quillon firmware notes\n");
    const std::string cut = fwtest::WriteTempFile("cut.hex", ":0100000041BE\n");  // no end record
    const std::string folder = std::filesystem::path(cut).parent_path() / "folder.hex";
    std::filesystem::create_directories(folder);
    // A FIFO without a writer: opening it would wait for ever.
    const std::string fifo = std::filesystem::path(cut).parent_path() / "fifo.hex";
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        unsigned box;  // 0: accepted
    } cases[] = {
        {"", 145},
        {"/nonexistent/QLX_V42.HEX", 146},
        {notHex, 147},
        {cut, 147},
        {folder, 146},
        {fifo, 147},
        {fwtest::SamplePath("demo-firmware.hex"), 0},
    };
    for (const auto& c : cases) {
        seriallink::testing::MessageRecorder messages;
        std::vector<std::string> hexLines = {"left from before"};
        const bool ok = flashwizard::CheckFirmwareFile(c.path, hexLines, &messages);
        EXPECT_EQ(ok, c.box == 0) << c.path;
        if (c.box == 0) {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(hexLines.back(), ":00000001FF");
        } else {
            ASSERT_EQ(messages.shown.size(), 1u) << c.path;
            EXPECT_EQ(messages.shown[0].text, WizardText(c.box)) << c.path;
            // A rejected file never reaches the download.
            if (c.box == 147) {
                EXPECT_TRUE(hexLines.empty()) << c.path;
            }
        }
    }
    EXPECT_EQ(WizardText(147),
              "Die gewählte Datei ist keine gültige .HEX Datei!\nBitte wählen Sie eine korrekte "
              "Datei.\nVersuchen Sie die Datei erneut von www.korvalis.example zu laden.");
}

TEST(WizardStrings, EveryIdAndTheFormattedOnes) {
    for (unsigned id = 129; id <= 179; ++id) {
        EXPECT_TRUE(flashwizard::WizardStrings().Has(id)) << id;
        EXPECT_FALSE(flashwizard::WizardStrings().Load(id).empty()) << id;
    }
    EXPECT_FALSE(flashwizard::WizardStrings().Has(128));
    EXPECT_FALSE(flashwizard::WizardStrings().Has(180));
    EXPECT_EQ(flashwizard::WizardStrings().ErrorCaption(), "Fehler");
    EXPECT_EQ(WizardText(131, {4}), "Korvalis Downloader 4. Schritt");
    EXPECT_EQ(WizardText(164, {2, 4}), "2. Downloadversuch der Zeile 4");
    EXPECT_EQ(WizardText(159, {3}), "3. Versuch den Quillon zu reseten");
    EXPECT_EQ(WizardText(163, {2}), "2. Versuch des Downloads");
    EXPECT_EQ(seriallink::FormatText(flashwizard::WizardStrings().Load(157), {std::string("COM4")}),
              "wird mit \"Fertigstellen\" über Port COM4 in den Quillon geladen.");
    EXPECT_EQ(WizardText(166),
              "Der Update Vorgang ist fehlgeschlagen.\n Stellen Sie sicher das alle Verbindungen "
              "korrekt angeschlossen sind.\nSollte der Download wieder fehlschlagen wenden Sie "
              "sich an Korvalis.");
}

}  // namespace
