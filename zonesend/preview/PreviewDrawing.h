// The preview of one airspace: a white frame, the name in its top-left corner, the outline as
// the instrument will receive it (decoded from the last-airspace copy of its encoding) and a
// distance scale in nautical miles along the bottom.
#pragma once

#include <QImage>
#include <QSize>

#include "airspace/AirspaceRecord.h"
#include "zonesend/PixelRect.h"

class QPainter;

namespace zonesend {

// Draws into rect with the painter's font. Nothing of the drawing survives the call.
void drawPreview(QPainter& painter, const airspace::AirspaceRecord& airspace,
                 const PixelRect& rect);

// The preview alone, in an image of the given size (what `quillon preview` writes).
[[nodiscard]] QImage renderPreview(const airspace::AirspaceRecord& airspace, QSize size);

}  // namespace zonesend
