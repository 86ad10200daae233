// The instrument's own circle for an outline written as a polygon of one: exports that hold
// polygons only write every control zone as dozens of points round a centre, 200 bytes and more
// where the circle command needs 8.
#pragma once

#include <optional>

#include "airspace/AirspaceRecord.h"

namespace airspace {

// For an airspace whose outline is point runs only, lying close to a circle: the same record
// (name, heights, everything) with its outline replaced by one circle whose 16-gon, as the
// instrument holds it, covers the whole outline the instrument holds for `airspace` and strays
// from it by at most `toleranceMetres` (as farthestStray measures it at a sixteenth of the
// tolerance). Nothing where the points are no circle, where the 16-gon's corners would stray
// too far (a circle of more than about 9 km at 250 m, 2 to 3 km at 100 m), or where the
// tolerance is not positive. Linear in the points, and quick to give up: it is tried on every
// outline of a national file.
[[nodiscard]] std::optional<AirspaceRecord> circleInstead(const AirspaceRecord& airspace,
                                                          double toleranceMetres);

}  // namespace airspace
