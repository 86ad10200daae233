#include "zonesend/ScaleBar.h"

#include <cmath>
#include <cstdio>

namespace zonesend {

namespace {

constexpr int kMargin = 1;
constexpr int kTickHalfAbove = 4;
constexpr int kTickBelow = 5;
constexpr float kQuarterBarThreshold = 0.3f;

std::string formatLabel(const char* format, double value) {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string formatWholeLabel(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%d nm", static_cast<int>(value));
    return text;
}

}  // namespace

ScaleBarLayout layoutScaleBar(int rectLeft, int rectRight, int rectBottom, int textHeight) {
    ScaleBarLayout layout;
    layout.textY = rectBottom - textHeight - kMargin;
    layout.barY = layout.textY - kMargin - 4;
    layout.tickTop = layout.barY - kTickHalfAbove;
    layout.tickBottom = layout.barY + kTickBelow;
    layout.barLeft = rectLeft + kMargin + 1;
    layout.barRight = rectRight - kMargin - 1;
    layout.barLength = layout.barRight - layout.barLeft;
    layout.bottomOfArea = layout.tickTop - kMargin - 1;
    return layout;
}

bool chooseScale(const ScaleBarLayout& layout, int areaHeight, float width, float height,
                 ScaleChoice& choice) {
    if (layout.barLength <= 0 || areaHeight <= 0) return false;

    // The outline's extent along the bar: its width, or its height scaled to the bar when the
    // area is relatively lower than the outline is tall.
    float span = static_cast<float>(layout.barLength) * height / static_cast<float>(areaHeight);
    if (span < width) span = width;

    int exponent = 0;
    while (span >= 1.0f) {
        ++exponent;
        span /= 10.0f;
    }
    const double p = std::pow(10.0, exponent - 3);
    const int left = layout.barLeft;
    const int length = layout.barLength;

    choice = ScaleChoice{};
    if (span >= kQuarterBarThreshold) {
        choice.quarterBar = true;
        choice.tickXs = {left + length / 4, left + length / 2, left + (3 * length) / 4};
        const double values[] = {2.5 * p, 5 * p, 7.5 * p, 10 * p};
        if (p >= 10) {
            for (double v : values) choice.labels.push_back(formatWholeLabel(v));
        } else if (p == 1.0) {
            choice.labels = {"2.5 nm", "5 nm", "7.5 nm", "10 nm"};
        } else {
            for (double v : values) choice.labels.push_back(formatLabel("%1.3f nm", v));
        }
        choice.unitsPerPixel = static_cast<float>(1000 * p / length);
    } else {
        choice.tickXs = {left + length / 3, left + (2 * length) / 3};
        const double values[] = {p, 2 * p, 3 * p};
        for (double v : values) {
            choice.labels.push_back(p >= 1 ? formatWholeLabel(v) : formatLabel("%1.2f nm", v));
        }
        choice.unitsPerPixel = static_cast<float>(300 * p / length);
    }
    return true;
}

}  // namespace zonesend
