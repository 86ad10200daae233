// Control zones written as polygons of a circle become the instrument's own circle: 8 bytes
// instead of hundreds, never smaller than the outline, never farther out than the tolerance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "airspace/CircleFit.h"
#include "airspace/OutlineChecks.h"
#include "airspace/OutlineDecoder.h"
#include "airspace/Simplify.h"
#include "tests/airspace/TestSupport.h"

namespace airspace {
namespace {

constexpr double kPi = 3.141592653589793;

enum class Shape { Circle, Square, HalfDisc, Lobed };

// One coordinate half in whole seconds as openAIP writes it (a value rounding to 60 written as
// 60), or in decimal minutes.
std::string half(double degrees, char positive, char negative, int width, bool seconds) {
    const char letter = degrees < 0 ? negative : positive;
    const double a = std::fabs(degrees);
    const int d = static_cast<int>(a);
    const double minutes = (a - d) * 60.0;
    char text[40];
    if (seconds) {
        const int m = static_cast<int>(minutes);
        std::snprintf(text, sizeof text, "%0*d:%02d:%02ld %c", width, d, m,
                      std::lround((minutes - m) * 60.0), letter);
    } else {
        std::snprintf(text, sizeof text, "%0*d:%06.3f %c", width, d, minutes, letter);
    }
    return text;
}

// A closed run of `points` points round (lat, lon), `radiusKm` out, starting at `startDegrees`.
std::string outline(Shape shape, double lat, double lon, double radiusKm, int points,
                    bool repeatFirst, bool seconds, double startDegrees) {
    std::string text = "AC D\nAY CTR\nAN TEST CTR\nAL GND\nAH 4500ft MSL\n";
    const double cosLat = std::cos(lat * kPi / 180.0);
    std::string first;
    for (int i = 0; i < points; ++i) {
        double a = startDegrees * kPi / 180.0 + 2.0 * kPi * i / points;
        double r = radiusKm;
        if (shape == Shape::Lobed) r *= 1.0 + 0.1 * std::sin(7.0 * a);
        if (shape == Shape::Square) r /= std::max(std::fabs(std::cos(a)), std::fabs(std::sin(a)));
        if (shape == Shape::HalfDisc && std::sin(a) < 0.0) {
            r *= std::fabs(std::cos(a));  // the straight side, through the centre
            a = std::cos(a) > 0.0 ? 0.0 : kPi;
        }
        const double north = r * std::cos(a) / 111.2;
        const double east = r * std::sin(a) / 111.2 / cosLat;
        const std::string dp = "DP " + half(lat + north, 'N', 'S', 2, seconds) + " " +
                               half(lon + east, 'E', 'W', 3, seconds);
        if (i == 0) first = dp;
        text += dp + "\n";
    }
    if (repeatFirst) text += first + "\n";
    return text;
}

TEST(CircleFit, PolygonsOfCirclesBecomeTheInstrumentsCircle) {
    struct Case {
        const char* what;
        Shape shape;
        double radiusKm;
        int points;
        bool repeatFirst;
        bool seconds;
        double toleranceMetres;
        bool circle;
        double lat = 46.5;
        double lon = 7.5;
        double start = 0.0;
    };
    const Case cases[] = {
        {"1 km, 36 points, openAIP seconds", Shape::Circle, 1.0, 36, true, true, 250, true},
        {"1 km, 180 points", Shape::Circle, 1.0, 180, false, false, 250, true},
        {"5 km, 72 points, openAIP seconds", Shape::Circle, 5.0, 72, true, true, 250, true},
        {"5 km, 36 points, started at 7 degrees", Shape::Circle, 5.0, 36, true, true, 250, true,
         46.5, 7.5, 7.0},
        {"5 km, 180 points, south and west", Shape::Circle, 5.0, 180, true, true, 250, true, -33.4,
         -70.7},
        {"8 km, 72 points, openAIP seconds", Shape::Circle, 8.0, 72, true, true, 250, true},
        {"12 km, 72 points, at 500 m", Shape::Circle, 12.0, 72, true, true, 500, true},
        {"12 km, 180 points, at 100 m", Shape::Circle, 12.0, 180, true, true, 100, false},
        // The 16-gon's corners alone stand 2 % of the radius out: 235 m at 12 km.
        {"12 km, 180 points, at 250 m", Shape::Circle, 12.0, 180, true, true, 250, false},
        {"30 km, 72 points, at 250 m", Shape::Circle, 30.0, 72, true, true, 250, false},
        {"30 km, 72 points, at 1000 m", Shape::Circle, 30.0, 72, true, true, 1000, true},
        {"a square of 10 km", Shape::Square, 5.0, 72, true, true, 250, false},
        {"a half disc of 5 km", Shape::HalfDisc, 5.0, 72, true, true, 250, false},
        {"a ring of 5 km with 10 % lobes", Shape::Lobed, 5.0, 72, true, true, 250, false},
    };
    for (const Case& c : cases) {
        const AirspaceRecord record = testing::recordOf(outline(
            c.shape, c.lat, c.lon, c.radiusKm, c.points, c.repeatFirst, c.seconds, c.start));
        ASSERT_GT(record.encodedSize(), 100u) << c.what;
        const std::optional<AirspaceRecord> circle = circleInstead(record, c.toleranceMetres);
        EXPECT_EQ(circle.has_value(), c.circle) << c.what;
        if (!circle) continue;
        EXPECT_EQ(circle->encodedSize(), 8u) << c.what;
        EXPECT_EQ(circle->name, "TEST CTR") << c.what;
        EXPECT_EQ(circle->ceiling, "4500ft MSL") << c.what;
        ASSERT_EQ(circle->elements.size(), 1u) << c.what;
        EXPECT_EQ(circle->elements[0].kind, ElementKind::Circle) << c.what;
        const std::vector<GeoPoint> held = decodeOutlinePoints(record);
        const std::vector<GeoPoint> sixteenGon = decodeOutlinePoints(*circle);
        EXPECT_TRUE(coversOutline(sixteenGon, held)) << c.what;
        EXPECT_LE(farthestStray(sixteenGon, held, 5.0), c.toleranceMetres) << c.what;
        // And the simplifier sends it so.
        const SimplifiedOutline simple = simplifyOutward(record, c.toleranceMetres);
        EXPECT_FALSE(simple.keptOriginal) << c.what;
        EXPECT_EQ(simple.record.storedBytes().size(), 8u) << c.what;
    }
}

}  // namespace
}  // namespace airspace
