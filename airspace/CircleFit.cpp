// Finding the circle behind a polygon of points, and the instrument's circle for it.
//
// The instrument's circle is a 16-gon of fixed orientation: its edges touch a circle of radius
// edge / (2 tan 11.25), its corners lie 1/cos 11.25 (about 2 %) farther out. So the 16-gon can
// stand in for an outline only where that 2 % of the radius, and the rounding to whole units,
// stay within the tolerance.
//
// The steps, each linear in the points: a quick look from the area's centroid gives up on
// outlines whose points lie far from one circle (a square, a half disc, a wavy outline); the
// smallest circle around the points gives the centre; the edge is the smallest whole one whose
// 16-gon, as the instrument decodes it, holds every point; and the 16-gon's corners must lie
// within the tolerance of the outline. For the last, a bound: where the outline winds round the
// centre, every ray from the centre meets it, no nearer than the outline's nearest approach in
// the ray's sector between two corners, so no point of the 16-gon's edge across that sector lies
// farther from the outline than the edge's farther corner from the centre less that approach.
#include "airspace/CircleFit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "airspace/Geometry.h"
#include "airspace/OutlineBuilder.h"
#include "airspace/OutlineChecks.h"
#include "airspace/OutlineDecoder.h"
#include "airspace/Planar.h"

namespace airspace {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kSectors = 16;
// Fewer points than this are no polygon of a circle that the 16-gon could stand for.
constexpr std::size_t kFewestPoints = 8;
// Rounding the start point and the decoder's truncation of the corners move an edge by a unit
// or two: one or two edges more than the ideal one hold every point.
constexpr int kEdgeTries = 3;

struct Disc {
    Planar centre;
    double radius = 0.0;
    [[nodiscard]] bool holds(Planar p) const {
        return length(p - centre) <= radius * (1.0 + 1e-12) + 1e-9;
    }
};

Disc discOf(Planar a, Planar b) {
    const Planar centre{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
    return {centre, length(a - centre)};
}

// The circle through three points; for points in a line, the one over the two farthest apart.
Disc discOf(Planar a, Planar b, Planar c) {
    const Planar ab = b - a;
    const Planar ac = c - a;
    const double d = 2.0 * crossOf(ab, ac);
    if (std::fabs(d) < 1e-12) {
        Disc widest = discOf(a, b);
        for (const Disc& other : {discOf(a, c), discOf(b, c)}) {
            if (other.radius > widest.radius) widest = other;
        }
        return widest;
    }
    const double ab2 = dot(ab, ab);
    const double ac2 = dot(ac, ac);
    const Planar centre{a.x + (ac.y * ab2 - ab.y * ac2) / d, a.y + (ab.x * ac2 - ac.x * ab2) / d};
    return {centre, length(a - centre)};
}

// The smallest circle around all points (Welzl's incremental form): linear on average once the
// points are shuffled. The shuffle is a fixed one of our own, so that every build picks the same
// centre and so writes the same bytes.
Disc smallestDisc(std::vector<Planar> p) {
    std::uint32_t state = 0x9E3779B9u;
    for (std::size_t i = p.size(); i > 1; --i) {
        state = state * 1664525u + 1013904223u;
        std::swap(p[i - 1], p[(state >> 8) % i]);
    }
    Disc disc{p[0], 0.0};
    for (std::size_t i = 1; i < p.size(); ++i) {
        if (disc.holds(p[i])) continue;
        disc = {p[i], 0.0};
        for (std::size_t j = 0; j < i; ++j) {
            if (disc.holds(p[j])) continue;
            disc = discOf(p[i], p[j]);
            for (std::size_t k = 0; k < j; ++k) {
                if (!disc.holds(p[k])) disc = discOf(p[i], p[j], p[k]);
            }
        }
    }
    return disc;
}

// The area's centroid of the closed outline; nothing when it encloses no area.
std::optional<Planar> centroidOf(const std::vector<Planar>& p) {
    double area = 0.0;
    double x = 0.0;
    double y = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const Planar a = p[i];
        const Planar b = p[(i + 1) % p.size()];
        const double c = crossOf(a, b);
        area += c;
        x += (a.x + b.x) * c;
        y += (a.y + b.y) * c;
    }
    if (std::fabs(area) < 1e-9) return std::nullopt;
    return Planar{x / (3.0 * area), y / (3.0 * area)};
}

// The full turns the outline makes round `centre`.
double turnsRound(const std::vector<Planar>& p, Planar centre) {
    double angle = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const Planar a = p[i] - centre;
        const Planar b = p[(i + 1) % p.size()] - centre;
        angle += std::atan2(crossOf(a, b), dot(a, b));
    }
    return angle / (2.0 * kPi);
}

