// The outward hull behind simplification: a polygon with few vertices around an outline however
// badly it is drawn (touching or crossing itself, repeated points, spikes, zig-zags).
#pragma once

#include <vector>

#include "airspace/GeoPoint.h"

namespace airspace {

// A simple polygon, vertices on the instrument's grid and every step storable as one delta
// point, that encloses every point of `outline` and every region it encloses, and reaches about
// `reachMetres` beyond it at most. Empty when the outline is too large for a raster fine enough
// for this reach. The caller checks the promise on the encoded result.
[[nodiscard]] std::vector<GeoPoint> outwardHull(const std::vector<GeoPoint>& outline,
                                                double reachMetres);

}  // namespace airspace
