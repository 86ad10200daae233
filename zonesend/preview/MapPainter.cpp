#include "zonesend/preview/MapPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QString>

namespace zonesend {

namespace {

class FontMeasure : public TextMeasure {
public:
    explicit FontMeasure(const QFontMetrics& metrics) : metrics_(metrics) {}
    int width(const std::string& utf8) const override {
        return metrics_.horizontalAdvance(QString::fromStdString(utf8));
    }
    int lineHeight() const override { return metrics_.height(); }

private:
    QFontMetrics metrics_;
};

struct Style {
    QColor colour;
    qreal width;
    Qt::PenStyle style;
    QColor fill;
};

Style styleOf(MapPen pen) {
    switch (pen) {
        case MapPen::Frame:
            return {Qt::black, 1, Qt::SolidLine, Qt::white};
        case MapPen::Grid:
            return {QColor(0xd8, 0xdc, 0xe0), 1, Qt::SolidLine, {}};
        case MapPen::GridText:
            return {QColor(0x80, 0x88, 0x90), 1, Qt::SolidLine, {}};
        case MapPen::Outline:
            return {QColor(0x1f, 0x4e, 0x9c), 1, Qt::SolidLine, QColor(0x1f, 0x4e, 0x9c, 0x22)};
        case MapPen::Highlight:
            return {QColor(0xc8, 0x1e, 0x1e), 2, Qt::SolidLine, QColor(0xc8, 0x1e, 0x1e, 0x40)};
        case MapPen::Original:
            return {QColor(0x90, 0x90, 0x90), 1, Qt::SolidLine, {}};
        case MapPen::CutEdge:
            return {QColor(0x0b, 0x2a, 0x5e), 1.5, Qt::DashLine, {}};
        case MapPen::CutHighlight:
            return {QColor(0xc8, 0x1e, 0x1e), 2, Qt::DashLine, {}};
        case MapPen::Ring:
            return {QColor(0x1a, 0x8a, 0x2e), 1.5, Qt::DashLine, {}};
        case MapPen::Margin:
            return {QColor(0x1a, 0x8a, 0x2e), 1, Qt::DotLine, {}};
        case MapPen::TakeOff:
            return {QColor(0x1a, 0x8a, 0x2e), 2, Qt::SolidLine, {}};
        case MapPen::Scale:
            return {Qt::black, 1, Qt::SolidLine, {}};
        case MapPen::Label:
            return {QColor(0x24, 0x30, 0x48), 1, Qt::SolidLine, {}};
        case MapPen::Caption:
            return {Qt::black, 1, Qt::SolidLine, {}};
    }
    return {Qt::black, 1, Qt::SolidLine, {}};
}

}  // namespace

MapDrawing drawMap(QPainter& painter, const MapRequest& request, const PixelRect& rect) {
    const QFontMetrics metrics = painter.fontMetrics();
    const MapDrawing drawing = layoutMap(request, rect, FontMeasure(metrics));

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(rect.left, rect.top, std::max(0, rect.right - rect.left - 1),
                     std::max(0, rect.bottom - rect.top - 1));
    // Lines stay within the map itself, clear of the caption and the scale bars.
    const QRect area(drawing.area.left, drawing.area.top,
                     std::max(0, drawing.area.right - drawing.area.left),
                     std::max(0, drawing.area.bottom - drawing.area.top));
    const QRect inside(rect.left + 1, rect.top + 1, std::max(0, rect.right - rect.left - 2),
                       std::max(0, rect.bottom - rect.top - 2));

    for (const MapLine& line : drawing.lines) {
        const Style style = styleOf(line.pen);
        painter.setClipRect(line.pen == MapPen::Scale ? inside : area);
        painter.setRenderHint(QPainter::Antialiasing, line.pen != MapPen::Grid);
        painter.setPen(line.stroked ? QPen(style.colour, style.width, style.style)
                                    : QPen(Qt::NoPen));
        QPolygon polygon;
        polygon.reserve(static_cast<int>(line.points.size()));
        for (const MapPixel& p : line.points) polygon << QPoint(p.x, p.y);
        if (line.filled && style.fill.isValid()) {
            painter.setBrush(style.fill);
            painter.drawPolygon(polygon);
        } else {
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(polygon);
        }
    }

    painter.setClipRect(inside);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const MapText& text : drawing.texts) {
        const QString shown = QString::fromStdString(text.text);
        const int width = metrics.horizontalAdvance(shown);
        int left = text.x;
        if (text.anchor == MapAnchor::Centre) left -= width / 2;
        if (text.anchor == MapAnchor::Right) left -= width;
        QFont font = painter.font();
        font.setBold(text.pen == MapPen::Caption || text.pen == MapPen::Highlight);
        painter.setFont(font);
        // Labels stand on a light halo so that they stay readable over outlines and the grid.
        if (text.pen == MapPen::Label || text.pen == MapPen::Highlight ||
            text.pen == MapPen::GridText) {
            painter.fillRect(QRect(left - 1, text.top, width + 2, metrics.height()),
                             QColor(255, 255, 255, 0xc0));
        }
        painter.setPen(styleOf(text.pen).colour);
        painter.drawText(QPoint(left, text.top + metrics.ascent()), shown);
    }
    painter.restore();
    return drawing;
}

QImage renderMap(const MapRequest& request, QSize size, const QFont& font) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    drawMap(painter, request, PixelRect{0, 0, size.width(), size.height()});
    painter.end();
    return image;
}

}  // namespace zonesend
