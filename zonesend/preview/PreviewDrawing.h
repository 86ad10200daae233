// The preview of one airspace (zonesend/PreviewPicture.h) drawn with QPainter.
#pragma once

#include <QImage>
#include <QSize>

#include "airspace/AirspaceRecord.h"
#include "zonesend/PreviewPicture.h"

class QPainter;

namespace zonesend {

// Draws into rect with the painter's font. Nothing of the drawing survives the call.
void drawPreview(QPainter& painter, const airspace::AirspaceRecord& airspace,
                 const PixelRect& rect);

// The preview alone, in an image of the given size (what `quillon preview` writes).
[[nodiscard]] QImage renderPreview(const airspace::AirspaceRecord& airspace, QSize size);

}  // namespace zonesend
