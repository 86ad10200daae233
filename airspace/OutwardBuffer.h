// Simplifying by a buffer: the outline grown outward by part of the tolerance, then cut short by
// the longest chords within the rest. Works on any outline, however it crosses or touches itself,
// repeats points, spikes or zig-zags: growing closes pinches and narrow bays and rounds spikes.
#pragma once

#include <optional>
#include <vector>

#include "airspace/GeoPoint.h"
#include "airspace/Planar.h"

namespace airspace {

// The outer border of all that `loop` encloses however its crossings are read, as one loop
// counter-clockwise: where the loop crosses itself the border turns onto the other edge, spikes
// and parts that only touch are walked round. Empty for fewer than three distinct points or a
// walk that does not close.
[[nodiscard]] std::vector<Planar> outerBorder(const std::vector<Planar>& loop);

// The same for an outline as the instrument holds it, on its grid: a point where the outline
// crosses itself becomes a whole point outside both edges there, as near them as can be, so that
// the border still encloses all the outline does. `strays`, if given, gets how far each point of
// the border lies from the outline's edges, in units (0 for the outline's own points). Empty where
// it cannot be walked or no such point lies within two units of the edges.
[[nodiscard]] std::vector<GeoPoint> outerBorderOnGrid(const std::vector<GeoPoint>& outline,
                                                      std::vector<double>* strays = nullptr);

// An outline on a local plane (one scale for the east-west units across it), with the outer
// border of all it encloses.
struct OutlinePlane {
    Plane local;
    double toleranceUnits = 0.0;  // the tolerance on this plane, less the rounding to the grid
    std::vector<Planar> border;   // counter-clockwise
};
// Empty for fewer than three points, a tolerance below the grid's rounding, a latitude too near
// a pole, or a border walk that does not close.
[[nodiscard]] std::optional<OutlinePlane> outlinePlane(const std::vector<GeoPoint>& outline,
                                                       double toleranceMetres);

// Polygons, vertices on the instrument's grid, meant to enclose every point of the outline and
// every region it encloses and to stray from it by at most the tolerance: the border grown by
// `growFraction` of the tolerance, then cut short by the longest chords within the rest; and,
// where the border has bays, the same with the grown points in the bays put back near the
// original (chords across a bay pass outside it, and have more room there). None where it cannot
// be made. The caller checks the promise on the encoded result.
[[nodiscard]] std::vector<std::vector<GeoPoint>> bufferedOutlines(const OutlinePlane& plane,
                                                                  double growFraction);

}  // namespace airspace
