// Paints the map of a selection (MapLayout) with QPainter, for the dialog and `quillon map`.
#pragma once

#include <QFont>
#include <QImage>
#include <QSize>

#include "zonesend/MapLayout.h"

class QPainter;

namespace zonesend {

// Lays the map out with the painter's font and paints it into rect; returns the layout, whose
// scale and area the pilot's gestures refer to.
MapDrawing drawMap(QPainter& painter, const MapRequest& request, const PixelRect& rect);

// The map alone, in an image of the given size, with the given font.
[[nodiscard]] QImage renderMap(const MapRequest& request, QSize size, const QFont& font);

}  // namespace zonesend
