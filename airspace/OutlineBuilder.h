// Turns an airspace's outline elements into the instrument's encoding. Curves become polygons that
// circumscribe them (vertices outside the true circle, edges touching it), so that the stored
// outline never cuts into the airspace, or the instrument's own 16-gon circle and arc commands
// where they fit.
#pragma once

#include <vector>

#include "airspace/AirspaceRecord.h"
#include "airspace/OutlineEncoder.h"

namespace airspace {

// The instrument's circle is a 16-gon whose edges touch the circle: its corners lie this much
// farther out (1 / cos 11.25)...
inline constexpr double kVertexFactor = 1.0195911582;
// ...and its edge is this much of the radius (2 tan 11.25, the single-precision value circles
// have always used).
inline constexpr double kCircleEdgeFactor = 0.3978247344493866;

// Builds the encoding of `elements`. The result has no bytes when there is nothing to encode, when
// the outline is a start point alone (no item could carry the end flags), or when the geometry
// cannot be represented (points beyond the 24-bit range, an encoding beyond kMaxEncodedSize).
[[nodiscard]] OutlineEncoder buildOutline(const std::vector<OutlineElement>& elements);

}  // namespace airspace
