// What the preview of one airspace consists of, in pixels: the white frame, the name in its
// top-left corner, the distance scale along the bottom and the outline as the instrument will
// receive it (decoded from the last-airspace copy of its encoding). Each toolkit's painter draws
// this same picture, so the preview looks alike wherever it is shown.
#pragma once

#include <string>
#include <vector>

#include "airspace/AirspaceRecord.h"
#include "zonesend/PixelRect.h"
#include "zonesend/TextMeasure.h"

namespace zonesend {

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A straight line from `from` up to, not including, `to`, as a move-to and line-to draw it.
struct PixelSegment {
    PixelPoint from;
    PixelPoint to;
};

// A text placed by the top-left corner of its line, in the painter's font. UTF-8.
struct PlacedText {
    int left = 0;
    int top = 0;
    std::string text;
};

struct PreviewPicture {
    PixelRect frame;  // a black 1-pixel frame filled white
    std::vector<PlacedText> texts;
    std::vector<PixelSegment> lines;
    std::vector<PixelPoint> outline;  // a polyline; closed, since the last point is the first
};

[[nodiscard]] PreviewPicture layoutPreview(const airspace::AirspaceRecord& airspace,
                                           const PixelRect& rect, const TextMeasure& measure);

}  // namespace zonesend
