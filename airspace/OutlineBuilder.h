// Turns an airspace's outline elements into the instrument's encoding. Curves become polygons that
// circumscribe them (vertices outside the true circle, edges touching it), so that the stored
// outline never cuts into the airspace, or the instrument's own 16-gon circle and arc commands
// where they fit.
#pragma once

#include <vector>

#include "airspace/AirspaceRecord.h"
#include "airspace/OutlineEncoder.h"

namespace airspace {

// Builds the encoding of `elements`. The result has no bytes when there is nothing to encode, when
// the outline is a start point alone (no item could carry the end flags), or when the geometry
// cannot be represented (points beyond the 24-bit range, an encoding beyond kMaxEncodedSize).
[[nodiscard]] OutlineEncoder buildOutline(const std::vector<OutlineElement>& elements);

}  // namespace airspace
