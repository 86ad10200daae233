// A rectangle of a drawing in pixels, as the preview and the map take it from either toolkit.
#pragma once

namespace zonesend {

// Left, top, right, bottom in pixels; right and bottom are exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

}  // namespace zonesend
