#include "tools/quillon/image_output.h"

#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgGenerator>
#include <QtGlobal>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "tools/quillon/command.h"
#include "tools/quillon/input.h"
#include "tools/quillon/texts.h"
#include "zonesend/preview/MapPainter.h"
#include "zonesend/preview/PreviewDrawing.h"

namespace quillon {
namespace {

void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg || type == QtCriticalMsg || settings().verbose()) {
        std::fprintf(stderr, "quillon: Qt: %s\n", message.toLocal8Bit().constData());
    }
}

}  // namespace

struct DrawingSession::Impl {
    int argc = 1;
    char name[8] = "quillon";
    char* argv[2] = {name, nullptr};
    QtMessageHandler previous = nullptr;
    QGuiApplication* application = nullptr;
};

DrawingSession::DrawingSession() : impl_(new Impl) {
    impl_->previous = qInstallMessageHandler(quietMessages);
    // Fonts need a GUI application; without a display the drawing happens off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    impl_->application = new QGuiApplication(impl_->argc, impl_->argv);
}

DrawingSession::~DrawingSession() {
    delete impl_->application;
    qInstallMessageHandler(impl_->previous);
    delete impl_;
}

// Paints a white page of size with draw into the file; false when it cannot be written.
static bool writeImage(const std::string& path, ImageFormat format, QSize size,
                       const std::function<void(QPainter&)>& draw) {
    const QString file = QString::fromStdString(path);
    if (format == ImageFormat::Png) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        draw(painter);
        painter.end();
        return image.save(file, "PNG");
    }
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Quillon"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    draw(painter);
    if (!painter.end()) return false;
    // The generator says nothing of a file it could not write.
    return QFile::exists(file) && QFile(file).size() > 0;
}

bool writePreviewImage(const std::string& path, ImageFormat format,
                       const airspace::AirspaceRecord& airspace, int width, int height) {
    return writeImage(path, format, QSize(width, height), [&](QPainter& p) {
        zonesend::drawPreview(p, airspace, zonesend::PixelRect{0, 0, width, height});
    });
}

bool writeMapImage(const std::string& path, ImageFormat format, const zonesend::MapRequest& request,
                   int width, int height, int fontPixels) {
    return writeImage(path, format, QSize(width, height), [&](QPainter& p) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(fontPixels);
        p.setFont(font);
        zonesend::drawMap(p, request, zonesend::PixelRect{0, 0, width, height});
    });
}

}  // namespace quillon
