// Geometry on a local plane around an outline, in the instrument's units (east shrunk by the
// cosine of a reference latitude): what the simplifier, the circle fit and the buffer share.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "airspace/GeoPoint.h"
#include "airspace/Geometry.h"

namespace airspace {

struct Planar {
    double x = 0.0;  // east, in distance units
    double y = 0.0;  // north
};

inline Planar operator-(Planar a, Planar b) {
    return {a.x - b.x, a.y - b.y};
}
inline Planar operator+(Planar a, Planar b) {
    return {a.x + b.x, a.y + b.y};
}
inline Planar operator*(Planar a, double f) {
    return {a.x * f, a.y * f};
}
inline double dot(Planar a, Planar b) {
    return a.x * b.x + a.y * b.y;
}
inline double crossOf(Planar a, Planar b) {
    return a.x * b.y - a.y * b.x;
}
inline double length(Planar a) {
    return std::sqrt(a.x * a.x + a.y * a.y);
}

inline double distanceToSegment(Planar p, Planar a, Planar b) {
    const Planar d = b - a;
    const double l2 = dot(d, d);
    const double t = l2 > 0.0 ? std::clamp(dot(p - a, d) / l2, 0.0, 1.0) : 0.0;
    return length(p - (a + d * t));
}

// The local plane: longitude shrunk by the cosine of the reference latitude, about `origin`.
struct Plane {
    GeoPoint origin;
    double cosine = 1.0;

    [[nodiscard]] Planar to(GeoPoint p) const {
        return {static_cast<double>(std::int64_t{p.lon} - origin.lon) * cosine,
                static_cast<double>(std::int64_t{p.lat} - origin.lat)};
    }
    // The nearest grid point.
    [[nodiscard]] GeoPoint from(Planar p) const {
        return {nearest(origin.lon + p.x / cosine), nearest(origin.lat + p.y)};
    }
};

// The area of a polygon on the plane, positive when it runs counter-clockwise.
double signedArea(const std::vector<GeoPoint>& polygon, const Plane& plane);

// Douglas-Peucker on a closed loop, split first at the point farthest from point 0: the indexes
// kept, ascending; every point left out lies within `tolerance` of the edge that replaces it.
std::vector<std::size_t> douglasPeucker(const std::vector<Planar>& loop, double tolerance);

// The farthest end b in (a, last] for which fits(a, b) holds, found by doubling the reach from a
// and then halving the gap: a stretch that fits almost always fits shorter too. At least a + 1.
template <class Fits>
std::size_t farthestFitting(std::size_t a, std::size_t last, Fits&& fits) {
    std::size_t good = a + 1;
    std::size_t bad = 0;
    for (std::size_t step = 2; good < last; step *= 2) {
        const std::size_t probe = std::min(a + step, last);
        if (!fits(a, probe)) {
            bad = probe;
            break;
        }
        good = probe;
    }
    if (bad == 0) return good;
    while (bad - good > 1) {
        const std::size_t middle = good + (bad - good) / 2;
        if (fits(a, middle)) {
            good = middle;
        } else {
            bad = middle;
        }
    }
    return good;
}

}  // namespace airspace
