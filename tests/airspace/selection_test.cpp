// Heights, places, distances and the fit rule of the airspace selection.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "airspace/Selection.h"

namespace airspace {
namespace {

TEST(HeightReader, ReadsTheFormsRealFilesUse) {
    constexpr double kFeetPerMetre = 1.0 / 0.3048;
    const struct {
        const char* text;
        HeightReference reference;
        double feet;
    } cases[] = {
        {"FL 65", HeightReference::FlightLevel, 6500},
        {"FL65", HeightReference::FlightLevel, 6500},
        {"fl095", HeightReference::FlightLevel, 9500},
        {"2500ft", HeightReference::MeanSeaLevel, 2500},
        {"2500 ft MSL", HeightReference::MeanSeaLevel, 2500},
        {"2500FT AMSL", HeightReference::MeanSeaLevel, 2500},
        {"2500 MSL", HeightReference::MeanSeaLevel, 2500},
        {"2500", HeightReference::MeanSeaLevel, 2500},
        {"1000m", HeightReference::MeanSeaLevel, 1000 * kFeetPerMetre},
        {"1000 m AGL", HeightReference::Ground, 1000 * kFeetPerMetre},
        {"1000MSL", HeightReference::MeanSeaLevel, 1000},
        {"GND", HeightReference::Ground, 0},
        {"SFC", HeightReference::Ground, 0},
        {"0", HeightReference::Ground, 0},
        {"3000 ft GND", HeightReference::Ground, 3000},
        {"1500ASFC", HeightReference::Ground, 1500},
        {"1500 ft AGL", HeightReference::Ground, 1500},
        {"5000 ft STD", HeightReference::FlightLevel, 5000},
        {"UNL", HeightReference::Unlimited, 0},
        {"UNLIM", HeightReference::Unlimited, 0},
        {"UNLTD", HeightReference::Unlimited, 0},
        {"", HeightReference::Unknown, 0},
        {"ASK ATC", HeightReference::Unknown, 0},
        {"FL", HeightReference::Unknown, 0},
        {"2500 ft QNH", HeightReference::Unknown, 0},
        {"GND/4500ft", HeightReference::Unknown, 0},
        {"-500ft", HeightReference::Unknown, 0},
    };
    for (const auto& c : cases) {
        const Height h = parseHeight(c.text);
        EXPECT_EQ(h.reference, c.reference) << c.text;
        EXPECT_NEAR(h.feet, c.feet, 1e-6) << c.text;
    }
    EXPECT_EQ(parseAltitudeLimitFeet("FL100"), 10000.0);
    EXPECT_EQ(parseAltitudeLimitFeet("3000ft"), 3000.0);
    EXPECT_FALSE(parseAltitudeLimitFeet("high").has_value());
}

TEST(PlaceReader, ReadsPointsAndDistancesAsPilotsWriteThem) {
    const struct {
        const char* text;
        bool ok;
        double lat, lon;
    } points[] = {
        {"46.7N 7.6E", true, 46.7, 7.6},
        {"46.7, 7.6", true, 46.7, 7.6},
        {"-41.3,174.8", true, -41.3, 174.8},
        {"46:42:00 N 007:36:00 E", true, 46.7, 7.6},
        {"41:18.0S 174:48.0E", true, -41.3, 174.8},
        {"7.6E 46.7N", true, 46.7, 7.6},
        {"N46.7 W7.6", true, 46.7, -7.6},
        // Decimal commas, and the marks of a word processor.
        {"45,2 N 5,7 E", true, 45.2, 5.7},
        {"45,2N, 5,7E", true, 45.2, 5.7},
        {"-41,3; 174,8", true, -41.3, 174.8},
        {"46,7,7,6", false, 0, 0},
        {"45\u00B012\u203200\u2033N 5\u00B042\u203236\u2033E", true, 45.2, 5.71},
        {"45\u00B012\u203200\u2032\u2032N 5\u00B042\u203236\u2032\u2032E", true, 45.2, 5.71},
        {"45\u00B012\u201900\u2019\u2019N 5\u00B042\u201936\u201DE", true, 45.2, 5.71},
        {"46,5", true, 46, 5},  // one comma and no point: a separator, as always
        {"46.7", false, 0, 0},
        {"95, 7", false, 0, 0},
        {"46.7N 7.6N", false, 0, 0},
        {"46:61:00 N 7:00:00 E", false, 0, 0},
        {"forty, six", false, 0, 0},
    };
    for (const auto& c : points) {
        const auto p = parseLatLon(c.text);
        ASSERT_EQ(p.has_value(), c.ok) << c.text;
        if (!p) continue;
        EXPECT_NEAR(p->lat, c.lat, 1e-9) << c.text;
        EXPECT_NEAR(p->lon, c.lon, 1e-9) << c.text;
    }
    EXPECT_EQ(parseDistanceKm("50km"), 50.0);
    EXPECT_EQ(parseDistanceKm("50"), 50.0);
    EXPECT_NEAR(*parseDistanceKm("27 nm"), 50.004, 1e-9);
    EXPECT_NEAR(*parseDistanceKm("800m"), 0.8, 1e-12);
    EXPECT_FALSE(parseDistanceKm("-5km").has_value());
    EXPECT_FALSE(parseDistanceKm("far").has_value());
}

std::string square(const std::string& south, const std::string& north, const std::string& west,
                   const std::string& east) {
    return "AC R\nAN Square\nDP " + south + " " + west + "\nDP " + north + " " + west + "\nDP " +
           north + " " + east + "\nDP " + south + " " + east + "\n";
}

TEST(AirspaceDistance, IsTheGreatCircleToTheHeldOutline) {
    // 47:00 to 47:06 N, 8:00 to 8:06 E.
    const AirspaceRecord alps(square("47:00:00N", "47:06:00N", "008:00:00E", "008:06:00E"));
    // 0:00 to 0:06 N just west of the 180th meridian, 179:48 to 179:54 E.
    const AirspaceRecord dateLine(square("00:00:00N", "00:06:00N", "179:48:00E", "179:54:00E"));
    const double kmPerDegree = kEarthRadiusKm * 3.141592653589793 / 180.0;
    const struct {
        const AirspaceRecord* airspace;
        LatLon point;
        double km;
    } cases[] = {
        {&alps, {47.05, 8.05}, 0.0},                       // inside
        {&alps, {47.2, 8.05}, 0.1 * kmPerDegree},          // north of the north edge
        {&alps, {47.05, 8.0}, 0.0},                        // on the west edge
        {&alps, {46.9, 8.05}, 0.1 * kmPerDegree},          // south
        {&dateLine, {0.05, 179.85}, 0.0},                  // inside, near 180
        {&dateLine, {0.05, -179.95}, 0.15 * kmPerDegree},  // across the meridian, east
        {&dateLine, {0.05, 179.5}, 0.3 * kmPerDegree},     // west
    };
    for (const auto& c : cases) {
        const auto km = distanceToAirspaceKm(*c.airspace, c.point);
        ASSERT_TRUE(km.has_value());
        EXPECT_NEAR(*km, c.km, 0.05) << c.point.lat << "," << c.point.lon;
    }
    EXPECT_NEAR(greatCircleKm({0.0, 179.9}, {0.0, -179.9}), 0.2 * kmPerDegree, 1e-9);
    EXPECT_FALSE(distanceToAirspaceKm(AirspaceRecord("AC R\nAN none\n"), {47, 8}).has_value());
}

TEST(FitRule, NearestFirstTiesInFileOrderSkippingWhatDoesNotFit) {
    const std::vector<AirspaceMatch> matches = {
        {0, 5.0, false}, {1, 1.0, false}, {2, 1.0, false}, {3, 3.0, false}, {4, 0.5, false}};
    const std::vector<std::size_t> sizes = {100, 2000, 1500, 50, 0};
    const FitResult fit = fitToBudget(matches, sizes);
    EXPECT_EQ(fit.selected, (std::vector<std::size_t>{0, 1, 3}));
    EXPECT_EQ(fit.leftOut, (std::vector<std::size_t>{2}));
    EXPECT_EQ(fit.bytes, 2150u);
    EXPECT_EQ(fit.blocks(), 154u);
    // Without a point, file order decides.
    const FitResult plain =
        fitToBudget({{0, {}, false}, {1, {}, false}, {2, {}, false}}, {3000, 200, 100}, 3192);
    EXPECT_EQ(plain.selected, (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(plain.leftOut, (std::vector<std::size_t>{1}));
}

TEST(SelectionRule, CombinesTypeHeightNameAndPlace) {
    const std::vector<AirspaceRecord> records = {
        AirspaceRecord(square("47:00:00N", "47:06:00N", "008:00:00E", "008:06:00E") +
                       "AL GND\nAY TMZ\n"),
        AirspaceRecord("AC CTR\nAN Zurich CTR\nAL 2000ft\nV X=47:00:00N 008:30:00E\nDC 5\n"),
        AirspaceRecord("AC P\nAN Far Park\nAL FL100\nV X=40:00:00N 008:00:00E\nDC 5\n"),
        AirspaceRecord("AC R\nAN Unread floor\nAL see NOTAM\nV X=47:00:00N 008:00:00E\nDC 2\n"),
        AirspaceRecord("AC R\nAN No outline\nAL GND\n"),
    };
    auto indexes = [&](const SelectionCriteria& criteria) {
        std::vector<std::size_t> out;
        for (const auto& m : matchAirspaces(records, criteria)) out.push_back(m.index);
        return out;
    };
    SelectionCriteria any;
    EXPECT_EQ(indexes(any), (std::vector<std::size_t>{0, 1, 2, 3}));
    SelectionCriteria types;
    types.types = {"tmz", "ctr"};
    EXPECT_EQ(indexes(types), (std::vector<std::size_t>{0, 1}));
    SelectionCriteria low;
    low.floorBelowFeet = 3000;
    EXPECT_EQ(indexes(low), (std::vector<std::size_t>{0, 1, 3}));
    EXPECT_TRUE(matchAirspaces(records, low)[2].floorUnknown);
    SelectionCriteria named;
    named.nameContains = "zURICH";
    EXPECT_EQ(indexes(named), (std::vector<std::size_t>{1}));
    SelectionCriteria near;
    near.near = LatLon{47.0, 8.3};
    near.radiusKm = 20;
    EXPECT_EQ(indexes(near), (std::vector<std::size_t>{0, 1, 3}));
}

}  // namespace
}  // namespace airspace
