// The Select panel's logic without widgets: what the pilot's choices select, what fitting leaves
// out, the problems it reports, and the choices kept in the profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "airspace/AirspaceFile.h"
#include "tests/zonesend/ZonesendTestSupport.h"
#include "zonesend/MapLayout.h"
#include "zonesend/SelectionPanelLogic.h"
#include "zonesend/Strings.h"

namespace {

using zonesend::ChoiceProblem;
using zstest::MemoryProfile;
using zstest::squareText;

// 0 Alpha 9 km, 1 Bravo 28 km, 2 Charlie 74 km, 3 Delta 19 km (floor not understood), 4 broken.
std::vector<airspace::AirspaceRecord> sampleFile() {
    return airspace::parseAirspaces(
        squareText("Alpha CTR", "CTR", 5, "GND") + squareText("Bravo", "R", 15, "FL100") +
        squareText("Charlie", "CTR", 40, "GND") + squareText("Delta", "ctr", 10, "see NOTAM") +
        zstest::brokenText("Broken"));
}

TEST(SelectionPanel, ChoicesSelectMatchAndFit) {
    const zstest::StringsInstalled strings(seriallink::Language::English);
    const auto records = sampleFile();
    const auto types = zonesend::countTypes(records);
    ASSERT_EQ(types.size(), 2u);  // CTR (three, "ctr" counted with them) and R; Broken has none
    EXPECT_EQ(types[0].type, "CTR");
    EXPECT_EQ(types[0].count, 3u);

    struct Case {
        const char* what;
        zonesend::SelectionChoices choices;
        std::size_t budget;
        ChoiceProblem problem;
        std::vector<std::size_t> selected;
        std::vector<std::size_t> leftOut;
        std::vector<std::size_t> floorUnknown;
    };
    const auto near = [](std::string radius, zonesend::RadiusUnit unit) {
        zonesend::SelectionChoices c;
        c.takeOff = "46.0N 7.0E";
        c.radius = std::move(radius);
        c.radiusUnit = unit;
        return c;
    };
    zonesend::SelectionChoices noR = near("50", zonesend::RadiusUnit::Kilometres);
    noR.untickedTypes = {"R"};
    zonesend::SelectionChoices low;
    low.floorBelow = "50";
    zonesend::SelectionChoices named;
    named.nameContains = "ALPHA";
    zonesend::SelectionChoices loose = near("50", zonesend::RadiusUnit::Kilometres);
    loose.fitToInstrument = false;
    zonesend::SelectionChoices noType;
    noType.untickedTypes = {"CTR", "R"};
    zonesend::SelectionChoices badFloor;
    badFloor.floorBelow = "low";
    zonesend::SelectionChoices badPoint = near("50", zonesend::RadiusUnit::Kilometres);
    badPoint.takeOff = "46.7 north";
    zonesend::SelectionChoices badTolerance;
    badTolerance.simplifyMetres = "-5";

    const std::vector<Case> cases = {
        {"within 50 km",
         near("50", zonesend::RadiusUnit::Kilometres),
         3192,
         ChoiceProblem::None,
         {0, 1, 3},
         {},
         {}},
        {"within 12 nm",
         near("12", zonesend::RadiusUnit::NauticalMiles),
         3192,
         ChoiceProblem::None,
         {0, 3},
         {},
         {}},
        {"type R unticked", noR, 3192, ChoiceProblem::None, {0, 3}, {}, {}},
        {"floor below FL50 keeps the unknown floor",
         low,
         3192,
         ChoiceProblem::None,
         {0, 2, 3},
         {},
         {3}},
        {"name ignoring case", named, 3192, ChoiceProblem::None, {0}, {}, {}},
        // Nearest first: Alpha and Delta fit into 36 bytes, Bravo (farther) is left out.
        {"fit nearest first",
         near("50", zonesend::RadiusUnit::Kilometres),
         36,
         ChoiceProblem::None,
         {0, 3},
         {1},
         {}},
        {"no fit takes every match", loose, 36, ChoiceProblem::None, {0, 1, 3}, {}, {}},
        {"point not understood", badPoint, 3192, ChoiceProblem::TakeOff, {}, {}, {}},
        {"radius not a number",
         near("far", zonesend::RadiusUnit::Kilometres),
         3192,
         ChoiceProblem::Radius,
         {},
         {},
         {}},
        {"no type ticked", noType, 3192, ChoiceProblem::NoType, {}, {}, {}},
        {"floor not a number", badFloor, 3192, ChoiceProblem::Floor, {}, {}, {}},
        {"negative tolerance", badTolerance, 3192, ChoiceProblem::Tolerance, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zonesend::CheckedChoices checked;
        ASSERT_EQ(zonesend::checkChoices(c.choices, types, checked), c.problem);
        if (c.problem != ChoiceProblem::None) continue;
        const zonesend::SelectionOutcome outcome =
            zonesend::selectAirspaces(records, checked, c.budget);
        EXPECT_EQ(outcome.selected, c.selected);
        std::vector<std::size_t> leftOut;
        for (const auto& left : outcome.leftOut) {
            leftOut.push_back(left.index);
            EXPECT_EQ(left.bytes, records[left.index].encodedSize());
        }
        EXPECT_EQ(leftOut, c.leftOut);
        EXPECT_EQ(outcome.floorUnknown, c.floorUnknown);
        std::size_t bytes = 0;
        for (const std::size_t i : outcome.selected) bytes += records[i].encodedSize();
        EXPECT_EQ(outcome.bytes, bytes);
    }

    // What the panel says about a fit that left one out.
    zonesend::CheckedChoices checked;
    ASSERT_EQ(zonesend::checkChoices(near("50", zonesend::RadiusUnit::Kilometres), types, checked),
              ChoiceProblem::None);
    const std::string text =
        zonesend::outcomeText(zonesend::selectAirspaces(records, checked, 36), records);
    EXPECT_EQ(text,
              "3 matched, 2 selected: 36 bytes, 3 blocks.\nLeft out for lack of space:\n"
              "    Bravo (18 bytes)");
}

TEST(SelectionPanel, ChoicesAreRememberedInTheProfile) {
    MemoryProfile profile;
    profile.texts["Settings/CommPort"] = "COM7";
    EXPECT_EQ(zonesend::readSelectionChoices(profile), zonesend::SelectionChoices{});

    zonesend::SelectionChoices choices;
    choices.takeOff = "46:42:00 N 007:36:00 E";
    choices.radius = "27";
    choices.radiusUnit = zonesend::RadiusUnit::NauticalMiles;
    choices.untickedTypes = {"TMZ", "RMZ"};
    choices.floorBelow = "3000";
    choices.floorUnit = zonesend::FloorUnit::Metres;
    choices.nameContains = "Vessa";
    choices.fitToInstrument = false;
    choices.simplifyMetres = "250";
    zonesend::writeSelectionChoices(profile, choices);
    EXPECT_EQ(zonesend::readSelectionChoices(profile), choices);
    EXPECT_EQ(profile.texts["Settings/SelectRadiusUnit"], "nm");
    EXPECT_EQ(profile.texts["Settings/SelectUntickedTypes"], "TMZ,RMZ");
    EXPECT_EQ(profile.texts["Settings/CommPort"], "COM7");
    EXPECT_EQ(profile.numbers.count("Settings/Baudrate"), 0u);
}

}  // namespace

namespace {

class FixedMeasure : public zonesend::TextMeasure {
public:
    int width(const std::string& text) const override { return 7 * static_cast<int>(text.size()); }
    int lineHeight() const override { return 14; }
};

TEST(MapLayout, OutlinesRingScaleAndHighlightFitTheFrame) {
    const auto records = sampleFile();
    zonesend::MapRequest request;
    for (const std::size_t i : {0u, 1u, 3u}) request.airspaces.push_back(&records[i]);
    request.highlighted = &records[1];
    request.takeOff = airspace::LatLon{46.0, 7.0};
    request.radiusKm = 50.0;
    const zonesend::PixelRect frame{0, 0, 640, 480};
    const zonesend::MapDrawing map = zonesend::layoutMap(request, frame, FixedMeasure());
    ASSERT_GT(map.pixelsPerKm, 0.0);

    std::vector<zonesend::MapPen> outlines;
    int ringTop = frame.bottom, ringBottom = frame.top;
    for (const zonesend::MapLine& line : map.lines) {
        for (const zonesend::MapPixel& p : line.points) {
            EXPECT_TRUE(p.x >= frame.left && p.x <= frame.right && p.y >= frame.top &&
                        p.y <= frame.bottom);
        }
        if (line.filled) outlines.push_back(line.pen);
        if (line.pen != zonesend::MapPen::Ring) continue;
        for (const zonesend::MapPixel& p : line.points) {
            ringTop = std::min(ringTop, p.y);
            ringBottom = std::max(ringBottom, p.y);
        }
    }
    // The clicked airspace lies on top of the others.
    EXPECT_EQ(outlines,
              (std::vector<zonesend::MapPen>{zonesend::MapPen::Outline, zonesend::MapPen::Outline,
                                             zonesend::MapPen::Highlight}));
    // The ring is 100 km across at the map's scale.
    EXPECT_NEAR((ringBottom - ringTop) / map.pixelsPerKm, 100.0, 2.0);

    const auto hasText = [&](const std::string& text) {
        return std::any_of(map.texts.begin(), map.texts.end(),
                           [&](const zonesend::MapText& t) { return t.text == text; });
    };
    EXPECT_TRUE(hasText("Bravo"));
    EXPECT_TRUE(hasText("FL100"));
    EXPECT_TRUE(hasText("46\xC2\xB0N"));
    EXPECT_TRUE(hasText("20 km") || hasText("50 km") || hasText("10 km"));
    EXPECT_EQ(zonesend::gridLabel(-41 * 60 - 30, true),
              "41\xC2\xB0"
              "30'S");
    EXPECT_EQ(zonesend::gridLabel(-179 * 60, false), "179\xC2\xB0W");
    EXPECT_EQ(zonesend::niceLengthBelow(73.0), 50.0);
    EXPECT_EQ(zonesend::niceLengthBelow(1.9), 1.0);
}

}  // namespace

namespace {

// A wavy ring of 400 points around 46.1N 7.1E, some 5 km across.
std::string wavyPolygon() {
    return zstest::zigzagRingText("Wavy", 400, 2.5, 0.02);
}

TEST(SelectionPanel, SimplifiedOutlinesReplaceOnlyWhatTheySave) {
    const zstest::StringsInstalled strings(seriallink::Language::English);
    const auto records =
        airspace::parseAirspaces(wavyPolygon() + squareText("Alpha", "R", 5, "GND"));
    zonesend::SelectionChoices choices;
    choices.simplifyMetres = "250";
    zonesend::CheckedChoices checked;
    ASSERT_EQ(zonesend::checkChoices(choices, zonesend::countTypes(records), checked),
              ChoiceProblem::None);
    EXPECT_EQ(checked.toleranceMetres, 250.0);
    const zonesend::SelectionOutcome outcome = zonesend::selectAirspaces(records, checked);
    EXPECT_EQ(outcome.selected, (std::vector<std::size_t>{0, 1}));
    // The square cannot get smaller; the wavy ring does, and is counted at its new size.
    ASSERT_EQ(outcome.replacements.size(), 1u);
    EXPECT_EQ(outcome.replacements[0].first, 0u);
    const std::size_t simplified = outcome.replacements[0].second.encodedSize();
    EXPECT_LT(simplified, records[0].encodedSize());
    EXPECT_EQ(outcome.bytes, simplified + zstest::kSquareSize);
    EXPECT_EQ(outcome.bytesSaved, records[0].encodedSize() - simplified);
}

}  // namespace
