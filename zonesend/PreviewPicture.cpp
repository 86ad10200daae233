#include "zonesend/PreviewPicture.h"

#include <algorithm>

#include "airspace/OutlineDecoder.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/ScaleBar.h"

namespace zonesend {

namespace {

enum class Anchor { Left, Centre, Right };

void placeText(PreviewPicture& picture, const TextMeasure& measure, int x, int top,
               const std::string& text, Anchor anchor) {
    const int width = measure.width(text);
    int left = x;
    if (anchor == Anchor::Centre) left = x - width / 2;
    if (anchor == Anchor::Right) left = x - width;
    picture.texts.push_back({left, top, text});
}

void tick(PreviewPicture& picture, int x, const ScaleBarLayout& bar) {
    picture.lines.push_back({{x, bar.tickTop}, {x, bar.tickBottom}});
}

// Lays out the bar and returns the scale in outline units per pixel; 0 when the rectangle has no
// room for an outline.
float layoutScale(PreviewPicture& picture, const TextMeasure& measure, const PixelRect& rect,
                  float height, float width, int topOfArea, int& bottomOfArea) {
    const ScaleBarLayout bar =
        layoutScaleBar(rect.left, rect.right, rect.bottom, measure.lineHeight());
    bottomOfArea = bar.bottomOfArea;

    picture.lines.push_back({{bar.barLeft, bar.barY}, {bar.barRight, bar.barY}});
    tick(picture, bar.barLeft, bar);
    tick(picture, bar.barRight - 1, bar);
    placeText(picture, measure, bar.barLeft, bar.textY, "0 nm", Anchor::Left);

    ScaleChoice choice;
    if (!chooseScale(bar, bottomOfArea - topOfArea, width, height, choice)) return 0.0f;
    for (std::size_t i = 0; i < choice.tickXs.size(); ++i) {
        tick(picture, choice.tickXs[i], bar);
        placeText(picture, measure, choice.tickXs[i], bar.textY, choice.labels[i], Anchor::Centre);
    }
    placeText(picture, measure, bar.barRight, bar.textY, choice.labels.back(), Anchor::Right);
    return choice.unitsPerPixel;
}

}  // namespace

PreviewPicture layoutPreview(const airspace::AirspaceRecord& airspace, const PixelRect& rect,
                             const TextMeasure& measure) {
    PreviewPicture picture;
    picture.frame = rect;
    placeText(picture, measure, rect.left + 2, rect.top + 1, toDisplayUtf8(airspace.name),
              Anchor::Left);
    const int topOfArea = rect.top + 1 + measure.lineHeight();

    const std::vector<airspace::OutlinePoint> points = airspace::decodeOutline(airspace);
    // The reference point (0, 0) is always inside the box.
    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const airspace::OutlinePoint& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const float width = static_cast<float>(maxX - minX);
    const float height = static_cast<float>(maxY - minY);

    int bottomOfArea = 0;
    const float scale = layoutScale(picture, measure, rect, height, width, topOfArea, bottomOfArea);
    if (scale > 0.0f && !points.empty()) {
        const int centreX = (rect.left + rect.right) / 2;
        const int centreY = (topOfArea + bottomOfArea) / 2;
        const int originX = centreX - static_cast<int>((width / 2 + minX) / scale);
        const int originY = centreY + static_cast<int>((height / 2 + minY) / scale);
        picture.outline.reserve(points.size());
        for (const airspace::OutlinePoint& p : points) {
            picture.outline.push_back(
                {originX + static_cast<int>(p.x / scale), originY - static_cast<int>(p.y / scale)});
        }
    }
    return picture;
}

}  // namespace zonesend
