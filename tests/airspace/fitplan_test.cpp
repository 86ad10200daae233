// The fit's plan: its order of importance, auto tolerance, and identical outlines sent once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/FitPlan.h"
#include "airspace/OutlineChecks.h"
#include "airspace/OutlineDecoder.h"
#include "bench/NationalAirspace.h"

namespace airspace {
namespace {

constexpr LatLon kTakeOff{46.0, 8.0};
constexpr double kKmPerDegree = 111.19;

std::string point(double lat, double lon) {
    auto half = [](double degrees, char positive, char negative, int width) {
        const double value = std::fabs(degrees);
        const int whole = static_cast<int>(value);
        char text[32];
        std::snprintf(text, sizeof text, "%0*d:%06.3f %c", width, whole, (value - whole) * 60.0,
                      degrees < 0 ? negative : positive);
        return std::string(text);
    };
    return "DP " + half(lat, 'N', 'S', 2) + " " + half(lon, 'E', 'W', 3) + "\n";
}

std::string heading(const std::string& type, const std::string& name, const char* floor = "GND") {
    return "AC " + type + "\nAN " + name + "\nAL " + floor + "\nAH FL100\n";
}

// A square of about 2 km whose south edge lies `northKm` north of the take-off (18 bytes); a
// negative distance puts the take-off inside a larger one.
std::string square(const std::string& type, const std::string& name, double northKm) {
    const double south = kTakeOff.lat + northKm / kKmPerDegree;
    const double size = northKm < 0 ? -2 * northKm / kKmPerDegree : 0.018;
    const double west = northKm < 0 ? kTakeOff.lon - size : kTakeOff.lon;
    return heading(type, name) + point(south, west) + point(south, west + size) +
           point(south + size, west + size) + point(south + size, west);
}

// A park of 400 points a few metres out of line, such as a traced boundary: 20 km north.
std::string park() {
    std::string text = heading("GP", "Park");
    const double centreLat = kTakeOff.lat + 30.0 / kKmPerDegree;
    for (int i = 0; i < 400; ++i) {
        const double a = 2 * 3.141592653589793 * i / 400;
        const double wiggle = (i % 2 == 0 ? 1.0 : 0.999);
        text += point(centreLat + 0.09 * std::sin(a) * wiggle,
                      kTakeOff.lon + 0.13 * std::cos(a) * wiggle);
    }
    return text;
}

std::vector<AirspaceRecord> recordsOf(const std::string& text) {
    return parseAirspaces(text);
}

FitOptions nearTakeOff(std::size_t budget) {
    FitOptions options;
    options.criteria.near = kTakeOff;
    options.criteria.radiusKm = 50.0;
    options.fit = true;
    options.budget = budget;
    return options;
}

// One table for the order of the fit: pins, preferred types, region types last, nearest first,
// exclusions, and auto's tolerance.
TEST(FitPlanOrder, PinsPreferenceNearestExclusionAndAuto) {
    const std::vector<AirspaceRecord> records =
        recordsOf(square("Q", "Glider sector", 2) + square("CTR", "Control zone", 20) +
                  square("FIR", "Flight information region", -30) + square("R", "Range", 10) +
                  square("W", "Drop zone", 5) + park());
    ASSERT_EQ(records.size(), 6u);
    for (std::size_t i = 0; i < 5; ++i) ASSERT_EQ(records[i].encodedSize(), 18u) << i;
    const std::size_t parkPlain = records[5].encodedSize();
    ASSERT_GT(parkPlain, 1000u);

    const struct {
        const char* what;
        std::size_t budget;
        std::function<void(FitOptions&)> change;
        std::vector<std::size_t> selected;
        std::vector<std::size_t> leftOut;
        double tolerance;
    } cases[] = {
        {"no preference: nearest first, as the fit always was",
         54,
         [](FitOptions& o) { o.preferredTypes.clear(); },
         {0, 2, 4},
         {1, 3, 5},
         0},
        {"preferred types first, nearest among them; the FIR last",
         54,
         [](FitOptions&) {},
         {0, 1, 3},
         {2, 4, 5},
         0},
        {"a pinned airspace before everything",
         54,
         [](FitOptions& o) { o.pinned = {4}; },
         {1, 3, 4},
         {0, 2, 5},
         0},
        {"a pinned airspace outside the radius comes along",
         72,
         [](FitOptions& o) {
             o.pinned = {1};
             o.criteria.radiusKm = 15;
         },
         {0, 1, 3, 4},
         {2},
         0},
        {"an excluded airspace never goes, even pinned",
         54,
         [](FitOptions& o) {
             o.excluded = {3};
             o.pinned = {3};
         },
         {0, 1, 4},
         {2, 5},
         0},
        {"the pilot's own preference replaces the default",
         54,
         [](FitOptions& o) {
             o.preferredTypes = {"q", "fir"};
         },
         {0, 2, 4},
         {1, 3, 5},
         0},
        {"auto: no simplification where everything fits",
         90 + parkPlain,
         [](FitOptions& o) { o.autoTolerance = true; },
         {0, 1, 2, 3, 4, 5},
         {},
         0},
        {"auto: at the ceiling the farthest of the least preferred stays out",
         90,
         [](FitOptions& o) {
             o.autoTolerance = true;
             o.autoCeilingMetres = 100;
         },
         {0, 1, 2, 3, 4},
         {5},
         100},
    };
    for (const auto& c : cases) {
        FitOptions options = nearTakeOff(c.budget);
        c.change(options);
        const FitPlan plan = planFit(records, options);
        EXPECT_EQ(plan.selected, c.selected) << c.what;
        EXPECT_EQ(plan.leftOut, c.leftOut) << c.what;
        EXPECT_EQ(plan.toleranceMetres, c.tolerance) << c.what;
        EXPECT_LE(plan.bytes, c.budget) << c.what;
        std::size_t sent = 0;
        for (const SentOutline& outline : plan.outlines) sent += outline.record.encodedSize();
        EXPECT_EQ(sent, plan.bytes) << c.what;
    }

    // Without a preference and without the new options, the plan is today's fit, byte for byte.
    FitOptions plain = nearTakeOff(54);
    plain.preferredTypes.clear();
    std::vector<std::size_t> sizes;
    for (const AirspaceRecord& record : records) sizes.push_back(record.encodedSize());
    const FitResult today = fitToBudget(matchAirspaces(records, plain.criteria), sizes, 54);
    EXPECT_EQ(planFit(records, plain).selected, today.selected);
    EXPECT_EQ(planFit(records, plain).bytes, today.bytes);

    // Auto takes the least tolerance at which the park fits: it simplifies no further than needed.
    FitOptions fixed = nearTakeOff(100000);
    fixed.toleranceMetres = 100;
    const std::size_t at100 = planFit(records, fixed).bytes;
    fixed.toleranceMetres = 50;
    const std::size_t at50 = planFit(records, fixed).bytes;
    ASSERT_LT(at100, at50);
    FitOptions automatic = nearTakeOff(at100);
    automatic.autoTolerance = true;
    const FitPlan chosen = planFit(records, automatic);
    EXPECT_EQ(chosen.toleranceMetres, 100);
    EXPECT_TRUE(chosen.leftOut.empty());
    EXPECT_EQ(chosen.find(5)->toleranceMetres, 100);
    EXPECT_LT(chosen.find(5)->outlineBytes, parkPlain / 4);
    // What goes for the park covers it and strays from it by no more than the tolerance.
    const std::vector<GeoPoint> sent = decodeOutlinePoints(chosen.outlines.back().record);
    const std::vector<GeoPoint> held = decodeOutlinePoints(records[5]);
    EXPECT_EQ(chosen.outlines.back().index, 5u);
    EXPECT_TRUE(coversOutline(sent, held));
    EXPECT_LE(farthestStray(sent, held, 5.0), 100.0);
}

// Layers of one TMA and zones sharing one shape: the instrument holds the outline once.
TEST(FitPlanSharing, IdenticalOutlinesAreSentOnceWhenFitting) {
    const std::string shape = square("TMA", "Layer", 3).substr(heading("TMA", "Layer").size());
    const std::vector<AirspaceRecord> records = recordsOf(
        heading("TMA", "TMA 1", "1500ft") + shape + square("R", "Range", 10) +
        heading("TMA", "TMA 2", "FL65") + shape + heading("TMA", "TMA 3", "FL95") + shape);
    ASSERT_EQ(records.size(), 4u);

    const FitPlan fitted = planFit(records, nearTakeOff(kDeviceCapacity));
    EXPECT_EQ(fitted.selected, (std::vector<std::size_t>{0, 1, 2, 3}));
    ASSERT_EQ(fitted.outlines.size(), 2u);
    EXPECT_EQ(fitted.outlines[0].index, 0u);
    EXPECT_EQ(fitted.outlines[1].index, 1u);
    EXPECT_EQ(fitted.bytes, 36u);
    for (const std::size_t layer : {2u, 3u}) {
        const PlannedAirspace* planned = fitted.find(layer);
        ASSERT_NE(planned, nullptr);
        EXPECT_TRUE(planned->selected);
        EXPECT_EQ(planned->sharedWith, std::optional<std::size_t>(0));
        EXPECT_EQ(planned->sentBytes, 0u);
        EXPECT_EQ(planned->pieces, 0u);
    }
    EXPECT_EQ(fitSummary(fitted),
              "4 matched, 4 selected: 2 share an outline, 0 left out for lack of space; 36 bytes, "
              "3 blocks of 228");

    // A shared outline costs nothing, so the layers fit where a copy each would not.
    const FitPlan tight = planFit(records, nearTakeOff(36));
    EXPECT_EQ(tight.selected.size(), 4u);
    // And auto, which needs no tolerance for them, goes down to none.
    FitOptions automatic = nearTakeOff(36);
    automatic.autoTolerance = true;
    EXPECT_EQ(planFit(records, automatic).toleranceMetres, 0.0);

    // Without fitting, every airspace goes as it always did.
    FitOptions plain = nearTakeOff(kDeviceCapacity);
    plain.fit = false;
    const FitPlan all = planFit(records, plain);
    EXPECT_EQ(all.outlines.size(), 4u);
    EXPECT_EQ(all.bytes, 72u);
    EXPECT_EQ(fitSummary(all), "4 matched, 4 selected; 72 bytes, 6 blocks of 228");
    EXPECT_EQ(groupedNumber(2480), "2,480");
}

// Cutting to the flying area: a far-reaching airspace sends only its part around the radius,
// with the cut edges marked; what lies inside the radius whole, and a pinned airspace beyond the
// area, goes whole.
TEST(FitPlanCut, FarReachingOutlinesAreCutToTheRadius) {
    std::string region = heading("FIR", "Region");
    for (int i = 0; i < 120; ++i) {
        const double a = 2 * 3.141592653589793 * i / 120;
        region += point(kTakeOff.lat + 1.35 * std::sin(a), kTakeOff.lon + 1.9 * std::cos(a));
    }
    const std::vector<AirspaceRecord> records =
        recordsOf(region + square("R", "Range", 10) + square("Q", "Far sector", 120));
    FitOptions options = nearTakeOff(kDeviceCapacity);
    options.clip = true;
    options.pinned = {2};
    const FitPlan plan = planFit(records, options);
    ASSERT_EQ(plan.selected, (std::vector<std::size_t>{0, 1, 2}));

    const PlannedAirspace& cut = *plan.find(0);
    EXPECT_TRUE(cut.clipped);
    EXPECT_LT(cut.sentBytes, cut.plainBytes / 2);
    ASSERT_GE(plan.outlines.size(), 3u);
    EXPECT_EQ(plan.outlines[0].index, 0u);
    const std::vector<bool>& edges = plan.outlines[0].cutEdges;
    EXPECT_EQ(edges.size(), decodeOutlinePoints(plan.outlines[0].record).size());
    EXPECT_NE(std::count(edges.begin(), edges.end(), true), 0);
    for (const std::size_t whole : {1u, 2u}) {
        EXPECT_FALSE(plan.find(whole)->clipped) << whole;
        EXPECT_EQ(plan.find(whole)->sentBytes, records[whole].encodedSize()) << whole;
    }
    EXPECT_NE(fitSummary(plan).find("1 always included, 1 cut to the radius"), std::string::npos)
        << fitSummary(plan);
}

// Whether p (in units) lies inside `polygon` or within a unit of its outline.
bool insideOrNear(double x, double y, const std::vector<GeoPoint>& polygon) {
    bool inside = false;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const double ax = polygon[j].lon, ay = polygon[j].lat;
        const double bx = polygon[i].lon, by = polygon[i].lat;
        const double dx = bx - ax, dy = by - ay;
        const double l2 = dx * dx + dy * dy;
        const double t = l2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / l2, 0.0, 1.0) : 0;
        if (std::hypot(x - ax - dx * t, y - ay - dy * t) <= 1.0) return true;
        if ((ay > y) != (by > y) && x < ax + dx * (y - ay) / dy) inside = !inside;
    }
    return inside;
}

