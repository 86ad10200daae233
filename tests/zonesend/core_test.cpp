// Settings, texts, the scale bar and the dialog-unit arithmetic of zonesend.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/zonesend/ZonesendTestSupport.h"
#include "zonesend/AirspaceSetupApp.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/DialogTemplate.h"
#include "zonesend/ScaleBar.h"
#include "zonesend/Strings.h"

namespace {

using zstest::MemoryProfile;

TEST(Settings, BaudRateIsCheckedOnReadingAndWrittenValidated) {
    const std::vector<std::pair<std::int64_t, std::uint32_t>> cases = {
        {115200, 115200}, {12345, 57600}, {110, 110}, {256000, 256000}, {0, 57600}, {-9600, 57600},
    };
    for (const auto& [stored, used] : cases) {
        MemoryProfile profile;
        profile.numbers["Settings/Baudrate"] = stored;
        profile.texts["Settings/CommPort"] = "COM12";
        zonesend::AirspaceSetupApp app;
        app.readSettings(profile);
        EXPECT_EQ(app.baudRate, used) << stored;
        EXPECT_EQ(app.commPort, "COM12");
        app.writeSettings(profile);
        EXPECT_EQ(profile.numbers["Settings/Baudrate"], static_cast<std::int64_t>(used));
    }
    MemoryProfile empty;
    zonesend::AirspaceSetupApp app;
    app.readSettings(empty);
    EXPECT_EQ(app.baudRate, 57600u);
    EXPECT_EQ(app.commPort, "");
    app.writeSettings(empty);
    EXPECT_EQ(empty.texts.at("Settings/CommPort"), "");
    EXPECT_EQ(empty.numbers.at("Settings/Baudrate"), 57600);
}

// The last file and its folder are remembered beside the port and rate, which they never touch,
// and are where the file dialog opens.
TEST(AppSettings, RememberTheLastFileAndFolder) {
    const struct {
        const char* chosen;
        bool loaded;
        const char* file;
        const char* folder;
    } steps[] = {
        {"/home/pilot/air/alpen.txt", true, "/home/pilot/air/alpen.txt", "/home/pilot/air"},
        {"/home/pilot/air/photo.jpg", false, "/home/pilot/air/alpen.txt", "/home/pilot/air"},
        {"/home/pilot/fotos/x.jpg", false, "", "/home/pilot/fotos"},
        {"C:\\Luftraum\\Schweiz.txt", true, "C:\\Luftraum\\Schweiz.txt", "C:\\Luftraum"},
        {"C:\\alpen.txt", true, "C:\\alpen.txt", "C:\\"},
        {"/alpen.txt", true, "/alpen.txt", "/"},
    };
    MemoryProfile profile;
    profile.numbers["Settings/Baudrate"] = 115200;
    profile.texts["Settings/CommPort"] = "COM12";
    zonesend::AirspaceSetupApp app;
    app.readSettings(profile);
    for (const auto& step : steps) {
        app.rememberFile(step.chosen, step.loaded);
        EXPECT_EQ(app.lastFile, step.file) << step.chosen;
        EXPECT_EQ(app.lastFolder, step.folder) << step.chosen;
        EXPECT_EQ(app.fileDialogStart(), *step.file != '\0' ? step.file : step.folder);
        app.writeSettings(profile);
        zonesend::AirspaceSetupApp next;
        next.readSettings(profile);
        EXPECT_EQ(next.lastFile, app.lastFile) << step.chosen;
        EXPECT_EQ(next.lastFolder, app.lastFolder) << step.chosen;
        EXPECT_EQ(profile.texts["Settings/CommPort"], "COM12");
        EXPECT_EQ(profile.numbers["Settings/Baudrate"], 115200);
    }
}

TEST(Strings, EveryIdInBothLanguages) {
    const seriallink::StringTable english =
        zonesend::makeStringTable(seriallink::Language::English);
    const seriallink::StringTable german = zonesend::makeStringTable(seriallink::Language::German);
    for (unsigned id = 101; id <= 138; ++id) {
        EXPECT_FALSE(english.Load(id).empty()) << id;
        EXPECT_FALSE(german.Load(id).empty()) << id;
    }
    EXPECT_EQ(english.ErrorCaption(), "Error");
    EXPECT_EQ(german.ErrorCaption(), "Fehler");
    EXPECT_EQ(german.Load(106), "Port lässt sich nicht öffnen");
    EXPECT_EQ(english.Load(108), "Not enough free space. ");
    EXPECT_EQ(german.Load(108), "Nicht genug freier Speicherplatz.");
    EXPECT_EQ(english.Load(115), german.Load(115));
    EXPECT_EQ(german.Load(180), "Die gewählten Lufträume enthalten keine Umrissdaten");
    EXPECT_EQ(seriallink::FormatText(english.Load(138), {3LL, std::string("COM4, COM7, COM9")}),
              "3 new Com Ports was found (COM4, COM7, COM9).");
}

TEST(DisplayText, Latin1BecomesUtf8AndUtf8StaysAsItIs) {
    EXPECT_EQ(zonesend::toDisplayUtf8("Z\xFCrich"), "Zürich");
    EXPECT_EQ(zonesend::toDisplayUtf8("Zürich"), "Zürich");
    EXPECT_EQ(zonesend::toDisplayUtf8("plain"), "plain");
}

TEST(Blocks, CountedOverTheWholeSelection) {
    EXPECT_EQ(zonesend::blocksUsed(0), 0u);
    EXPECT_EQ(zonesend::blocksUsed(1), 1u);
    EXPECT_EQ(zonesend::blocksUsed(14), 1u);
    EXPECT_EQ(zonesend::blocksUsed(15), 2u);
    EXPECT_EQ(zonesend::blocksUsed(3192), 228u);
    EXPECT_EQ(zonesend::blocksUsed(3193), 229u);
}

TEST(ScaleBar, BarAndLabelsByExtent) {
    struct Case {
        float width, height;
        int barLength, areaHeight;
        bool quarter;
        std::vector<std::string> labels;
        float scale;
    };
    const std::vector<Case> cases = {
        // 4 nm square in a 296-pixel bar over a 350-pixel area.
        {400, 400, 296, 350, true, {"2.5 nm", "5 nm", "7.5 nm", "10 nm"}, 1000.0f / 296},
        {1000, 0, 300, 300, false, {"10 nm", "20 nm", "30 nm"}, 3000.0f / 300},
        {250, 0, 300, 300, false, {"1 nm", "2 nm", "3 nm"}, 300.0f / 300},
        {300, 0, 300, 300, true, {"2.5 nm", "5 nm", "7.5 nm", "10 nm"}, 1000.0f / 300},
        {0, 0, 300, 300, false, {"0.00 nm", "0.00 nm", "0.00 nm"}, 0.3f / 300},
        {50, 0, 300, 300, true, {"0.250 nm", "0.500 nm", "0.750 nm", "1.000 nm"}, 100.0f / 300},
        {5000, 0, 300, 300, true, {"25 nm", "50 nm", "75 nm", "100 nm"}, 10000.0f / 300},
        // Tall and narrow: fitted by its height, 300 x 400 / 100 = 1200 along the bar.
        {10, 400, 300, 100, false, {"10 nm", "20 nm", "30 nm"}, 3000.0f / 300},
    };
    for (const Case& c : cases) {
        zonesend::ScaleBarLayout layout;
        layout.barLeft = 2;
        layout.barLength = c.barLength;
        layout.barRight = 2 + c.barLength;
        zonesend::ScaleChoice choice;
        ASSERT_TRUE(zonesend::chooseScale(layout, c.areaHeight, c.width, c.height, choice));
        EXPECT_EQ(choice.quarterBar, c.quarter) << c.width;
        EXPECT_EQ(choice.labels, c.labels) << c.width;
        EXPECT_FLOAT_EQ(choice.unitsPerPixel, c.scale) << c.width;
    }
}

TEST(ScaleBar, NoRoomMeansNoScale) {
    const zonesend::ScaleBarLayout tiny = zonesend::layoutScaleBar(0, 3, 10, 13);
    zonesend::ScaleChoice choice;
    EXPECT_FALSE(zonesend::chooseScale(tiny, 100, 10, 10, choice));
    const zonesend::ScaleBarLayout flat = zonesend::layoutScaleBar(0, 300, 40, 13);
    EXPECT_FALSE(zonesend::chooseScale(flat, 0, 10, 10, choice));
    EXPECT_FALSE(zonesend::chooseScale(flat, -20, 10, 10, choice));
}

TEST(DialogTemplate, MainDialogControlsInTemplateOrder) {
    ASSERT_EQ(zonesend::mainDialogControls().size(), 15u);
    EXPECT_EQ(zonesend::mainDialogControls()[0].id, zonesend::kIdExit);
    EXPECT_EQ(zonesend::mainDialogControls()[3].place.height, 268);
}

}  // namespace
