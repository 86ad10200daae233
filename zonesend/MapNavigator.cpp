#include "zonesend/MapNavigator.h"

#include <algorithm>
#include <cmath>

namespace zonesend {

void MapNavigator::follow(const std::optional<airspace::LatLon>& takeOff, double radiusKm) {
    const bool same =
        takeOff.has_value() == takeOff_.has_value() &&
        (!takeOff || (takeOff->lat == takeOff_->lat && takeOff->lon == takeOff_->lon)) &&
        radiusKm == radiusKm_;
    if (same) return;
    takeOff_ = takeOff;
    radiusKm_ = radiusKm;
    reset();
}

void MapNavigator::reset() {
    view_ = MapView{MapFrame::Radius};
    drag_.reset();
}

void MapNavigator::noteDrawing(const MapDrawing& drawing) {
    pixelsPerKm_ = drawing.pixelsPerKm;
    area_ = drawing.area;
}

bool MapNavigator::OnWholeSelection(bool on) {
    const MapView framed{on ? MapFrame::Selection : MapFrame::Radius};
    if (view_ == framed) return false;
    view_ = framed;
    return true;
}

bool MapNavigator::OnWheel(int notches, MapPixel at) {
    return zoomAround(std::pow(kWheelFactor, notches), at);
}

bool MapNavigator::OnKey(MapKey key) {
    const double width = area_.right - area_.left, height = area_.bottom - area_.top;
    const MapPixel centre{(area_.left + area_.right) / 2, (area_.top + area_.bottom) / 2};
    switch (key) {
        case MapKey::ZoomIn:
            return zoomAround(kWheelFactor * kWheelFactor, centre);
        case MapKey::ZoomOut:
            return zoomAround(1.0 / (kWheelFactor * kWheelFactor), centre);
        // An arrow looks further that way: the map moves the other way under the frame.
        case MapKey::Left:
            return panByPixels(width * kKeyPanPart, 0);
        case MapKey::Right:
            return panByPixels(-width * kKeyPanPart, 0);
        case MapKey::Up:
            return panByPixels(0, height * kKeyPanPart);
        case MapKey::Down:
            return panByPixels(0, -height * kKeyPanPart);
    }
    return false;
}

void MapNavigator::OnDragStart(MapPixel at) {
    drag_ = at;
}

bool MapNavigator::OnDragMove(MapPixel at) {
    if (!drag_) return false;
    const MapPixel from = *drag_;
    drag_ = at;
    return panByPixels(at.x - from.x, at.y - from.y);
}

void MapNavigator::OnDragEnd() {
    drag_.reset();
}

bool MapNavigator::zoomAround(double factor, MapPixel at) {
    if (!(pixelsPerKm_ > 0)) return false;
    const double zoom = std::clamp(view_.zoom * factor, kMinZoom, kMaxZoom);
    if (zoom == view_.zoom) return false;
    // The point under `at` stays there: it lies (at - centre) / scale from the view's centre
    // before, and must after.
    const double scale = pixelsPerKm_, newScale = pixelsPerKm_ * zoom / view_.zoom;
    const double dx = at.x - (area_.left + area_.right) / 2.0;
    const double dy = at.y - (area_.top + area_.bottom) / 2.0;
    view_.panEastKm += dx * (1.0 / scale - 1.0 / newScale);
    view_.panNorthKm -= dy * (1.0 / scale - 1.0 / newScale);
    view_.zoom = zoom;
    pixelsPerKm_ = newScale;
    return true;
}

bool MapNavigator::panByPixels(double dx, double dy) {
    if (!(pixelsPerKm_ > 0) || (dx == 0 && dy == 0)) return false;
    // The map follows the hand: dragging it right brings what lies west into view.
    view_.panEastKm -= dx / pixelsPerKm_;
    view_.panNorthKm += dy / pixelsPerKm_;
    return true;
}

}  // namespace zonesend
