// The map of the selection in Airspace Setup: paints what MapLayout lays out and forwards the
// pilot's wheel, drag, keys and buttons to MapNavigator. "Whole selection", - and + stand in the
// band under the map, beside the scale bars.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "zonesend/MapNavigator.h"

class QPushButton;

namespace zonesend {

class MapCanvas : public QWidget {
    Q_OBJECT
public:
    // `request` gives what to draw each time the map is drawn; the canvas adds its view.
    MapCanvas(std::function<MapRequest()> request, QWidget* parent);

    // Lays the map out again from a fresh request and shows it.
    void redraw();
    [[nodiscard]] const QImage& image() const { return image_; }
    [[nodiscard]] MapNavigator& navigator() { return navigator_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeButtons();
    void follow(bool changed);

    std::function<MapRequest()> request_;
    MapNavigator navigator_;
    QImage image_;
    QPushButton* whole_ = nullptr;
    QPushButton* zoomOut_ = nullptr;
    QPushButton* zoomIn_ = nullptr;
    int wheelAngle_ = 0;  // eighths of a degree not yet a whole notch
};

}  // namespace zonesend
