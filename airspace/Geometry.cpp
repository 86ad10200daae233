#include "airspace/Geometry.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace airspace {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr int kMeanCosineIntervals = 10;

std::int32_t saturate(double value) {
    constexpr double kUpper = 2147483647.0;
    constexpr double kLower = -2147483648.0;
    if (std::isnan(value) || value >= kUpper) return std::numeric_limits<std::int32_t>::max();
    if (value <= kLower) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t nearest(double value) {
    return saturate(value >= 0.0 ? value + 0.5 : value - 0.5);
}

double meanCosine(GeoPoint a, GeoPoint b) {
    const std::int64_t span = static_cast<std::int64_t>(a.lat) - b.lat;
    double sum = 0.0;
    for (int i = 0; i <= kMeanCosineIntervals; ++i) {
        const double lat = a.lat - static_cast<double>(span * i) / 10.0;
        sum += std::cos(lat * kRadiansPerUnit);
    }
    return sum / 11.0;
}

GeoPoint pointAt(GeoPoint centre, double distance, double theta) {
    const double radians = theta / kDegreesPerRadian;
    const std::int32_t lat = nearest(centre.lat - distance * std::cos(radians));
    const double f = meanCosine(centre, GeoPoint(0, lat));
    const std::int32_t lon = nearest(centre.lon + distance * std::sin(radians) / f);
    return {lon, lat};
}

double distanceTo(GeoPoint a, GeoPoint b) {
    const double f = meanCosine(a, b);
    const double east = static_cast<double>(static_cast<std::int64_t>(a.lon) - b.lon) * f;
    const std::int64_t north = static_cast<std::int64_t>(a.lat) - b.lat;
    return std::sqrt(east * east + static_cast<double>(north * north));
}

double angleTo(GeoPoint centre, GeoPoint point) {
    const double f = meanCosine(centre, point);
    const std::int64_t dLon = static_cast<std::int64_t>(point.lon) - centre.lon;
    const std::int64_t dLat = static_cast<std::int64_t>(point.lat) - centre.lat;
    double t = 0.0;
    if (dLat == 0) {
        t = dLon < 0 ? 90.0 : -90.0;
    } else {
        t = std::atan(static_cast<double>(dLon) * f / static_cast<double>(dLat)) *
            kDegreesPerRadian;
        if (dLat > 0) t += dLon < 0 ? 180.0 : -180.0;
    }
    t = -t;
    if (t < 0.0) t += 360.0;
    return t;
}

std::int32_t scaledLongitude(std::int64_t lonUnits, std::int32_t referenceLat) {
    const double x = static_cast<double>(lonUnits) * std::cos(referenceLat * kRadiansPerUnit);
    const double whole = std::trunc(x);
    return saturate(x - whole >= 0.5 ? whole + 1.0 : whole);
}

}  // namespace airspace
