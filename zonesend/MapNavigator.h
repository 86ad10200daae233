// The pilot's way around the map, without a toolkit: the view starts framed on the take-off's
// radius and its margin, "Whole selection" frames every selected outline instead, the mouse wheel
// and + and - zoom, a drag and the arrow keys pan. Both dialogs forward their events here and draw
// the map with view().
#pragma once

#include <optional>

#include "airspace/Selection.h"
#include "zonesend/MapLayout.h"

namespace zonesend {

enum class MapKey { Left, Right, Up, Down, ZoomIn, ZoomOut };

class MapNavigator {
public:
    // Each wheel notch zooms by this factor, + and - by its square.
    static constexpr double kWheelFactor = 1.25;
    static constexpr double kMinZoom = 1.0 / 16;
    static constexpr double kMaxZoom = 512.0;
    // An arrow key moves the view by this part of the map's width or height.
    static constexpr double kKeyPanPart = 0.25;

    [[nodiscard]] const MapView& view() const { return view_; }
    [[nodiscard]] bool wholeSelection() const { return view_.frame == MapFrame::Selection; }

    // A new take-off point or radius frames the new radius again, as a new file does.
    void follow(const std::optional<airspace::LatLon>& takeOff, double radiusKm);
    void reset();
    // The drawing on show, whose scale and area the gestures refer to.
    void noteDrawing(const MapDrawing& drawing);

    // Each returns whether the view changed and the map is to be drawn again.
    bool OnWholeSelection(bool on);
    bool OnWheel(int notches, MapPixel at);  // notches > 0 zoom in around `at`
    bool OnKey(MapKey key);
    void OnDragStart(MapPixel at);
    bool OnDragMove(MapPixel at);
    void OnDragEnd();
    [[nodiscard]] bool dragging() const { return drag_.has_value(); }

private:
    bool zoomAround(double factor, MapPixel at);
    bool panByPixels(double dx, double dy);

    MapView view_{MapFrame::Radius};
    std::optional<airspace::LatLon> takeOff_;
    double radiusKm_ = 0.0;
    double pixelsPerKm_ = 0.0;
    PixelRect area_;
    std::optional<MapPixel> drag_;
};

}  // namespace zonesend
