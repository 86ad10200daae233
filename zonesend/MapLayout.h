// The map of a whole selection, laid out without a toolkit: every outline decoded from the bytes
// that would be sent, projected into a pixel rectangle, with a latitude/longitude grid, the
// take-off point and its radius ring, a scale in km and nm, labels (name, floor) and the clicked
// airspace highlighted. The result is a list of lines and texts in pixels that QPainter or GDI
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
    Ring,
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
    std::vector<MapLine> lines;  // painted in order, so later ones lie on top
    std::vector<MapText> texts;
    double pixelsPerKm = 0.0;  // 0 when there was nothing to project
};

struct MapRequest {
    std::vector<const airspace::AirspaceRecord*> airspaces;  // as they would be sent
    const airspace::AirspaceRecord* highlighted = nullptr;   // one of them, drawn on top
    std::optional<airspace::LatLon> takeOff;
    double radiusKm = 0.0;  // the ring around the take-off point; 0 for none
    std::string caption;    // the line at the top, e.g. the clicked airspace's full name
    // Per airspace (when given): active only when a NOTAM says so; its label is marked.
    std::vector<bool> notamOnly;
};

[[nodiscard]] MapDrawing layoutMap(const MapRequest& request, const PixelRect& rect,
                                   const TextMeasure& measure);

// The grid step in minutes of arc for a span of `spanDegrees` to show about `lines` lines.
[[nodiscard]] int gridStepMinutes(double spanDegrees, int lines);
// The longest 1-2-5 length not above `limit` (for the scale bars); 0 for a limit not above 0.
[[nodiscard]] double niceLengthBelow(double limit);
// "46°30'N", "7°E": a grid line's label; `minutes` is signed.
[[nodiscard]] std::string gridLabel(long minutes, bool latitude);

}  // namespace zonesend
