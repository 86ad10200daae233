// The map of a whole selection, laid out without a toolkit: every outline decoded from the bytes
// that would be sent, over the file's own outline where the two differ, projected into a pixel
// rectangle, with a latitude/longitude grid, the take-off point with its radius ring and margin
// circle, a scale in km and nm, labels (name, floor) that never overlap, and the clicked airspace
// highlighted. The view frames either the take-off's radius or the whole selection, zoomed and
// panned by the pilot. The result is a list of lines and texts in pixels that QPainter or GDI
// paint as they come.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "airspace/AirspaceRecord.h"
#include "airspace/Selection.h"
#include "zonesend/PixelRect.h"
#include "zonesend/TextMeasure.h"

namespace zonesend {

// What a line or text is, so that each painter picks its own pen, brush and colour.
enum class MapPen {
    Frame,
    Grid,
    GridText,
    Outline,
    Highlight,
    Original,      // the file's own outline under a simplified or cut one: thin grey
    CutEdge,       // an edge made by cutting the outline to the flying area: dashed
    CutHighlight,  // the same on the clicked airspace
    Ring,
    Margin,  // the margin circle beyond the ring, up to where outlines are cut
    TakeOff,
    Scale,
    Label,
    Caption
};
enum class MapAnchor { Left, Centre, Right };

struct MapPixel {
    int x = 0;
    int y = 0;
    bool operator==(const MapPixel&) const = default;
};

struct MapLine {
    MapPen pen = MapPen::Outline;
    std::vector<MapPixel> points;
    bool filled = false;  // a closed outline whose inside is tinted
    bool stroked = true;  // false: the tint alone, its edges drawn as lines of their own
};

struct MapText {
    MapPen pen = MapPen::Label;
    int x = 0;
    int top = 0;  // the top of the text's line
    std::string text;
    MapAnchor anchor = MapAnchor::Left;
};

struct MapDrawing {
    PixelRect frame;
    PixelRect area;  // where the map itself lies, inside the frame's caption and scale bands
    std::vector<MapLine> lines;  // painted in order, so later ones lie on top
    std::vector<MapText> texts;
    double pixelsPerKm = 0.0;  // 0 when there was nothing to project
};

// One outline as it goes to the instrument.
struct MapSentOutline {
    const airspace::AirspaceRecord* record = nullptr;
    // Per edge of decodeOutlinePoints(*record), edge i from point i to point i + 1 (the last one
    // closes): true where the cut to the flying area made it. Empty: no edge was cut.
    std::vector<bool> cutEdges;
};

// One selected airspace on the map.
struct MapAirspace {
    MapAirspace(const airspace::AirspaceRecord* sentRecord) : record(sentRecord) {}  // NOLINT

    // Names the label and is what `highlighted` points at; its outline is the one sent unless
    // `sent` says otherwise.
    const airspace::AirspaceRecord* record = nullptr;
    // The file's own outline, drawn thin and grey under what is sent where the two differ; none
    // when null.
    const airspace::AirspaceRecord* original = nullptr;
    // The outlines sent for it when they are not the record's own: a simplified outline, or the
    // pieces of a cut one. An airspace that shares another's identical outline may point at
    // that one's.
    std::vector<MapSentOutline> sent;
};

// What the view frames before the pilot zooms or pans: the take-off's radius ring and margin
// circle, or every outline of the selection. Radius falls back to the selection without a
// take-off point and radius.
enum class MapFrame { Selection, Radius };

struct MapView {
    MapFrame frame = MapFrame::Selection;
    double zoom = 1.0;       // times the framed scale
    double panEastKm = 0.0;  // the view's centre from the framed one
    double panNorthKm = 0.0;
    bool operator==(const MapView&) const = default;
};

struct MapRequest {
    std::vector<MapAirspace> airspaces;                     // as they would be sent
    const airspace::AirspaceRecord* highlighted = nullptr;  // one of their records, drawn on top
    std::optional<airspace::LatLon> takeOff;
    double radiusKm = 0.0;  // the ring around the take-off point; 0 for none
    double marginKm = 0.0;  // the margin circle beyond the ring; 0 for none
    std::string caption;    // the line at the top, e.g. the clicked airspace's full name
    MapView view;
    // Per airspace (when given): active only when a NOTAM says so; its label is marked.
    std::vector<bool> notamOnly;
};

[[nodiscard]] MapDrawing layoutMap(const MapRequest& request, const PixelRect& rect,
                                   const TextMeasure& measure);

// A text's box in pixels; right and bottom exclusive.
struct LabelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    [[nodiscard]] bool overlaps(const LabelBox& other, int gap) const;
};

// A text to place: its size and the places it may take, best first, as the centre of its box.
struct LabelRequest {
    int width = 0;
    int height = 0;
    std::vector<MapPixel> anchors;
};

// Places the labels in order, the earlier ones first: each takes the first of its anchors where
// its box lies inside `area` and `gap` pixels clear of every box placed before; a label without
// such a place is left out (-1). Returns the anchor index taken, per label.
[[nodiscard]] std::vector<int> placeLabels(const std::vector<LabelRequest>& labels,
                                           const PixelRect& area, int gap);

// The grid step in minutes of arc for a span of `spanDegrees` to show about `lines` lines.
[[nodiscard]] int gridStepMinutes(double spanDegrees, int lines);
// The longest 1-2-5 length not above `limit` (for the scale bars); 0 for a limit not above 0.
[[nodiscard]] double niceLengthBelow(double limit);
// "46°30'N", "7°E": a grid line's label; `minutes` is signed.
[[nodiscard]] std::string gridLabel(long minutes, bool latitude);

}  // namespace zonesend
