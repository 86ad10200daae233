#include "zonesend/gui/MapCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWheelEvent>

#include "seriallink/Messages.h"
#include "zonesend/Strings.h"
#include "zonesend/preview/MapPainter.h"

namespace zonesend {

namespace {

constexpr int kWheelNotch = 120;  // eighths of a degree
constexpr int kButtonGap = 3;

MapPixel pixelOf(const QPointF& point) {
    return {qRound(point.x()), qRound(point.y())};
}

QPushButton* makeButton(const std::string& text, const std::string& tip, QWidget* parent) {
    auto* button = new QPushButton(QString::fromStdString(text), parent);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    if (!tip.empty()) button->setToolTip(QString::fromStdString(tip));
    return button;
}

}  // namespace

MapCanvas::MapCanvas(std::function<MapRequest()> request, QWidget* parent)
    : QWidget(parent), request_(std::move(request)) {
    setObjectName(QStringLiteral("map"));
    // Keys reach the map once it is clicked; the dialog's tab order stays the template's.
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::OpenHandCursor);
    setToolTip(QString::fromStdString(seriallink::LoadString(ids::kMapHint)));

    whole_ = makeButton(seriallink::LoadString(ids::kWholeSelection), "", this);
    whole_->setObjectName(QStringLiteral("wholeSelection"));
    whole_->setCheckable(true);
    zoomOut_ = makeButton("\xE2\x88\x92", seriallink::LoadString(ids::kZoomOut), this);
    zoomOut_->setObjectName(QStringLiteral("zoomOut"));
    zoomIn_ = makeButton("+", seriallink::LoadString(ids::kZoomIn), this);
    zoomIn_->setObjectName(QStringLiteral("zoomIn"));
    connect(whole_, &QPushButton::toggled, this,
            [this](bool on) { follow(navigator_.OnWholeSelection(on)); });
    connect(zoomOut_, &QPushButton::clicked, this,
            [this] { follow(navigator_.OnKey(MapKey::ZoomOut)); });
    connect(zoomIn_, &QPushButton::clicked, this,
            [this] { follow(navigator_.OnKey(MapKey::ZoomIn)); });
}

void MapCanvas::follow(bool changed) {
    if (changed) redraw();
}

void MapCanvas::redraw() {
    MapRequest request = request_();
    navigator_.follow(request.takeOff, request.radiusKm);
    request.view = navigator_.view();
    {
        // A new take-off frames its radius again: the button says so.
        const QSignalBlocker quiet(whole_);
        whole_->setChecked(navigator_.wholeSelection());
    }
    QImage image(size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.setFont(font());
    navigator_.noteDrawing(drawMap(painter, request, PixelRect{0, 0, width(), height()}));
    painter.end();
    image_ = image;
    update();
}

void MapCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void MapCanvas::resizeEvent(QResizeEvent*) {
    placeButtons();
}

void MapCanvas::placeButtons() {
    // Bottom right, in the band of the scale bars, which take at most the left third.
    const int height = fontMetrics().height() + 6;
    const int small = height + 4;
    const int wide = std::max(small, whole_->sizeHint().width());
    const int top = this->height() - height - 4;
    int right = width() - 5;
    for (auto [button, buttonWidth] :
         {std::pair{zoomIn_, small}, std::pair{zoomOut_, small}, std::pair{whole_, wide}}) {
        button->setGeometry(right - buttonWidth, top, buttonWidth, height);
        right -= buttonWidth + kButtonGap;
    }
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
    wheelAngle_ += event->angleDelta().y();
    const int notches = wheelAngle_ / kWheelNotch;
    wheelAngle_ -= notches * kWheelNotch;
    if (notches != 0) follow(navigator_.OnWheel(notches, pixelOf(event->position())));
    event->accept();
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    navigator_.OnDragStart(pixelOf(event->position()));
    setCursor(Qt::ClosedHandCursor);
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (navigator_.dragging()) follow(navigator_.OnDragMove(pixelOf(event->position())));
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    navigator_.OnDragEnd();
    setCursor(Qt::OpenHandCursor);
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
    std::optional<MapKey> key;
    switch (event->key()) {
        case Qt::Key_Left:
            key = MapKey::Left;
            break;
        case Qt::Key_Right:
            key = MapKey::Right;
            break;
        case Qt::Key_Up:
            key = MapKey::Up;
            break;
        case Qt::Key_Down:
            key = MapKey::Down;
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:  // + without the shift key
            key = MapKey::ZoomIn;
            break;
        case Qt::Key_Minus:
            key = MapKey::ZoomOut;
            break;
        default:
            break;
    }
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    follow(navigator_.OnKey(*key));
}

}  // namespace zonesend
