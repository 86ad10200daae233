// Simplified outlines: never smaller than the airspace the instrument would hold, never farther
// from it than the tolerance, never more bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/OutlineChecks.h"
#include "airspace/OutlineDecoder.h"
#include "airspace/OutwardBuffer.h"
#include "airspace/Selection.h"
#include "airspace/Simplify.h"
#include "bench/NationalAirspace.h"
#include "tests/airspace/OpenAirGenerator.h"
#include "tests/airspace/TestSupport.h"

namespace airspace {
namespace {

constexpr double kPi = 3.141592653589793;

std::string coordinate(double lat, double lon) {
    char text[64];
    auto half = [](double v, int width, char pos, char neg, char* out) {
        const double a = std::fabs(v);
        const int d = static_cast<int>(a);
        const double m = (a - d) * 60.0;
        std::snprintf(out, 32, "%0*d:%06.3f%c", width, d, m, v < 0 ? neg : pos);
    };
    char lat_[32], lon_[32];
    half(lat, 2, 'N', 'S', lat_);
    half(lon, 3, 'E', 'W', lon_);
    std::snprintf(text, sizeof text, "%s %s", lat_, lon_);
    return text;
}

// A park-like outline: a lobed, wavy shape of `points` points, either winding, with an arc
// before it when `withArc`.
std::string park(int points, bool clockwise, bool withArc, double lat = 46.5, double lon = 7.5) {
    std::string text = "AC R\nAN Park\n";
    if (withArc) text += "V X=" + coordinate(lat, lon) + "\nDA 8,0,40\n";
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(-0.00003, 0.00003);
    for (int i = 0; i < points; ++i) {
        double a = 2 * kPi * i / points;
        if (clockwise) a = -a;
        if (withArc) a = 0.25 * kPi + 1.3 * kPi * i / points;  // the rest of the way round
        const double r = 0.12 * (1 + 0.15 * std::sin(3 * a) + 0.03 * std::sin(23 * a));
        text += "DP " +
                coordinate(lat + r * std::cos(a) + noise(random),
                           lon + r * std::sin(a) / std::cos(lat * kPi / 180) + noise(random)) +
                "\n";
    }
    return text;
}

// A rounded outline as exports write one: `points` points round `lobes` gentle lobes, 13 km out
// unless `radius` (degrees of latitude) says otherwise.
std::string lobed(int points, double radius = 0.117, int lobes = 3, double depth = 0.1) {
    std::string text = "AC R\nAN Lobed\n";
    for (int i = 0; i < points; ++i) {
        const double a = 2 * kPi * i / points;
        const double r = radius * (1 + depth * std::sin(lobes * a));
        text += "DP " + coordinate(46.0 + r * std::cos(a), 8.0 + r * std::sin(a) / 0.695) + "\n";
    }
    return text;
}

LatLon latLonOf(GeoPoint p) {
    return {p.lat / 6000.0, p.lon / 6000.0};
}

void expectFitsAround(const AirspaceRecord& original, const AirspaceRecord& simple,
                      double toleranceMetres, const std::string& where) {
    testing::expectSoundEncoding(simple, where);
    ASSERT_LE(simple.encodedSize(), original.encodedSize()) << where;
    const auto held = decodeOutlinePoints(original);
    const auto outline = decodeOutlinePoints(simple);
    // Every point the instrument held before is still inside (or on) the new outline.
    // (Every few points of the large ones keeps the test fast.)
    const std::size_t step = held.size() > 500 ? 25 : 1;
    for (std::size_t i = 0; i < held.size(); i += step) {
        ASSERT_LE(distanceToOutlineKm(outline, latLonOf(held[i])), 0.0005) << where;
    }
    // And no new vertex lies farther out than the tolerance (a metre of slack for the sphere).
    for (const GeoPoint& p : outline) {
        ASSERT_LE(distanceToOutlineKm(held, latLonOf(p)) * 1000.0, toleranceMetres + 1.0) << where;
    }
}

TEST(Simplification, ContainsTheHeldOutlineWithinTheTolerance) {
    const struct {
        const char* name;
        std::string text;
        double tolerance;
        bool shrinks;
        std::size_t mostBytes = 0;  // 0: a quarter of the original
    } cases[] = {
        {"8000 points, counter-clockwise", park(8000, false, false), 100.0, true},
        // Chords across the bays between the lobes start near the original, where they have the
        // most room (grown by most of the tolerance there too, they took 334 and 642 bytes).
        {"8000 points, clockwise", park(8000, true, false), 250.0, true, 300},
        {"300 points 270 m apart", park(300, false, false), 100.0, true, 430},
        // Corners may fall partway along the growth's long edges, past corners of the original
        // (ending only where the original's corners are, it took 102 bytes).
        {"37 points 2 km apart", lobed(37), 250.0, true, 80},
        // A chord that cannot pass one bump may still reach past the next (ending before the
        // first end that failed, it took 58 bytes, and the 300 points above 442).
        {"900 points round seven bumps", lobed(900, 0.036, 7, 0.06), 250.0, true, 44},
        {"arc then points", park(2000, false, true), 100.0, true},
        {"southern hemisphere, west", park(3000, false, false, -41.3, -72.5), 100.0, true},
        {"a triangle",
         "AC R\nDP 47:00:00N 008:00:00E\nDP 47:06:00N 008:00:00E\n"
         "DP 47:06:00N 008:06:00E\n",
         250.0, false},
        // Self-touching: a figure of eight keeps its original.
        {"figure of eight",
         "AC R\nDP 47:00:00N 008:00:00E\nDP 47:06:00N 008:06:00E\n"
         "DP 47:06:00N 008:00:00E\nDP 47:00:00N 008:06:00E\n",
         250.0, false},
    };
    for (const auto& c : cases) {
        const AirspaceRecord original(c.text);
        ASSERT_GT(original.encodedSize(), 0u) << c.name;
        const AirspaceRecord simple = simplifiedAirspace(original, c.tolerance);
        expectFitsAround(original, simple, c.tolerance, c.name);
        if (c.shrinks) {
            const std::size_t most =
                c.mostBytes != 0 ? c.mostBytes : (original.encodedSize() - 1) / 4;
            EXPECT_LE(simple.encodedSize(), most) << c.name;
        } else {
            EXPECT_EQ(testing::storedHex(simple), testing::storedHex(original)) << c.name;
        }
        // Off means off: the very same bytes.
        EXPECT_EQ(testing::storedHex(simplifiedAirspace(original, 0.0)),
                  testing::storedHex(original))
            << c.name;
    }
}

TEST(Simplification, HoldsOnGeneratedFiles) {
    std::string text;
    testing::GeneratorOptions options;
    options.largePolygonEvery = 20;
    testing::OpenAirGenerator(11, options).appendAirspaces(text, 80);
    std::size_t plain = 0;
    std::size_t simple = 0;
    for (const AirspaceRecord& record : parseAirspaces(text)) {
        if (record.encodedSize() == 0) continue;
        const AirspaceRecord simplified = simplifiedAirspace(record, 250.0);
        expectFitsAround(record, simplified, 250.0, record.name);
        plain += record.encodedSize();
        simple += simplified.encodedSize();
    }
    EXPECT_LT(simple, plain);
}

// The outlines of real files: touching and crossing themselves, repeating points, spiking,
// zig-zagging. Each simplifies at 250 m and at 100 m to under a tenth of its bytes, still covers
// all the instrument held and strays no more than 250 m; the arcs of a mixed outline stay.
TEST(Simplification, WorksOnRealWorldDefects) {
    using National = bench::NationalAirspace;
    using Defect = National::Defect;
    const struct {
        const char* name;
        std::string text;
        bool touchesItself;
    } cases[] = {
        {"figure-eight pinch",
         National::defectiveAirspace(Defect::FigureEightPinch, 1, 46.5, 7.5, 1), true},
        {"border meeting itself round a hole",
         National::defectiveAirspace(Defect::MeetsItself, 2, 46.0, 8.0, 2), true},
        {"repeated points, a stretch walked back",
         National::defectiveAirspace(Defect::RepeatedPoints, 3, 45.5, 6.5, 3), true},
        {"spikes", National::defectiveAirspace(Defect::Spikes, 4, 47.0, 9.0, 4), true},
        {"zig-zag", National::defectiveAirspace(Defect::ZigZag, 5, 44.8, 10.0, 5), false},
        {"8,400 points 20 m apart crossing itself",
         National::defectiveAirspace(Defect::Crossing8000, 6, 46.2, 7.0, 6), true},
        {"southern hemisphere, west, pinched",
         National::defectiveAirspace(Defect::FigureEightPinch, 7, -41.3, -72.5, 7), true},
    };
    for (const double tolerance : {250.0, 100.0})
        for (const auto& c : cases) {
            SCOPED_TRACE(tolerance);
            const AirspaceRecord original = parseAirspaces(c.text).at(0);
            const std::vector<GeoPoint> held = decodeOutlinePoints(original);
            ASSERT_GT(original.encodedSize(), 0u) << c.name;
            EXPECT_EQ(isSimplePolygon(held), !c.touchesItself) << c.name;

            const SimplifiedOutline simple = simplifyOutward(original, tolerance);
            EXPECT_FALSE(simple.keptOriginal) << c.name << ": " << simple.reason;
            EXPECT_LT(simple.record.encodedSize() * 10, original.encodedSize()) << c.name;
            const std::vector<GeoPoint> outline = decodeOutlinePoints(simple.record);
            EXPECT_TRUE(isSimplePolygon(outline)) << c.name;
            expectFitsAround(original, simple.record, tolerance, c.name);
            // Between the vertices too: the middle of every new edge stays within the tolerance.
            for (std::size_t i = 0; i < outline.size(); ++i) {
                const GeoPoint a = outline[i];
                const GeoPoint b = outline[(i + 1) % outline.size()];
                const LatLon middle{(a.lat + b.lat) / 12000.0, (a.lon + b.lon) / 12000.0};
                ASSERT_LE(distanceToOutlineKm(held, middle) * 1000.0, tolerance + 1.0) << c.name;
            }
        }
}

TEST(Simplification, RunsBesideArcsAndWhatIsKept) {
    const AirspaceRecord mixed(park(3000, false, true));
    const SimplifiedOutline simple = simplifyOutward(mixed, 250.0);
    ASSERT_FALSE(simple.keptOriginal) << simple.reason;
    ASSERT_EQ(simple.record.elements.size(), mixed.elements.size());
    for (std::size_t i = 0; i < mixed.elements.size(); ++i) {
        EXPECT_EQ(simple.record.elements[i].kind, mixed.elements[i].kind);
        if (mixed.elements[i].kind != ElementKind::PointRun) {
            EXPECT_EQ(simple.record.elements[i].points, mixed.elements[i].points);
        }
    }
    EXPECT_LT(simple.record.encodedSize() * 10, mixed.encodedSize());
    expectFitsAround(mixed, simple.record, 250.0, "arc then points");

    // Nothing to gain: the original, and the report says why; tolerance 0 is no simplifying.
    const AirspaceRecord triangle(
        "AC R\nDP 47:00:00N 008:00:00E\nDP 47:06:00N 008:00:00E\nDP 47:06:00N 008:06:00E\n");
    const SimplifiedOutline kept = simplifyOutward(triangle, 250.0);
    EXPECT_TRUE(kept.keptOriginal);
    EXPECT_FALSE(kept.reason.empty());
    EXPECT_EQ(testing::storedHex(kept.record), testing::storedHex(triangle));
    const SimplifiedOutline off = simplifyOutward(mixed, 0.0);
    EXPECT_FALSE(off.keptOriginal);
    EXPECT_EQ(testing::storedHex(off.record), testing::storedHex(mixed));
}

// The outer border the buffer grows from: however the outline is drawn, one counter-clockwise
// loop round all it encloses.
TEST(Simplification, OuterBorderOfBadlyDrawnOutlines) {
    using P = Planar;
    const struct {
        const char* name;
        std::vector<P> outline;
        double area;
        std::size_t points;  // a crossing or a spike's foot counts each time it is passed
    } cases[] = {
        {"bow tie crossing itself", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, 50.0, 6},
        {"square with a spike out",
         {{0, 0}, {10, 0}, {10, 5}, {20, 5}, {10, 5}, {10, 10}, {0, 10}},
         100.0,
         7},
        {"square walked twice",
         {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}},
         100.0,
         4},
        {"square drawn clockwise", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 100.0, 4},
        {"two squares touching at a corner",
         {{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}, {0, 10}},
         200.0,
         8},
    };
    for (const auto& c : cases) {
        const std::vector<P> border = outerBorder(c.outline);
        double twice = 0.0;
        for (std::size_t i = 0; i < border.size(); ++i) {
            const P a = border[i];
            const P b = border[(i + 1) % border.size()];
            twice += a.x * b.y - a.y * b.x;
        }
        EXPECT_NEAR(twice / 2.0, c.area, 1e-9) << c.name;
        EXPECT_EQ(border.size(), c.points) << c.name;
    }
}

}  // namespace
}  // namespace airspace
