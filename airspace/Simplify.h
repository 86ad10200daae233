// Outward simplification of an airspace's outline: fewer bytes, never a smaller airspace.
#pragma once

#include <string>

#include "airspace/AirspaceRecord.h"

namespace airspace {

struct SimplifiedOutline {
    AirspaceRecord record;      // what to encode and send (the original when nothing better)
    bool keptOriginal = false;  // true: the original was kept although simplifying was asked
    std::string reason;         // why, in plain English for the report ("saves no bytes", ...)
};

// Outward simplification: the polygon the instrument holds for the result is simple, covers the
// polygon it holds for `airspace` (every region that outline encloses, however a crossing is
// read), strays from it by at most `toleranceMetres`, vertices on the instrument's grid, encoded
// by the ordinary encoder. Arcs and circles stay; point runs are simplified.
// Tolerance 0: the original, keptOriginal false.
[[nodiscard]] SimplifiedOutline simplifyOutward(const AirspaceRecord& airspace,
                                                double toleranceMetres);

}  // namespace airspace
