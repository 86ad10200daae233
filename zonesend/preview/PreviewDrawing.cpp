#include "zonesend/preview/PreviewDrawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QString>
#include <algorithm>

namespace zonesend {

namespace {

class PainterMeasure : public TextMeasure {
public:
    explicit PainterMeasure(const QPainter& painter) : metrics_(painter.fontMetrics()) {}
    int width(const std::string& text) const override {
        return metrics_.horizontalAdvance(QString::fromStdString(text));
    }
    int lineHeight() const override { return metrics_.height(); }
    int ascent() const { return metrics_.ascent(); }

private:
    QFontMetrics metrics_;
};

// QPainter draws a line's last pixel, a line-to does not.
QPoint lastPixel(const PixelSegment& line) {
    const int dx = line.to.x > line.from.x ? -1 : (line.to.x < line.from.x ? 1 : 0);
    const int dy = line.to.y > line.from.y ? -1 : (line.to.y < line.from.y ? 1 : 0);
    return QPoint(line.to.x + dx, line.to.y + dy);
}

}  // namespace

void drawPreview(QPainter& painter, const airspace::AirspaceRecord& airspace,
                 const PixelRect& rect) {
    const PainterMeasure measure(painter);
    const PreviewPicture picture = layoutPreview(airspace, rect, measure);

    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const PixelRect& frame = picture.frame;
    painter.drawRect(frame.left, frame.top, std::max(0, frame.right - frame.left - 1),
                     std::max(0, frame.bottom - frame.top - 1));
    painter.setBrush(Qt::NoBrush);

    for (const PlacedText& text : picture.texts) {
        painter.drawText(QPoint(text.left, text.top + measure.ascent()),
                         QString::fromStdString(text.text));
    }
    for (const PixelSegment& line : picture.lines) {
        if (line.from == line.to) continue;
        painter.drawLine(QPoint(line.from.x, line.from.y), lastPixel(line));
    }
    if (!picture.outline.empty()) {
        QPolygon outline;
        outline.reserve(static_cast<int>(picture.outline.size()));
        for (const PixelPoint& p : picture.outline) outline << QPoint(p.x, p.y);
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