// The circle element whose circle command has edge `edge`: the radius in nautical miles, as a
// "DC" line holds it, that the outline builder turns back into this edge.
OutlineElement circleElement(GeoPoint centre, std::int32_t edge) {
    OutlineElement circle(ElementKind::Circle);
    circle.points = {centre};
    circle.radius = static_cast<float>(edge / kCircleEdgeFactor / kUnitsPerNauticalMile);
    while (nearest(static_cast<double>(circle.radius) * kUnitsPerNauticalMile * kCircleEdgeFactor) <
           edge) {
        circle.radius = std::nextafter(circle.radius, 1e9f);
    }
    return circle;
}

std::int64_t crossOf(GeoPoint a, GeoPoint b, GeoPoint c) {
    return (std::int64_t{b.lon} - a.lon) * (std::int64_t{c.lat} - a.lat) -
           (std::int64_t{b.lat} - a.lat) * (std::int64_t{c.lon} - a.lon);
}

// Whether `polygon` is convex, counter-clockwise, and holds every point of `held` (inside or on),
// in exact whole units. A convex polygon that holds every corner holds every edge too.
bool holdsAll(const std::vector<GeoPoint>& polygon, const std::vector<GeoPoint>& held) {
    const std::size_t n = polygon.size();
    if (n < 3) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (crossOf(polygon[i], polygon[(i + 1) % n], polygon[(i + 2) % n]) <= 0) return false;
    }
    for (const GeoPoint& p : held) {
        for (std::size_t i = 0; i < n; ++i) {
            if (crossOf(polygon[i], polygon[(i + 1) % n], p) < 0) return false;
        }
    }
    return true;
}

// The full turn from `from` counter-clockwise to `to`, in [0, 2 pi).
double turnBetween(double from, double to) {
    double d = std::fmod(to - from, 2.0 * kPi);
    return d < 0.0 ? d + 2.0 * kPi : d;
}

struct Fit {
    AirspaceRecord record;
    double strayMetres = INFINITY;
};

// The instrument's circle round `centre` with the smallest edge that holds every point, and a
// bound on how far it strays from the outline (see the top of this file); nothing when no edge
// of the few tried holds them all.
std::optional<Fit> circleRound(const AirspaceRecord& airspace, GeoPoint centre,
                               const std::vector<GeoPoint>& held, const std::vector<Planar>& points,
                               const Plane& plane, double radius) {
    // The instrument draws the 16-gon east-west in the scale of its start point's latitude, on
    // the southern side: a 30 km circle is drawn some 8 units narrower at 46 degrees than the
    // centre's scale would make it. The edge is chosen in that scale.
    const std::int32_t startLat = nearest(centre.lat - radius * kVertexFactor * std::cos(kPi / 16));
    const Plane drawn{centre, std::cos(startLat * kRadiansPerUnit)};
    double reach = 0.0;
    for (int k = 0; k < kSectors; ++k) {
        const double angle = 2.0 * kPi * k / kSectors;
        const Planar normal{std::cos(angle), std::sin(angle)};
        for (const GeoPoint& p : held) reach = std::max(reach, dot(drawn.to(p), normal));
    }
    const Planar c = plane.to(centre);
    // The bound needs an outline that winds round the centre: every ray from it meets the outline.
    if (std::fabs(turnsRound(points, c)) < 0.5) return std::nullopt;
    std::int32_t edge = static_cast<std::int32_t>(std::ceil(reach * kCircleEdgeFactor));
    for (int attempt = 0; attempt < kEdgeTries; ++attempt, ++edge) {
        if (edge < 1 || edge > kMaxCommandEdge) return std::nullopt;
        AirspaceRecord circle = airspace;
        circle.elements.assign(1, circleElement(centre, edge));
        circle.encoder = buildOutline(circle.elements);
        if (circle.encodedSize() != kStartPointSize + kCircleCommandSize) return std::nullopt;
        const std::vector<GeoPoint> polygon = decodeOutlinePoints(circle);
        if (!holdsAll(polygon, held)) continue;

        // The outline's nearest approach to the centre within each corner-to-corner sector.
        const std::size_t corners = polygon.size();
        std::vector<double> cornerAngle(corners);
        std::vector<double> cornerDistance(corners);
        double widest = 1.0;
        for (std::size_t j = 0; j < corners; ++j) {
            const Planar v = plane.to(polygon[j]) - c;
            cornerAngle[j] = std::atan2(v.y, v.x);
            cornerDistance[j] = length(v);
            // farthestStray measures at each point in its own latitude's scale, at most this
            // much longer east-west than the plane's.
            widest = std::max(widest, std::cos(polygon[j].lat * kRadiansPerUnit) / plane.cosine);
        }
        std::vector<double> approach(corners, INFINITY);
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Planar a = points[i] - c;
            const Planar b = points[(i + 1) % points.size()] - c;
            double from = std::atan2(a.y, a.x);
            double span = turnBetween(from, std::atan2(b.y, b.x));
            if (span > kPi) {
                from += span;
                span = 2.0 * kPi - span;
            }
            const double near = distanceToSegment({0.0, 0.0}, a, b);
            for (std::size_t j = 0; j < corners; ++j) {
                const double width = turnBetween(cornerAngle[j], cornerAngle[(j + 1) % corners]);
                const double offset = turnBetween(cornerAngle[j], from);
                if (offset <= width || offset >= 2.0 * kPi - span) {
                    approach[j] = std::min(approach[j], near);
                }
            }
        }
        double stray = 0.0;
        for (std::size_t j = 0; j < corners; ++j) {
            const double farthest = std::max(cornerDistance[j], cornerDistance[(j + 1) % corners]);
            stray = std::max(stray, farthest - approach[j]);
        }
        return Fit{std::move(circle), stray * widest * kMetresPerUnit};
    }
    return std::nullopt;
}

}  // namespace

