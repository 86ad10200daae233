// The preview of one airspace: a white frame, the name in its top-left corner, the outline as
// the instrument will receive it (decoded from the last-airspace copy of its encoding) and a
// distance scale in nautical miles along the bottom.
#pragma once

#include <QImage>
#include <QSize>

#include "airspace/AirspaceRecord.h"

class QPainter;

namespace zonesend {

// Left, top, right, bottom in pixels; right and bottom are exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Draws into rect with the painter's font. Nothing of the drawing survives the call.
void drawPreview(QPainter& painter, const airspace::AirspaceRecord& airspace,
                 const PixelRect& rect);

// The preview alone, in an image of the given size (what `quillon preview` writes).
[[nodiscard]] QImage renderPreview(const airspace::AirspaceRecord& airspace, QSize size);

}  // namespace zonesend
