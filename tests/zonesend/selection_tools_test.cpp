// The selection strip's logic with a list in memory standing in for either window: Apply with the
// list's marks, what the totals and the upload then send, the Select panel opened again, the
// "Selected only" view and the map of what is sent. The Qt and Win32 windows only forward to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "tests/zonesend/ZonesendTestSupport.h"
#include "zonesend/AirspaceUpload.h"
#include "zonesend/DialogTemplate.h"
#include "zonesend/SelectionTools.h"
#include "zonesend/Strings.h"

namespace {

using zonesend::LineMark;

// A list box, the controls' texts and the strip, as the logic drives them.
class MemoryWindow : public zonesend::AirspaceSetupView, public zonesend::SelectionToolsView {
public:
    struct Combo : seriallink::PortComboBox {
        void Clear() override {}
        void AddEntry(const std::string&) override {}
        int Count() const override { return 0; }
        std::string EntryText(int) const override { return {}; }
        int CurrentIndex() const override { return -1; }
        void SetCurrentIndex(int) override {}
    } combo;
    std::string path;
    std::vector<std::string> lines;
    std::vector<bool> selected;
    std::vector<bool> hidden;
    std::vector<LineMark> marks;
    int caret = -1;
    std::map<int, std::string> texts;
    std::string info;
    int mapsDrawn = 0;
    zonesend::MapRequest lastMap;

    // A click on a line, as the list reports it.
    void click(zonesend::AirspaceSetupLogic& logic, zonesend::SelectionTools& tools, int line) {
        selected[static_cast<std::size_t>(line)] = !selected[static_cast<std::size_t>(line)];
        caret = line;
        logic.OnListSelChange();
        tools.OnListSelChange();
    }
    [[nodiscard]] std::vector<unsigned> chosen() const {
        std::vector<unsigned> out;
        (void)selectedLines(out);
        return out;
    }

    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest&) override {
        return seriallink::MessageAnswer::Ok;
    }
    void setControlText(int id, const std::string& text) override { texts[id] = text; }
    void setTitleText(const std::string&) override {}
    void addAboutMenuItem(const std::string&) override {}
    void enableControl(int, bool) override {}
    seriallink::PortComboBox& portCombo() override { return combo; }
    void clearList() override {
        lines.clear(), selected.clear(), hidden.clear(), marks.clear();
        caret = -1;
    }
    void addListLine(const std::string& text) override {
        lines.push_back(text), selected.push_back(false), hidden.push_back(false);
        marks.push_back(LineMark::None);
    }
    unsigned listCount() const override { return static_cast<unsigned>(lines.size()); }
    void setLineSelected(unsigned i, bool on) override { selected[i] = on; }
    bool selectedLines(std::vector<unsigned>& out) const override {
        out.clear();
        for (unsigned i = 0; i < selected.size(); ++i) {
            if (selected[i]) out.push_back(i);
        }
        return true;
    }
    int caretIndex() const override { return caret; }
    void applyListFont() override {}
    void computePreviewRect() override {}
    void drawPreview(const airspace::AirspaceRecord&) override {}
    void setListLine(unsigned i, const std::string& text) override { lines[i] = text; }
    void showLineMark(unsigned i, LineMark mark) override { marks[i] = mark; }
    std::optional<std::string> chooseFile(const std::string&, const std::string&) override {
        return path;
    }
    int startRepeatingTimer(int, int) override { return 1; }
    void stopRepeatingTimer(int) override {}
    bool isTopLevelActive() const override { return false; }
    void showAboutBox() override {}

    void showAirspaceInfo(const std::string& text) override { info = text; }
    void drawMap(const zonesend::MapRequest& request) override {
        ++mapsDrawn;
        lastMap = request;
    }
    void drawPreviewOf(const airspace::AirspaceRecord*) override {}
    void showMapToggle(bool) override {}
    void showSelectedOnly(bool) override {}
    void hideLines(const std::vector<bool>& lines) override { hidden = lines; }
};

// A border-like ring of 600 points some 20 m apart around 46.1N 7.1E that zig-zags and repeats
// every tenth point, as exported outlines of parks and rivers do.
std::string raggedRing(const std::string& name) {
    return zstest::zigzagRingText(name, 600, 2.0, 0.03, 10);
}

