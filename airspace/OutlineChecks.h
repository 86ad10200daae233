// Exact checks on outlines as the instrument holds them (decodeOutlinePoints: whole units). The
// simplifier and the cutter check every result with them before handing it out; the tests and
// the fuzz target check the same promises.
#pragma once

#include <vector>

#include "airspace/GeoPoint.h"

namespace airspace {

// True when `polygon` is simple: at least three points, no repeated point, no edge touching or
// crossing another except neighbours at their shared point, and not folded flat.
[[nodiscard]] bool isSimplePolygon(const std::vector<GeoPoint>& polygon);

// True when p lies inside `polygon` or on its outline (even-odd rule).
[[nodiscard]] bool insideOrOn(GeoPoint p, const std::vector<GeoPoint>& polygon);

// True when an edge of `a` crosses an edge of `b` at a point inside both; touching and
// overlapping do not count.
[[nodiscard]] bool edgesCross(const std::vector<GeoPoint>& a, const std::vector<GeoPoint>& b);
// The same for two edges of one polygon.
[[nodiscard]] bool crossesItself(const std::vector<GeoPoint>& polygon);

// True when every point of `inner`'s outline (vertices and edges) lies inside or on `outer`, a
// simple polygon. Then `outer` encloses every region that `inner` encloses, however a crossing
// of `inner` is read.
[[nodiscard]] bool coversOutline(const std::vector<GeoPoint>& outer,
                                 const std::vector<GeoPoint>& inner);

// The largest distance in metres from a point of `polygon`'s outline to `from`'s outline, an
// upper bound within `resolutionMetres`. Distances are measured on the sphere's local plane at
// each point, metres per unit taken at their largest.
[[nodiscard]] double farthestStray(const std::vector<GeoPoint>& polygon,
                                   const std::vector<GeoPoint>& from, double resolutionMetres);

// farthestStray(polygon, from, resolutionMetres) <= limitMetres, found faster: it stops at the
// first point too far, and skips what cannot be.
[[nodiscard]] bool straysWithin(const std::vector<GeoPoint>& polygon,
                                const std::vector<GeoPoint>& from, double limitMetres,
                                double resolutionMetres);

// Metres per unit of latitude on the sphere of the distance functions (a little more than the
// nautical 18.52, so that distances measured with it are never short).
inline constexpr double kMetresPerUnit = 18.5325;

}  // namespace airspace
