// The map of a selection (zonesend/MapLayout.h) painted with GDI.
#pragma once

#include "shell/win32/Windows.h"
#include "zonesend/MapLayout.h"

namespace zonesend::win32 {

// Paints into rect of dc with the font selected in dc; returns the layout, whose scale and area
// the pilot's gestures refer to.
MapDrawing drawMap(HDC dc, const MapRequest& request, const PixelRect& rect);

// The map alone in a 32-bit top-down bitmap, drawn with font (the default GUI font when null);
// null when the bitmap cannot be made. The caller deletes it. The layout goes to `laidOut` when
// one is given.
[[nodiscard]] HBITMAP renderMapBitmap(const MapRequest& request, int width, int height, HFONT font,
                                      MapDrawing* laidOut = nullptr);

}  // namespace zonesend::win32
