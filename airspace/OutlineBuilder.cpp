#include "airspace/OutlineBuilder.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "airspace/Geometry.h"

namespace airspace {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kTwoDegreesPerRadian = 114.59155902616465;
// 2 tan 11.25 for arcs, in double precision (circles use kCircleEdgeFactor, in single precision;
// the two differ in the last digits and so, rarely, in a rounded edge).
constexpr double kArcEdgeFactor = 0.397824734759316;
constexpr double kHalfSector = 11.25;
constexpr double kSector = 22.5;
constexpr int kSectors = 16;
constexpr double kLargeArcSweep = 45.0;
constexpr int kLargeCircleVertices = 32;
constexpr double kFullTurn = 360.0;
// Refinement doubles the vertex count until consecutive vertices can be stored as one step. Real
// arcs need a few hundred at most; only geometry near the poles comes anywhere near this, and such
// an outline cannot be represented.
constexpr std::int64_t kMaxRefinedVertices = std::int64_t{1} << 20;

double secant(double radians) {
    const double t = std::tan(radians);
    return std::sqrt(t * t + 1.0);
}

// Vertices of the polygon that circumscribes the circle of radius `radius` around `centre`, its
// edges touching the circle at start, start - dir*step, ...; refined until consecutive vertices
// pass the step test.
void encodePolygonArc(OutlineEncoder& encoder, GeoPoint centre, double radius, double start,
                      double step, std::int64_t count, int dir, bool includeFirst) {
    for (;;) {
        const double firstAngle = start - dir * step / 2;
        const double r = radius * secant(step / kTwoDegreesPerRadian);
        const double nextAngle = dir == 1 ? firstAngle - step : firstAngle + step;
        if (count >= 2 && !OutlineEncoder::stepTest(pointAt(centre, r, firstAngle),
                                                    pointAt(centre, r, nextAngle))) {
            if (count >= kMaxRefinedVertices) {
                encoder.refuse(EncodeFailure::Refinement);
                return;
            }
            step /= 2;
            count *= 2;
            continue;
        }
        double a = firstAngle;
        for (std::int64_t i = 0; i < count && !encoder.failed(); ++i) {
            if (i > 0 || includeFirst) encoder.addPoint(pointAt(centre, r, a));
            if (dir == 1) {
                a -= step;
            } else {
                a += step;
            }
        }
        return;
    }
}

void encodeCircle(OutlineEncoder& encoder, GeoPoint centre, double radius) {
    const std::int32_t edge = nearest(radius * kCircleEdgeFactor);
    if (edge <= kMaxCommandEdge) {
        encoder.begin(pointAt(centre, radius * kVertexFactor, -kHalfSector));
        encoder.appendCircleCommand(edge);
    } else {
        encodePolygonArc(encoder, centre, radius, -kHalfSector, kHalfSector, kLargeCircleVertices,
                         -1, true);
    }
}

struct Sector {
    int index;
    double offset;  // angle past the sector's lower border
};

Sector sectorOf(double theta) {
    const int whole = static_cast<int>((theta + kHalfSector) / kSector);
    return {whole % kSectors, (theta + kHalfSector) - kSector * whole};
}

// An arc from internal angle theta1 to theta2 (both 0 <= theta < 360) in direction dir.
void encodeArc(OutlineEncoder& encoder, GeoPoint centre, double radius, double theta1,
               double theta2, int dir, bool first, std::optional<GeoPoint> givenStart,
               bool fullCircle) {
    const GeoPoint start = givenStart ? *givenStart : pointAt(centre, radius, theta1);
    if (first) {
        encoder.begin(start);
    } else {
        encoder.addPoint(start);
    }
    const std::int32_t edge = nearest(radius * kArcEdgeFactor);

    // The walk starts at the first 16-gon vertex at or beyond the start in the direction of
    // travel and ends at the last vertex before the end.
    const Sector from = sectorOf(theta1);
    const Sector to = sectorOf(theta2);
    int s1 = from.index;
    int s2 = to.index;
    int edges = 0;
    if (dir == 1) {
        s1 = (s1 + kSectors - 1) % kSectors;
        if (to.offset != 0.0) s2 = (s2 + 1) % kSectors;
        edges = s2 <= s1 ? s1 - s2 + 1 : s1 - s2 + 17;
    } else {
        if (from.offset != 0.0) s1 = (s1 + 1) % kSectors;
        s2 = (s2 + kSectors - 1) % kSectors;
        edges = s2 >= s1 ? s2 - s1 + 1 : s2 - s1 + 17;
    }

    double sweep = dir == 1 ? theta1 - theta2 : theta2 - theta1;
    if (sweep < 0.0) sweep += kFullTurn;
    if (fullCircle) sweep = kFullTurn;

    if (sweep < kLargeArcSweep) {
        // Corners of the path along the tangents at the start, at k - 1 points between and at the
        // end: outside the arc, so the stored outline never cuts into the airspace.
        const GeoPoint end = pointAt(centre, radius, theta2);
        std::int64_t k = sweep < kSector ? 1 : 2;
        for (;;) {
            const double h = sweep / (2 * k);
            const double r = radius * secant(h / kDegreesPerRadian);
            auto corner = [&](std::int64_t i) {
                return pointAt(centre, r,
                               theta1 - dir * h - static_cast<double>(i * dir) * sweep / k);
            };
            if (OutlineEncoder::stepTest(corner(k - 1), end)) {
                for (std::int64_t i = 0; i < k && !encoder.failed(); ++i) {
                    encoder.addPoint(corner(i));
                }
                encoder.addPoint(end);
                return;
            }
            if (k >= kMaxRefinedVertices) {
                encoder.refuse(EncodeFailure::Refinement);
                return;
            }
            k *= 2;
        }
    }

    const double firstVertexAngle = kSector * s1 - kHalfSector + (dir == 1 ? kSector : 0.0);
    const GeoPoint vertex = pointAt(centre, radius * kVertexFactor, firstVertexAngle);
    const GeoPoint end = pointAt(centre, radius, theta2);
    if (edge <= kMaxCommandEdge && OutlineEncoder::stepTest(vertex, end)) {
        encoder.addPoint(vertex);
        // The instrument measures the point after an arc command from the vertex before it, so
        // an arc whose end rounds onto that vertex (a radius of a few hundredths of a mile) is
        // kept as the vertex alone: a command with no point after it would run into the next
        // airspace's bytes.
        if (end == vertex) return;
        encoder.appendArcCommand(dir, edge, s1, edges);
        encoder.addPoint(end);
    } else {
        encodePolygonArc(encoder, centre, radius, theta1, sweep / (edges + 1), edges + 1, dir,
                         true);
        encoder.addPoint(end);
    }
}

// Brings a bearing-derived angle, already computed in single precision, into 0 <= theta < 360.
// Bearings from 0 to 360 (-180 to 180 here) keep the usual rule, 360 added when negative: a
// bearing a hair past 180 then rounds to 360, which lies in the sector of 0 but keeps the sweep
// that rule gives (from 180.00001 clockwise to 180 is almost all the way round, not nothing).
float normalisedAngle(float theta) {
    if (theta >= -180.0f && theta <= 180.0f) return theta < 0.0f ? theta + 360.0f : theta;
    theta = std::fmod(theta, 360.0f);
    if (theta < 0.0f) theta += 360.0f;
    return theta >= 360.0f ? 0.0f : theta;
}

void encodeArcElement(OutlineEncoder& encoder, const OutlineElement& element, bool first) {
    if (element.points.empty()) return;
    const GeoPoint centre = element.points[0];
    if (element.kind == ElementKind::AngleArc) {
        const float theta1 = normalisedAngle(180.0f - element.startAngle);
        const float theta2 = normalisedAngle(180.0f - element.endAngle);
        // From 0 to 360 is all the way round, not nothing. So is 0.1 to 360.1: in single
        // precision the bearings are not exactly 360 apart, but their internal angles coincide.
        const double written = static_cast<double>(element.endAngle) - element.startAngle;
        const bool fullCircle =
            written != 0.0 && (std::fmod(written, kFullTurn) == 0.0 ||
                               (theta1 == theta2 && std::fabs(written) >= kFullTurn / 2));
        encodeArc(encoder, centre, element.radius * 100.0, theta1, theta2, element.direction, first,
                  std::nullopt, fullCircle);
        return;
    }
    if (element.points.size() < 3) return;
    const GeoPoint start = element.points[1];
    const GeoPoint end = element.points[2];
    const double radius = std::max(distanceTo(centre, start), distanceTo(centre, end));
    encodeArc(encoder, centre, radius, angleTo(centre, start), angleTo(centre, end),
              element.direction, first, start, false);
}

void encodePointRun(OutlineEncoder& encoder, const OutlineElement& element, bool first,
                    bool lastElement) {
    const auto& points = element.points;
    if (points.empty()) return;
    if (first) {
        encoder.begin(points[0]);
    } else {
        encoder.addPoint(points[0]);
    }
    for (std::size_t i = 1; i < points.size() && !encoder.failed(); ++i) {
        // A closing point repeated at the end of the outline adds nothing: closing is implied.
        if (lastElement && i + 1 == points.size() && points[i] == encoder.firstPoint()) break;
        encoder.addPoint(points[i]);
    }
}

// The instrument finds the end of an outline by the flags on its last item; an outline of a start
// point alone has no item to carry them, and a failed one has nothing trustworthy.
OutlineEncoder finished(OutlineEncoder encoder) {
    if (encoder.failed() || encoder.length() <= kStartPointSize) encoder.discard();
    return encoder;
}

}  // namespace

OutlineEncoder buildOutline(const std::vector<OutlineElement>& elements) {
    OutlineEncoder encoder;
    if (elements.empty()) return encoder;
    bool first = true;
    for (std::size_t i = 0; i < elements.size() && !encoder.failed(); ++i) {
        const OutlineElement& element = elements[i];
        switch (element.kind) {
            case ElementKind::Circle:
                // Only a leading circle counts, and then it is the whole outline.
                if (i != 0) break;
                if (!element.points.empty()) {
                    encodeCircle(encoder, element.points[0], element.radius * 100.0);
                }
                encoder.close();
                return finished(std::move(encoder));
            case ElementKind::AngleArc:
            case ElementKind::PointArc:
                encodeArcElement(encoder, element, first);
                first = false;
                break;
            case ElementKind::PointRun:
                encodePointRun(encoder, element, first, i + 1 == elements.size());
                first = false;
                break;
        }
    }
    encoder.close();
    return finished(std::move(encoder));
}

}  // namespace airspace
