// Cutting to the flying area: inside the radius the instrument holds exactly what it held, the
// rest is cut away, a cut that falls apart gives pieces, the 180th meridian is nothing special.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "airspace/AirspaceRecord.h"
#include "airspace/Clip.h"
#include "airspace/OutlineChecks.h"
#include "airspace/OutlineDecoder.h"
#include "airspace/Selection.h"

namespace airspace {
namespace {

LatLon latLonOf(GeoPoint p) {
    return {p.lat / 6000.0, p.lon / 6000.0};
}

// A point `east` and `north` km from a place, as an OpenAir "DP" line.
std::string pointLine(LatLon at, double east, double north) {
    const double lat = at.lat + north / 111.2;
    double lon = at.lon + east / (111.2 * std::cos(at.lat * 3.141592653589793 / 180.0));
    if (lon > 180.0) lon -= 360.0;
    if (lon < -180.0) lon += 360.0;
    auto half = [](double v, int width, char pos, char neg) {
        char text[32];
        const double a = std::fabs(v);
        std::snprintf(text, sizeof text, "%0*d:%06.3f%c", width, static_cast<int>(a),
                      (a - static_cast<int>(a)) * 60.0, v < 0 ? neg : pos);
        return std::string(text);
    };
    return "DP " + half(lat, 2, 'N', 'S') + " " + half(lon, 3, 'E', 'W') + "\n";
}

std::string polygon(LatLon at, const std::vector<std::pair<double, double>>& km) {
    std::string text = "AC R\nAN Test\n";
    for (const auto& [east, north] : km) text += pointLine(at, east, north);
    return text;
}

// A ring of many points, `radius` km round a point `east`, `north` km from `at`.
std::string ring(LatLon at, double east, double north, double radius, double stretch = 1.0) {
    std::vector<std::pair<double, double>> km;
    for (int i = 0; i < 600; ++i) {
        const double a = 2 * 3.141592653589793 * i / 600;
        km.emplace_back(east + stretch * radius * std::cos(a), north + radius * std::sin(a));
    }
    return polygon(at, km);
}

TEST(Clip, CutsToTheAreaAndKeepsWhatLiesWithinTheRadius) {
    const LatLon alps{46.5, 7.5};
    const LatLon fiji{-17.0, 179.9};  // the area reaches across the 180th meridian
    const struct {
        const char* name;
        LatLon centre;
        std::string text;
        bool clipped;
        std::size_t pieces;
    } cases[] = {
        {"wholly inside", alps, ring(alps, 10, 5, 8), false, 1},
        {"wholly outside", alps, ring(alps, 150, 0, 20), true, 0},
        {"an FIR round the whole area", alps, ring(alps, 0, 0, 300), true, 1},
        // Its border passes between the area's corners and the instrument's circle round them.
        {"an airspace just larger than the area", alps, ring(alps, 0, 0, 57), true, 1},
        {"a park reaching 120 km each way", alps, ring(alps, 20, 0, 10, 12.0), true, 1},
        // Two arms through the area, joined far to the south: the cut falls apart.
        {"a U whose arms cross the area", alps,
         polygon(alps, {{-30, 100},
                        {-30, -100},
                        {30, -100},
                        {30, 100},
                        {20, 100},
                        {20, -90},
                        {-20, -90},
                        {-20, 100}}),
         true, 2},
        {"west of the 180th meridian, the take-off east of it", fiji, ring(fiji, 100, 0, 8, 8.0),
         true, 1},
    };
    // The area's 16-gon, and the turned 8-gon the fit may cut to instead.
    const std::size_t count = std::size(cases);
    for (std::size_t pass = 0; pass < 2 * count; ++pass) {
        const auto& c = cases[pass % count];
        const int sides = pass < count ? 16 : 8;
        SCOPED_TRACE(sides);
        const AirspaceRecord original(c.text);
        ASSERT_GT(original.encodedSize(), 0u) << c.name;
        const ClipArea area{c.centre, 50.0, defaultClipMarginKm(50.0), sides, sides == 8};
        const ClipResult cut = clipToArea(original, area);
        EXPECT_EQ(cut.clipped, c.clipped) << c.name;
        ASSERT_EQ(cut.pieces.size(), c.pieces) << c.name;
        if (!cut.clipped) {
            EXPECT_EQ(cut.pieces[0].record.storedBytes().size(), original.encodedSize());
            EXPECT_EQ(cut.pieces[0].cutEdges,
                      std::vector<bool>(decodeOutlinePoints(original).size(), false));
            continue;
        }
        std::size_t bytes = 0;
        std::vector<std::vector<GeoPoint>> pieces;
        for (const ClippedOutline& piece : cut.pieces) {
            pieces.push_back(decodeOutlinePoints(piece.record));
            const std::vector<GeoPoint>& points = pieces.back();
            ASSERT_EQ(piece.cutEdges.size(), points.size()) << c.name;
            bytes += piece.record.encodedSize();
            // Every piece was made by the cut somewhere, and the map can tell where.
            EXPECT_NE(std::count(piece.cutEdges.begin(), piece.cutEdges.end(), true), 0) << c.name;
            EXPECT_EQ(piece.cutEdges, cutEdgeMarks(points, area)) << c.name;
            // Within the airspace, but for the cut's rounding to the grid.
            for (const GeoPoint p : points) {
                EXPECT_LT(distanceToOutlineKm(decodeOutlinePoints(original), latLonOf(p)), 0.03)
                    << c.name;
            }
            // Cut edges lie beyond the radius; the piece's longitudes stay on its own side.
            for (std::size_t i = 0; i < points.size(); ++i) {
                EXPECT_LT(std::fabs(latLonOf(points[i]).lon - latLonOf(points[0]).lon), 5.0)
                    << c.name;
                if (!piece.cutEdges[i]) continue;
                EXPECT_GT(greatCircleKm(latLonOf(points[i]), c.centre), 50.0) << c.name;
            }
        }
        EXPECT_LT(bytes, original.encodedSize()) << c.name;
        // Within the radius every edge the instrument held is held still, and nothing else.
        const std::vector<GeoPoint> held = decodeOutlinePoints(original);
        auto within = [&](GeoPoint p) { return greatCircleKm(latLonOf(p), c.centre) <= 50.0; };
        auto hasEdge = [&](const std::vector<GeoPoint>& outline, GeoPoint a, GeoPoint b) {
            for (std::size_t i = 0; i < outline.size(); ++i) {
                if (outline[i] == a && outline[(i + 1) % outline.size()] == b) return true;
            }
            return false;
        };
        for (std::size_t i = 0; i < held.size(); ++i) {
            const GeoPoint a = held[i];
            const GeoPoint b = held[(i + 1) % held.size()];
            if (!within(a) || !within(b)) continue;
            bool found = false;
            for (const auto& piece : pieces) found = found || hasEdge(piece, a, b);
            EXPECT_TRUE(found) << c.name << ": edge " << i;
        }
        for (const auto& piece : pieces) {
            for (std::size_t i = 0; i < piece.size(); ++i) {
                if (!within(piece[i]) || !within(piece[(i + 1) % piece.size()])) continue;
                EXPECT_TRUE(hasEdge(held, piece[i], piece[(i + 1) % piece.size()])) << c.name;
            }
        }
    }
}

// A figure of eight drawn as one loop turns both ways: a large lobe lies inside the area, a small
// one reaches beyond it. The cut holds the two lobes within the area, never the rest of the area.
// Where the two lobes only meet at a point the loop passes twice, each goes as a simple outline.
TEST(Clip, AnOutlineCrossingItselfIsCutToWhatItEncloses) {
    const LatLon alps{46.5, 7.5};
    const AirspaceRecord crossing(polygon(alps, {{-40, -10}, {70, 2.94}, {70, -2.94}, {-40, 10}}));
    const AirspaceRecord pinched(
        polygon(alps, {{40, 0}, {-40, 10}, {-40, -10}, {40, 0}, {70, -5}, {70, 5}}));
    for (const AirspaceRecord* original : {&crossing, &pinched}) {
        for (const int sides : {16, 8}) {
            const ClipResult cut = clipToArea(*original, {alps, 50.0, 5.0, sides, false}, true);
            EXPECT_EQ(cut.pieces.size(), original == &pinched ? 2u : 1u) << sides;
            double farthestEast = -INFINITY;
            for (const ClippedOutline& piece : cut.pieces) {
                const std::vector<GeoPoint> points = decodeOutlinePoints(piece.record);
                EXPECT_TRUE(isSimplePolygon(points)) << sides;
                for (const GeoPoint p : points) {
                    const double east = (latLonOf(p).lon - alps.lon) * 111.2 * std::cos(0.8116);
                    EXPECT_GT(east, -40.1) << sides;
                    EXPECT_LT(std::fabs(latLonOf(p).lat - alps.lat) * 111.2, 10.1) << sides;
                    farthestEast = std::max(farthestEast, east);
                }
            }
            EXPECT_GT(farthestEast, 54.0) << sides;  // the outer lobe up to the area's border
        }
    }
}

TEST(Clip, DefaultMargin) {
    EXPECT_DOUBLE_EQ(defaultClipMarginKm(20.0), 5.0);
    EXPECT_DOUBLE_EQ(defaultClipMarginKm(50.0), 5.0);
    EXPECT_DOUBLE_EQ(defaultClipMarginKm(120.0), 12.0);
}

}  // namespace
}  // namespace airspace
