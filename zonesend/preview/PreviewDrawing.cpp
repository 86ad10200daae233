#include "zonesend/preview/PreviewDrawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <vector>

#include "airspace/OutlineDecoder.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/ScaleBar.h"

namespace zonesend {

namespace {

enum class Anchor { Left, Centre, Right };

// Text placed by the top of its line, as the drawing's coordinates are meant.
void textAt(QPainter& painter, int x, int top, const QString& text, Anchor anchor) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    int left = x;
    if (anchor == Anchor::Centre) left = x - width / 2;
    if (anchor == Anchor::Right) left = x - width;
    painter.drawText(QPoint(left, top + metrics.ascent()), text);
}

void tick(QPainter& painter, int x, const ScaleBarLayout& bar) {
    painter.drawLine(x, bar.tickTop, x, bar.tickBottom - 1);
}

// Draws the bar and returns the scale in outline units per pixel; 0 when the rectangle has no
// room for an outline.
float drawScaleBar(QPainter& painter, const PixelRect& rect, float height, float width,
                   int topOfArea, int& bottomOfArea) {
    const QFontMetrics metrics = painter.fontMetrics();
    const ScaleBarLayout bar = layoutScaleBar(rect.left, rect.right, rect.bottom, metrics.height());
    bottomOfArea = bar.bottomOfArea;

    painter.drawLine(bar.barLeft, bar.barY, bar.barRight - 1, bar.barY);
    tick(painter, bar.barLeft, bar);
    tick(painter, bar.barRight - 1, bar);
    textAt(painter, bar.barLeft, bar.textY, QStringLiteral("0 nm"), Anchor::Left);

    ScaleChoice choice;
    if (!chooseScale(bar, bottomOfArea - topOfArea, width, height, choice)) return 0.0f;
    for (std::size_t i = 0; i < choice.tickXs.size(); ++i) {
        tick(painter, choice.tickXs[i], bar);
        textAt(painter, choice.tickXs[i], bar.textY, QString::fromStdString(choice.labels[i]),
               Anchor::Centre);
    }
    textAt(painter, bar.barRight, bar.textY, QString::fromStdString(choice.labels.back()),
           Anchor::Right);
    return choice.unitsPerPixel;
}

}  // namespace

void drawPreview(QPainter& painter, const airspace::AirspaceRecord& airspace,
                 const PixelRect& rect) {
    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(rect.left, rect.top, std::max(0, rect.right - rect.left - 1),
                     std::max(0, rect.bottom - rect.top - 1));
    painter.setBrush(Qt::NoBrush);

    const QFontMetrics metrics = painter.fontMetrics();
    textAt(painter, rect.left + 2, rect.top + 1,
           QString::fromStdString(toDisplayUtf8(airspace.name)), Anchor::Left);
    const int topOfArea = rect.top + 1 + metrics.height();

    const std::vector<airspace::OutlinePoint> points = airspace::decodeOutline(airspace);
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
    const float scale = drawScaleBar(painter, rect, height, width, topOfArea, bottomOfArea);
    if (scale > 0.0f && !points.empty()) {
        const int centreX = (rect.left + rect.right) / 2;
        const int centreY = (topOfArea + bottomOfArea) / 2;
        const int originX = centreX - static_cast<int>((width / 2 + minX) / scale);
        const int originY = centreY + static_cast<int>((height / 2 + minY) / scale);
        QPolygon outline;
        outline.reserve(static_cast<int>(points.size()));
        for (const airspace::OutlinePoint& p : points) {
            outline << QPoint(originX + static_cast<int>(p.x / scale),
                              originY - static_cast<int>(p.y / scale));
        }
        painter.drawPolyline(outline);
    }
    painter.restore();
}

QImage renderPreview(const airspace::AirspaceRecord& airspace, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawPreview(painter, airspace, PixelRect{0, 0, size.width(), size.height()});
    painter.end();
    return image;
}

}  // namespace zonesend
