// The distance scale under an airspace preview: which bar to draw, its labels, and the scale
// (outline units, hundredths of a nautical mile, per pixel) that the outline is drawn at.
#pragma once

#include <string>
#include <vector>

namespace zonesend {

struct ScaleBarLayout {
    // Pixel geometry, all from the preview rectangle (right and bottom exclusive).
    int barLeft = 0;
    int barRight = 0;
    int barLength = 0;
    int barY = 0;
    int tickTop = 0;
    int tickBottom = 0;
    int textY = 0;
    int bottomOfArea = 0;  // lowest row the outline may use
};

// Geometry of the bar for a rectangle whose labels are textHeight pixels high.
[[nodiscard]] ScaleBarLayout layoutScaleBar(int rectLeft, int rectRight, int rectBottom,
                                            int textHeight);

struct ScaleChoice {
    bool quarterBar = false;  // ticks at quarters (true) or thirds (false)
    std::vector<int> tickXs;  // inner ticks, left to right
    // Labels of the inner ticks (centred on them) and, last, the label at the bar's right end.
    std::vector<std::string> labels;
    float unitsPerPixel = 0.0f;
};

// Chooses the bar for an outline of the given extent (outline units) drawn in an area of
// areaHeight pixels above the bar. Returns false, with nothing chosen, when the rectangle leaves
// no room for a bar or an area: a scale of zero or a division by zero would follow.
[[nodiscard]] bool chooseScale(const ScaleBarLayout& layout, int areaHeight, float width,
                               float height, ScaleChoice& choice);

}  // namespace zonesend