std::optional<AirspaceRecord> circleInstead(const AirspaceRecord& airspace,
                                            double toleranceMetres) {
    if (!(toleranceMetres > 0.0) || airspace.encodedSize() == 0 || airspace.elements.empty()) {
        return std::nullopt;
    }
    const bool runsOnly =
        std::all_of(airspace.elements.begin(), airspace.elements.end(),
                    [](const OutlineElement& e) { return e.kind == ElementKind::PointRun; });
    if (!runsOnly) return std::nullopt;
    const std::vector<GeoPoint> held = decodeOutlinePoints(airspace);
    if (held.size() < kFewestPoints) return std::nullopt;

    std::int32_t south = held[0].lat;
    std::int32_t north = held[0].lat;
    for (const GeoPoint& p : held) {
        south = std::min(south, p.lat);
        north = std::max(north, p.lat);
    }
    const std::int32_t middle =
        static_cast<std::int32_t>((std::int64_t{south} + std::int64_t{north}) / 2);
    const Plane plane{GeoPoint(held[0].lon, middle), std::cos(middle * kRadiansPerUnit)};
    if (!(plane.cosine > 1e-3)) return std::nullopt;
    std::vector<Planar> points;
    points.reserve(held.size());
    for (const GeoPoint& p : held) points.push_back(plane.to(p));

    // The quick look: the centroid of a polygon of a circle lies close to the circle's centre,
    // and its points all about as far from it. A radius whose 16-gon corners alone stand out
    // farther than the tolerance is given up here too.
    const double toleranceUnits = toleranceMetres / kMetresPerUnit;
    const std::optional<Planar> centroid = centroidOf(points);
    if (!centroid) return std::nullopt;
    double nearestPoint = INFINITY;
    double farthestPoint = 0.0;
    for (const Planar& p : points) {
        const double r = length(p - *centroid);
        nearestPoint = std::min(nearestPoint, r);
        farthestPoint = std::max(farthestPoint, r);
    }
    if (farthestPoint - nearestPoint > 2.0 * toleranceUnits) return std::nullopt;
    if (farthestPoint * (kVertexFactor - 1.0) > toleranceUnits) return std::nullopt;

    // The centre: of the smallest circle round the points, and of the four grid points round
    // it the one whose 16-gon strays least (the edge's whole units leave each a different
    // slack).
    const Disc disc = smallestDisc(points);
    const double lon = plane.origin.lon + disc.centre.x / plane.cosine;
    const double lat = plane.origin.lat + disc.centre.y;
    std::vector<double> lons{std::floor(lon)};
    if (std::ceil(lon) != lons[0]) lons.push_back(std::ceil(lon));
    std::vector<double> lats{std::floor(lat)};
    if (std::ceil(lat) != lats[0]) lats.push_back(std::ceil(lat));
    std::optional<Fit> best;
    for (const double east : lons) {
        for (const double northward : lats) {
            const GeoPoint centre(nearest(east), nearest(northward));
            std::optional<Fit> fit =
                circleRound(airspace, centre, held, points, plane, disc.radius);
            if (fit && (!best || fit->strayMetres < best->strayMetres)) best = std::move(fit);
        }
    }
    // What farthestStray adds for its sampling, at the resolution the simplifier asks.
    const double sampling = std::max(toleranceMetres / 16.0, 1.0) / 2.0;
    if (!best || best->strayMetres + sampling > toleranceMetres) return std::nullopt;
    return std::move(best->record);
}

}  // namespace airspace
