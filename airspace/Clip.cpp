// Cutting outlines to the flying area.
#include "airspace/Clip.h"

#include <algorithm>

#include "airspace/OutlineDecoder.h"

namespace airspace {

double defaultClipMarginKm(double radiusKm) {
    return std::max(5.0, radiusKm / 10.0);
}

ClipResult clipToArea(const AirspaceRecord& airspace, const ClipArea& area) {
    (void)area;
    ClipResult result;
    if (airspace.encodedSize() == 0) return result;
    ClippedOutline whole{airspace, std::vector<bool>(decodeOutlinePoints(airspace).size(), false)};
    result.pieces.push_back(std::move(whole));
    return result;
}

std::vector<bool> cutEdgeMarks(const std::vector<GeoPoint>& polygon, const ClipArea& area) {
    (void)area;
    return std::vector<bool>(polygon.size(), false);
}

}  // namespace airspace