// Around take-offs of a generated national file with the faults of real ones, at 250 m with
// cutting: the fit keeps at least as many airspaces as it now does, within the store, and what
// is sent for each selected airspace (its pieces, or the outline it shares) covers all that the
// instrument would hold of it within the radius, and no more than the tolerance beyond it.
TEST(FitPlanCoverage, WhatIsSentCoversEachAirspaceWithinTheRadius) {
    const std::vector<AirspaceRecord> records =
        parseAirspaces(bench::NationalAirspace().fileWithDefects(800, 6, 1));
    struct Case {
        LatLon takeOff;
        std::size_t atLeast;  // kept of the 48 to 61 matched
    };
    const Case cases[] = {
        {{46.0, 8.0}, 46}, {{45.2, 6.3}, 47}, {{47.3, 9.9}, 52}, {{44.6, 7.4}, 47}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.takeOff.lat);
        FitOptions options;
        options.criteria.near = c.takeOff;
        options.criteria.radiusKm = 50.0;
        options.fit = true;
        options.toleranceMetres = 250.0;
        options.clip = true;
        const FitPlan plan = planFit(records, options);
        EXPECT_GE(plan.selected.size(), c.atLeast);
        EXPECT_LE(plan.bytes, kDeviceCapacity);
        for (const std::size_t index : plan.selected) {
            const PlannedAirspace* planned = plan.find(index);
            ASSERT_NE(planned, nullptr);
            const std::size_t sentAs = planned->sharedWith ? *planned->sharedWith : index;
            std::vector<std::vector<GeoPoint>> sent;
            for (const SentOutline& outline : plan.outlines) {
                if (outline.index == sentAs) sent.push_back(decodeOutlinePoints(outline.record));
            }
            ASSERT_FALSE(sent.empty()) << index;
            const std::vector<GeoPoint> held = decodeOutlinePoints(records[index]);
            std::size_t uncovered = 0;
            for (std::size_t i = 0; i < held.size(); ++i) {
                const GeoPoint a = held[i];
                const GeoPoint b = held[(i + 1) % held.size()];
                for (int k = 0; k < 8; ++k) {
                    const double x = a.lon + (b.lon - a.lon) * k / 8.0;
                    const double y = a.lat + (b.lat - a.lat) * k / 8.0;
                    const LatLon at{y / kUnitsPerDegree, x / kUnitsPerDegree};
                    if (greatCircleKm(c.takeOff, at) > options.criteria.radiusKm) continue;
                    const bool covered = std::any_of(sent.begin(), sent.end(), [&](const auto& p) {
                        return insideOrNear(x, y, p);
                    });
                    uncovered += covered ? 0 : 1;
                }
            }
            EXPECT_EQ(uncovered, 0u) << "airspace " << index;
            // And nothing else: a point between two corners of what is sent, inside it and
            // within the radius, lies inside the airspace or within the tolerance of it.
            std::size_t strays = 0;
            for (const auto& outline : sent) {
                const std::size_t n = outline.size();
                for (std::size_t k = 0; k < n; ++k) {
                    const GeoPoint a = outline[k];
                    const GeoPoint b = outline[(k + n / 2) % n];
                    const double x = (a.lon + b.lon) / 2.0, y = (a.lat + b.lat) / 2.0;
                    const LatLon at{y / kUnitsPerDegree, x / kUnitsPerDegree};
                    if (greatCircleKm(c.takeOff, at) > options.criteria.radiusKm ||
                        !insideOrNear(x, y, outline) || insideOrNear(x, y, held)) {
                        continue;
                    }
                    strays += distanceToOutlineKm(held, at) > 0.25 ? 1 : 0;
                }
            }
            EXPECT_EQ(strays, 0u) << "airspace " << index;
        }
    }
}

}  // namespace
}  // namespace airspace
