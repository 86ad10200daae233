// Cutting an airspace's outline to the area a pilot flies: what lies far beyond the take-off's
// radius costs bytes and tells the pilot nothing.
#pragma once

#include <vector>

#include "airspace/AirspaceRecord.h"
#include "airspace/GeoPoint.h"
#include "airspace/Selection.h"

namespace airspace {

struct ClipArea {
    LatLon centre;           // the take-off
    double radiusKm = 50.0;  // the pilot's radius
    double marginKm = 5.0;   // kept beyond the radius
    // Sides of the regular polygon around the disk of radius and margin that outlines are cut
    // to: 16 follows the disk closely; fewer add fewer corners to a piece but keep more of the
    // outline beyond the disk (an 8-gon's corners lie 8 % beyond it).
    int sides = 16;
    bool turnedHalfSide = false;  // the polygon turned by half a side (a corner due east)
};

// The margin when the pilot gives none: 5 km or a tenth of the radius, whichever is larger.
[[nodiscard]] double defaultClipMarginKm(double radiusKm);

struct ClippedOutline {
    AirspaceRecord record;  // one piece, encoded as the instrument will hold it
    std::vector<bool>
        cutEdges;  // per edge of decodeOutlinePoints(record): edge i runs from
                   // point i to point i+1 (the last one closes); true: made by the cut
};

struct ClipResult {
    bool clipped = false;  // false: wholly inside the area, or cutting would save no bytes (an
                           // outline of arcs, say); pieces = {the original}
    std::vector<ClippedOutline> pieces;  // empty: nothing of it inside the area
    // How far the pieces lie outside the outline the instrument held at most: where they meet the
    // cut, their ends are put on the grid outside it, and an outline crossing itself is cut as
    // the outer border of all it encloses, its crossings put on the grid.
    double strayMetres = 0.0;
};

// Cuts the outline the instrument would hold for `airspace` to a convex region that contains the
// disk of radiusKm + marginKm around centre. Inside the disk of radiusKm the pieces hold exactly
// what the uncut outline holds. A cut that falls apart gives several pieces. Works across 180°.
// An airspace that holds the whole area is the instrument's circle around the take-off (its
// 16-gon holds the area), every edge a cut edge. `evenWithoutSaving`: the pieces even where they
// take as many bytes as the whole (they may still simplify to fewer).
[[nodiscard]] ClipResult clipToArea(const AirspaceRecord& airspace, const ClipArea& area,
                                    bool evenWithoutSaving = false);

// The cut marks of any polygon already cut to `area` (e.g. after simplifying a piece): true for an
// edge that lies on or beyond the cut boundary. For the map and the report.
[[nodiscard]] std::vector<bool> cutEdgeMarks(const std::vector<GeoPoint>& polygon,
                                             const ClipArea& area);

}  // namespace airspace
