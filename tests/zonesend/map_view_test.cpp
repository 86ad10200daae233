// The map's view without a toolkit: framing on the take-off's radius or the whole selection, the
// pilot's zoom and pan, labels that never overlap, what is sent over the file's own outline, and
// the room a grown window gives the map.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "airspace/AirspaceFile.h"
#include "tests/zonesend/ZonesendTestSupport.h"
#include "zonesend/DialogTemplate.h"
#include "zonesend/MapLayout.h"
#include "zonesend/MapNavigator.h"

namespace {

using zonesend::MapDrawing;
using zonesend::MapPen;
using zonesend::MapPixel;

class FixedMeasure : public zonesend::TextMeasure {
public:
    int width(const std::string& text) const override { return 7 * static_cast<int>(text.size()); }
    int lineHeight() const override { return 14; }
};

constexpr zonesend::PixelRect kFrame{0, 0, 640, 480};
const airspace::LatLon kTakeOff{46.0, 7.0};

// A CTA reaching 300 km north-east of the take-off, and a CTR beside it.
std::vector<airspace::AirspaceRecord> farReaching() {
    return airspace::parseAirspaces(
        "AC C\nAN Far CTA\nAL FL95\nAH FL195\nDP 45:50:00 N 006:50:00 E\n"
        "DP 48:30:00 N 009:30:00 E\nDP 48:20:00 N 009:50:00 E\nDP 45:50:00 N 007:10:00 E\n" +
        zstest::squareText("Near CTR", "CTR", 5, "GND"));
}

zonesend::MapRequest requestFor(const std::vector<airspace::AirspaceRecord>& records) {
    zonesend::MapRequest request;
    for (const auto& record : records) request.airspaces.push_back(&record);
    request.takeOff = kTakeOff;
    request.radiusKm = 50.0;
    request.marginKm = 5.0;
    return request;
}

MapDrawing draw(zonesend::MapRequest request, zonesend::MapNavigator& navigator) {
    request.view = navigator.view();
    MapDrawing drawing = zonesend::layoutMap(request, kFrame, FixedMeasure());
    navigator.noteDrawing(drawing);
    return drawing;
}

MapPixel takeOffPixel(const MapDrawing& drawing) {
    for (const auto& line : drawing.lines) {
        // The cross's horizontal arm runs from 5 pixels left of the point.
        if (line.pen == MapPen::TakeOff) return {line.points[0].x + 5, line.points[0].y};
    }
    return {-1, -1};
}

int ringWidth(const MapDrawing& drawing) {
    int left = 1 << 30, right = -(1 << 30);
    for (const auto& line : drawing.lines) {
        if (line.pen != MapPen::Ring) continue;
        for (const MapPixel& p : line.points)
            left = std::min(left, p.x), right = std::max(right, p.x);
    }
    return right - left;
}

TEST(MapView, FramesTheRadiusByDefaultAndTheWholeSelectionOnRequest) {
    const auto records = farReaching();
    zonesend::MapNavigator navigator;
    const MapDrawing framed = draw(requestFor(records), navigator);
    const int areaHeight = framed.area.bottom - framed.area.top;
    // The ring and its margin fill the map's height: 100 of the 110 km across.
    EXPECT_NEAR(ringWidth(framed), areaHeight * 100.0 / 110.0, areaHeight * 0.03);

    ASSERT_TRUE(navigator.OnWholeSelection(true));
    const MapDrawing whole = draw(requestFor(records), navigator);
    EXPECT_LT(ringWidth(whole), ringWidth(framed) / 3);
    // Every outline lies in the map.
    for (const auto& line : whole.lines) {
        if (line.pen != MapPen::Outline) continue;
        for (const MapPixel& p : line.points) {
            EXPECT_TRUE(p.x >= whole.area.left && p.x <= whole.area.right &&
                        p.y >= whole.area.top && p.y <= whole.area.bottom);
        }
    }
    // Another take-off frames its own radius again.
    navigator.follow(airspace::LatLon{46.5, 7.5}, 50.0);
    EXPECT_FALSE(navigator.wholeSelection());
    EXPECT_EQ(navigator.view(), zonesend::MapView{zonesend::MapFrame::Radius});
}

TEST(MapView, ZoomAndPanMoveTheMapAsTheHandAndWheelSay) {
    const auto records = farReaching();
    using Gesture = std::function<void(zonesend::MapNavigator&, MapPixel takeOff)>;
    struct Case {
        const char* name;
        Gesture gesture;
        double scale;  // of pixels per km afterwards
        // Where the take-off lies after, from where it lay and the gesture's own point.
        std::function<MapPixel(MapPixel)> expected;
    };
    constexpr double f = zonesend::MapNavigator::kWheelFactor;
    const MapPixel corner{100, 80};
    const auto around = [](MapPixel at, MapPixel p, double k) {
        return MapPixel{static_cast<int>(std::lround(at.x + (p.x - at.x) * k)),
                        static_cast<int>(std::lround(at.y + (p.y - at.y) * k))};
    };
    const Case cases[] = {
        {"a drag carries the map with the hand",
         [](auto& n, MapPixel) {
             n.OnDragStart({200, 200});
             (void)n.OnDragMove({215, 190});
             (void)n.OnDragMove({230, 180});
             n.OnDragEnd();
         },
         1.0,
         [](MapPixel p) {
             return MapPixel{p.x + 30, p.y - 20};
         }},
        {"the wheel over the take-off keeps it under the pointer",
         [](auto& n, MapPixel t) { (void)n.OnWheel(3, t); }, f * f * f,
         [](MapPixel p) { return p; }},
        {"the wheel over a corner keeps the corner's place under the pointer",
         [&](auto& n, MapPixel) { (void)n.OnWheel(2, corner); }, f * f,
         [&](MapPixel p) { return around(corner, p, f * f); }},
        {"the wheel back out undoes it",
         [&](auto& n, MapPixel) {
             (void)n.OnWheel(2, corner);
             (void)n.OnWheel(-2, corner);
         },
         1.0, [](MapPixel p) { return p; }},
        {"the right arrow looks east by a quarter of the map",
         [](auto& n, MapPixel) { (void)n.OnKey(zonesend::MapKey::Right); }, 1.0,
         [](MapPixel p) {
             return MapPixel{p.x - (640 - 12) / 4, p.y};
         }},
        {"the up arrow looks north", [](auto& n, MapPixel) { (void)n.OnKey(zonesend::MapKey::Up); },
         1.0,
         [](MapPixel p) {
             return MapPixel{p.x, p.y + (480 - 14 * 3 - 24) / 4};
         }},
        {"+ zooms around the middle, - back out",
         [](auto& n, MapPixel) {
             (void)n.OnKey(zonesend::MapKey::ZoomIn);
             (void)n.OnKey(zonesend::MapKey::ZoomIn);
             (void)n.OnKey(zonesend::MapKey::ZoomOut);
         },
         f * f, nullptr},
        {"zoom stops at its limit", [](auto& n, MapPixel t) { (void)n.OnWheel(400, t); },
         zonesend::MapNavigator::kMaxZoom, [](MapPixel p) { return p; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        zonesend::MapNavigator navigator;
        const MapDrawing before = draw(requestFor(records), navigator);
        const MapPixel from = takeOffPixel(before);
        c.gesture(navigator, from);
        const MapDrawing after = draw(requestFor(records), navigator);
        EXPECT_NEAR(after.pixelsPerKm / before.pixelsPerKm, c.scale, 1e-9);
        if (!c.expected) continue;
        const MapPixel want = c.expected(from), got = takeOffPixel(after);
        EXPECT_NEAR(got.x, want.x, 1);
        EXPECT_NEAR(got.y, want.y, 1);
    }
}

TEST(MapLabels, PlacedClearOfEachOtherOrLeftOut) {
    using zonesend::LabelRequest;
    const zonesend::PixelRect area{0, 0, 200, 100};
    struct Case {
        const char* name;
        std::vector<LabelRequest> labels;
        std::vector<int> chosen;
    };
    const Case cases[] = {
        {"a second label on the first takes its next place",
         {{40, 10, {{50, 50}}}, {40, 10, {{50, 50}, {50, 30}}}},
         {0, 1}},
        {"a label without a free place is left out",
         {{40, 10, {{50, 50}}}, {40, 10, {{60, 52}}}, {20, 10, {{150, 50}}}},
         {0, -1, 0}},
        {"the gap counts: a label one pixel away collides",
         {{40, 10, {{50, 50}}}, {40, 10, {{91, 50}}}, {40, 10, {{93, 50}}}},
         {0, -1, 0}},
        {"a label that would stick out of the map is left out",
         {{40, 10, {{10, 50}, {30, 50}}}, {40, 10, {{190, 98}}}},
         {1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(zonesend::placeLabels(c.labels, area, 2), c.chosen);
    }

    // A stack of identical airspaces and a row of neighbours: every label shown stands clear of
    // every other text on the map, and the clicked airspace's is among them.
    std::string text;
    for (int layer = 0; layer < 8; ++layer) {
        text += zstest::squareText("Stack " + std::to_string(layer), "TMA", 10,
                                   "FL" + std::to_string(50 + 10 * layer));
    }
    for (int row = 0; row < 12; ++row)
        text += zstest::squareText("Row " + std::to_string(row), "R", 12 + row, "GND");
    const auto records = airspace::parseAirspaces(text);
    zonesend::MapRequest request;
    for (const auto& record : records) request.airspaces.push_back(&record);
    request.highlighted = &records[3];
    const MapDrawing map = zonesend::layoutMap(request, kFrame, FixedMeasure());
    const FixedMeasure measure;
    std::vector<zonesend::LabelBox> boxes;
    bool clickedShown = false;
    for (const auto& t : map.texts) {
        if (t.pen == MapPen::Caption || t.pen == MapPen::Scale) continue;
        const int width = measure.width(t.text);
        const int left = t.anchor == zonesend::MapAnchor::Centre ? t.x - width / 2 : t.x;
        boxes.push_back({left, t.top, left + width, t.top + measure.lineHeight()});
        clickedShown = clickedShown || t.text == "Stack 3";
    }
    EXPECT_TRUE(clickedShown);
    EXPECT_LT(boxes.size(), 2 * records.size());  // some were left out
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            EXPECT_FALSE(boxes[i].overlaps(boxes[j], 0)) << i << " and " << j;
        }
    }
}

TEST(MapView, SentOutlinesLieOverTheFileOwnWithCutEdgesDashed) {
    const auto records = airspace::parseAirspaces(zstest::squareText("Whole", "CTA", 5, "FL95") +
                                                  zstest::squareText("Piece", "CTA", 6, "FL95"));
    zonesend::MapAirspace airspace(&records[0]);
    airspace.original = &records[0];
    airspace.sent.push_back({&records[1], {false, true, false, true}});
    zonesend::MapRequest request;
    request.airspaces.push_back(airspace);
    const MapDrawing map = zonesend::layoutMap(request, kFrame, FixedMeasure());
    const auto count = [&](MapPen pen) {
        return std::count_if(map.lines.begin(), map.lines.end(),
                             [&](const auto& line) { return line.pen == pen; });
    };
    EXPECT_EQ(count(MapPen::Original), 1);
    EXPECT_EQ(count(MapPen::CutEdge), 2);
    // The tint is drawn without its edges, which are drawn solid or dashed, each on its own.
    const auto fill = std::find_if(map.lines.begin(), map.lines.end(),
                                   [](const auto& line) { return line.filled; });
    ASSERT_NE(fill, map.lines.end());
    EXPECT_FALSE(fill->stroked);
    EXPECT_EQ(count(MapPen::Outline), 3);  // the tint and two solid edges
}

TEST(MapView, AGrownWindowGivesItsRoomToTheMapAndTheList) {
    const zonesend::PixelRect preview{350, 60, 780, 430};
    const int listBottom = 440;
    for (const auto& control : zonesend::mainDialogControls()) {
        const zonesend::PixelRect at{control.place.x, control.place.y,
                                     control.place.x + control.place.width,
                                     control.place.y + control.place.height};
        const auto same = zonesend::grownControlPlace(control.id, at, 284, 0, 0);
        EXPECT_TRUE(same.left == at.left && same.top == at.top && same.right == at.right &&
                    same.bottom == at.bottom);
    }
    const auto list = zonesend::grownControlPlace(zonesend::kIdAirspaceList, {10, 25, 345, 440},
                                                  listBottom, 200, 100);
    EXPECT_EQ(list.bottom, 540);
    const auto file = zonesend::grownControlPlace(zonesend::kIdFileLine, {55, 450, 790, 463},
                                                  listBottom, 200, 100);
    EXPECT_EQ(file.top, 550);
    EXPECT_EQ(file.right, 990);
    const auto exit =
        zonesend::grownControlPlace(zonesend::kIdExit, {650, 40, 780, 60}, listBottom, 200, 100);
    EXPECT_EQ(exit.top, 40);
    EXPECT_EQ(exit.right, 780);
    const auto map = zonesend::grownMapPlace(preview, 200, 100);
    EXPECT_EQ(map.right, 980);
    EXPECT_EQ(map.bottom, 530);
    // Smaller than at first, nothing moves.
    EXPECT_EQ(zonesend::grownMapPlace(preview, -50, -20).right, preview.right);
}

}  // namespace
