// Simplification and cutting on any outline: whatever the points, a simplified outline is
// simple, covers what the instrument held and strays no farther than the tolerance, and a cut
// outline holds within the radius every edge the instrument held there (an outline crossing
// itself: all it encloses there, and no more).
//
// Input: the tolerance (25 m + 5 m per step of byte 0), the radius (1 to 120 km, byte 1), how far
// north of the first point the take-off lies (byte 2, signed, in steps of 0.5 km), then a walk of
// points of 4 bytes each: east and north steps in grid units, 16 bits little-endian each.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "airspace/AirspaceRecord.h"
#include "airspace/CircleFit.h"
#include "airspace/Clip.h"
#include "airspace/OutlineBuilder.h"
#include "airspace/OutlineChecks.h"
#include "airspace/OutlineDecoder.h"
#include "airspace/OutwardBuffer.h"
#include "airspace/Planar.h"
#include "airspace/Selection.h"
#include "airspace/Simplify.h"

namespace {

using airspace::GeoPoint;

constexpr std::size_t kMaxPoints = 3000;
constexpr std::int32_t kFarthestLat = 80 * airspace::kUnitsPerDegree;
constexpr std::int32_t kHalfTurn = 180 * airspace::kUnitsPerDegree;

void check(bool promise) {
    if (!promise) std::abort();
}

airspace::LatLon latLonOf(GeoPoint p) {
    return {p.lat / 6000.0, p.lon / 6000.0};
}

bool sameBytes(const airspace::AirspaceRecord& a, const airspace::AirspaceRecord& b) {
    const auto x = a.storedBytes();
    const auto y = b.storedBytes();
    return std::equal(x.begin(), x.end(), y.begin(), y.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3 + 4 * 3) return 0;
    const double tolerance = 25.0 + 5.0 * data[0];
    const double radiusKm = 1.0 + data[1] % 120;
    const double northKm = 0.5 * static_cast<std::int8_t>(data[2]);

    airspace::OutlineElement run(airspace::ElementKind::PointRun);
    GeoPoint at(7 * airspace::kUnitsPerDegree, 46 * airspace::kUnitsPerDegree);
    for (std::size_t i = 3; i + 4 <= size && run.points.size() < kMaxPoints; i += 4) {
        const auto east = static_cast<std::int16_t>(data[i] | (data[i + 1] << 8));
        const auto north = static_cast<std::int16_t>(data[i + 2] | (data[i + 3] << 8));
        at.lon = std::clamp(at.lon + east, -kHalfTurn, kHalfTurn);
        at.lat = std::clamp(at.lat + north, -kFarthestLat, kFarthestLat);
        run.points.push_back(at);
    }
    airspace::AirspaceRecord original;
    original.elements.push_back(run);
    original.encoder = airspace::buildOutline(original.elements);
    const std::vector<GeoPoint> held = airspace::decodeOutlinePoints(original);
    if (held.size() < 3) return 0;

    // The instrument's circle, where it stands in for the outline, holds it all and strays no
    // farther than the tolerance.
    if (const auto circle = airspace::circleInstead(original, tolerance)) {
        const std::vector<GeoPoint> outline = airspace::decodeOutlinePoints(*circle);
        check(circle->encodedSize() == 8 && airspace::coversOutline(outline, held));
        check(airspace::straysWithin(outline, held, tolerance, tolerance / 16.0));
    }

    const airspace::SimplifiedOutline simple = airspace::simplifyOutward(original, tolerance);
    if (simple.keptOriginal) {
        check(!simple.reason.empty() && sameBytes(simple.record, original));
    } else if (!sameBytes(simple.record, original)) {
        check(simple.record.encodedSize() < original.encodedSize());
        const std::vector<GeoPoint> outline = airspace::decodeOutlinePoints(simple.record);
        check(airspace::isSimplePolygon(outline));
        // Covered as the instrument draws edges, straight on its grid: on an edge hundreds of km
        // long a point of the grid's line lies a metre or more off the great circle.
        check(airspace::coversOutline(outline, held));
        // Measured as the instrument draws edges, straight on its grid (a great circle between
        // the ends of an edge 50 km long bends some 70 m away from that).
        check(airspace::straysWithin(outline, held, tolerance, tolerance / 16.0));
    }

    const airspace::LatLon first = latLonOf(held[0]);
    const airspace::ClipArea area{{first.lat + northKm / 111.2, first.lon},
                                  radiusKm,
                                  airspace::defaultClipMarginKm(radiusKm)};
    const airspace::ClipResult cut = airspace::clipToArea(original, area);
    if (!cut.clipped) check(cut.pieces.size() == 1 && sameBytes(cut.pieces[0].record, original));
    std::vector<std::vector<GeoPoint>> pieces;
    for (const airspace::ClippedOutline& piece : cut.pieces) {
        pieces.push_back(airspace::decodeOutlinePoints(piece.record));
        check(!pieces.back().empty() && piece.cutEdges.size() == pieces.back().size());
    }
    auto within = [&](GeoPoint p) {
        return airspace::greatCircleKm(latLonOf(p), area.centre) <= radiusKm;
    };
    if (!airspace::isSimplePolygon(held)) {
        // Cut as the outer border of all it encloses: within the radius each piece holds the
        // outline's points, and what a piece holds there the outline encloses (a point between
        // two corners of a piece, inside it, lies within the border or on the outline).
        const std::vector<GeoPoint> border = airspace::outerBorderOnGrid(held);
        if (border.empty()) return 0;
        // Within three units of the outline as the instrument draws it (the border's crossings
        // and the cut's ends lie up to two units off it, on the grid).
        auto nearOutline = [&](GeoPoint p) {
            const double c = std::cos(p.lat * airspace::kRadiansPerUnit);
            auto plane = [&](GeoPoint q) { return airspace::Planar{q.lon * c, q.lat * 1.0}; };
            for (std::size_t i = 0; i < held.size(); ++i) {
                if (airspace::distanceToSegment(plane(p), plane(held[i]),
                                                plane(held[(i + 1) % held.size()])) <= 3.0) {
                    return true;
                }
            }
            return false;
        };
        for (const GeoPoint& p : held) {
            if (!within(p)) continue;
            check(std::any_of(pieces.begin(), pieces.end(),
                              [&](const auto& piece) { return airspace::insideOrOn(p, piece); }));
        }
        for (const auto& piece : pieces) {
            const std::size_t n = piece.size();
            for (std::size_t k = 0; k < std::min<std::size_t>(n, 64); ++k) {
                const GeoPoint a = piece[k];
                const GeoPoint b = piece[(k + n / 2) % n];
                const GeoPoint middle((a.lon + b.lon) / 2, (a.lat + b.lat) / 2);
                if (!within(middle) || !airspace::insideOrOn(middle, piece)) continue;
                check(airspace::insideOrOn(middle, border) || nearOutline(middle));
            }
        }
        return 0;
    }
    for (std::size_t i = 0; i < held.size(); ++i) {
        const GeoPoint a = held[i];
        const GeoPoint b = held[(i + 1) % held.size()];
        if (a == b || !within(a) || !within(b)) continue;
        bool found = false;
        for (const auto& piece : pieces) {
            for (std::size_t k = 0; k < piece.size() && !found; ++k) {
                found = piece[k] == a && piece[(k + 1) % piece.size()] == b;
            }
        }
        check(found);
    }
    return 0;
}