// 0 Ragged 12 km, 1 TMA 1 and 2 TMA 2 stacked on one outline 28 km away, 3 Alpha 9 km, 4 Far
// 74 km, 5 Delta 19 km, 6 broken.
constexpr unsigned kRagged = 0, kTma1 = 1, kTma2 = 2, kAlpha = 3, kFar = 4, kDelta = 5;

TEST(SelectionTools, ApplyReopenMarksFilterAndWhatIsSent) {
    const zstest::StringsInstalled strings(seriallink::Language::English);
    const zstest::TempDir files;
    MemoryWindow window;
    window.path =
        files.write("stacked.txt",
                    raggedRing("Ragged") + zstest::squareText("TMA 1", "TMA", 15, "FL95") +
                        zstest::squareText("TMA 2", "TMA", 15, "FL65") +
                        zstest::squareText("Alpha CTR", "CTR", 5, "GND") +
                        zstest::squareText("Far", "R", 40, "GND") +
                        zstest::squareText("Delta", "D", 10, "GND") + zstest::brokenText("Broken"));
    zonesend::AirspaceSetupApp app;
    zonesend::AirspaceSetupLogic logic(app, window, {{}, [](seriallink::ComPortList& ports) {
                                                         ports.clear();
                                                         return false;
                                                     }});
    zstest::MemoryProfile profile;
    zonesend::SelectionTools tools(logic, window, window, &profile);
    logic.OnInitDialog();
    logic.OnLoadFile();
    tools.OnSelectionReplaced();
    ASSERT_EQ(window.lines.size(), 7u);
    const std::size_t raggedFileSize = logic.fileAirspaces()[kRagged].encodedSize();

    // The pilot marks the far one "Always include" and Delta "Never include", then applies.
    tools.OnMarkLine(kFar, LineMark::AlwaysInclude);
    tools.OnMarkLine(kDelta, LineMark::NeverInclude);
    tools.OnMarkLine(kAlpha, LineMark::NeverInclude);
    tools.OnMarkLine(kAlpha, LineMark::NeverInclude);  // the same mark again takes it off
    EXPECT_EQ(window.marks, (std::vector<LineMark>{LineMark::None, LineMark::None, LineMark::None,
                                                   LineMark::None, LineMark::AlwaysInclude,
                                                   LineMark::NeverInclude, LineMark::None}));
    zonesend::SelectionChoices& choices = tools.panel().choices();
    choices.takeOff = "46.0N 7.0E";
    choices.radius = "30";
    choices.simplifyMetres = "250";
    tools.OnOpenPanel();
    const zonesend::SelectionOutcome outcome = tools.OnApply();
    ASSERT_EQ(outcome.problem, zonesend::ChoiceProblem::None);
    EXPECT_EQ(window.chosen(), (std::vector<unsigned>{kRagged, kTma1, kTma2, kAlpha, kFar}));

    // The totals are the plan's bytes: the stacked TMA's outline once, the ring simplified.
    const std::size_t planBytes = outcome.plan.bytes;
    EXPECT_EQ(planBytes, logic.fileAirspaces()[kRagged].encodedSize() - outcome.bytesSaved +
                             3 * zstest::kSquareSize);
    EXPECT_EQ(logic.selectedBytes(), planBytes);
    EXPECT_EQ(window.texts[zonesend::kIdBytesValue], std::to_string(planBytes));
    // "Send Airspace" sends the plan's outlines, in its order.
    std::vector<const airspace::AirspaceRecord*> sent, planned;
    const std::vector<unsigned> chosen = window.chosen();
    for (const unsigned line : chosen) {
        for (const auto* outline : logic.sentOutlines(line, chosen)) sent.push_back(outline);
    }
    for (const auto& outline : outcome.plan.outlines) planned.push_back(&outline.record);
    const std::vector<std::uint8_t> image = zonesend::buildUploadImage(planned);
    EXPECT_EQ(zonesend::buildUploadImage(sent), image);
    {
        // And they reach the instrument so: the stacked outline once.
        zstest::StoreSim sim;
        ASSERT_TRUE(sim.started()) << sim.error();
        app.commPort = zstest::StoreSim::kPortName;
        logic.OnSendAirspace();
        EXPECT_EQ(logic.lastUploadOutcome(), zonesend::UploadOutcome::Succeeded);
        ASSERT_TRUE(sim.uploadReported(1));
        std::vector<std::uint8_t> received = sim.receivedBytes();
        received.resize(image.size(), 0);
        EXPECT_EQ(zstest::hex(received), zstest::hex(image));
    }

    const std::string& said = tools.panel().lastText();
    EXPECT_NE(said.find("1 always included."), std::string::npos) << said;
    EXPECT_NE(said.find("TMA 2 shares the outline of line 2 (TMA 1)"), std::string::npos) << said;
    EXPECT_NE(said.find("Never included:\n    Delta"), std::string::npos) << said;
    EXPECT_NE(said.find("1 simplified at 250 m."), std::string::npos) << said;
    EXPECT_EQ(profile.texts["Settings/SelectSimplify"], "250");

    // Opening the panel again reads the file's types and leaves the list as the fit made it: the
    // simplified size in the line, the same selection and totals.
    const std::vector<std::string> linesBefore = window.lines;
    EXPECT_NE(linesBefore[kRagged], logic.fileAirspaces()[kRagged].listLine());
    tools.OnOpenPanel();
    EXPECT_EQ(window.lines, linesBefore);
    EXPECT_EQ(logic.selectedBytes(), planBytes);
    EXPECT_EQ(logic.fileAirspaces()[kRagged].encodedSize(), raggedFileSize);
    EXPECT_EQ(tools.panel().types().size(), 4u);  // CTR, D, R, TMA

    // "Selected only" hides the rest; a line the pilot then unselects stays in view, and the
    // stacked layer left selected sends the shared outline itself.
    tools.OnSelectedOnly(true);
    EXPECT_EQ(window.hidden, (std::vector<bool>{false, false, false, false, false, true, true}));
    window.click(logic, tools, kTma1);
    EXPECT_FALSE(window.hidden[kTma1]);
    EXPECT_EQ(logic.selectedBytes(), planBytes);
    EXPECT_EQ(window.info.rfind("TMA 1 - type Terminal area (TMA)", 0), 0u) << window.info;
    tools.OnSelectedOnly(false);
    EXPECT_EQ(std::count(window.hidden.begin(), window.hidden.end(), true), 0);

    // The map shows what is sent: each selected line with its outlines, which are the plan's
    // outlines, a shared one the same as its twin's; the clicked line's highlighted.
    window.click(logic, tools, kTma1);
    tools.OnMapToggle(true);
    std::set<std::vector<std::uint8_t>> drawn;
    for (const zonesend::MapAirspace& airspace : window.lastMap.airspaces) {
        if (airspace.sent.empty()) drawn.insert(airspace.record->encodedBytes(true));
        for (const zonesend::MapSentOutline& outline : airspace.sent) {
            drawn.insert(outline.record->encodedBytes(true));
        }
    }
    EXPECT_EQ(drawn.size(), outcome.plan.outlines.size());
    ASSERT_NE(window.lastMap.highlighted, nullptr);
    EXPECT_EQ(window.lastMap.highlighted->encodedSize(), zstest::kSquareSize);

    // A new file clears the marks and the fit.
    logic.OnLoadFile();
    EXPECT_EQ(logic.linesMarked(LineMark::AlwaysInclude).size(), 0u);
    EXPECT_FALSE(logic.replaced(kRagged));
    EXPECT_EQ(window.lines[kRagged], logic.fileAirspaces()[kRagged].listLine());
}

TEST(SelectionTools, NewTextsInBothLanguages) {
    const seriallink::StringTable english =
        zonesend::makeStringTable(seriallink::Language::English);
    const seriallink::StringTable german = zonesend::makeStringTable(seriallink::Language::German);
    for (unsigned id = zonesend::ids::kSelectedOnly; id <= zonesend::ids::kAirspacePieces; ++id) {
        EXPECT_FALSE(english.Load(id).empty()) << id;
        EXPECT_FALSE(german.Load(id).empty()) << id;
    }
    EXPECT_EQ(german.Load(zonesend::ids::kNeverInclude), "Nie aufnehmen");
}

}  // namespace
