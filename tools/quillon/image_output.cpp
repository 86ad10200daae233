#include "tools/quillon/image_output.h"

#include <QByteArray>
#include <QFile>
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

bool imageFormatOf(const std::string& path, ImageFormat& format) {
    const std::string extension = lowercaseExtension(path);
    if (extension == ".png") {
        format = ImageFormat::Png;
        return true;
    }
    if (extension == ".svg") {
        format = ImageFormat::Svg;
        return true;
    }
    return false;
}

std::string imageFormatRefusal(const std::string& path) {
    return text("cannot write '", "kann '") + path +
           text("': the name must end in .png or .svg",
                "' nicht schreiben: der Name muss auf "
                ".png oder .svg enden");
}

bool writeImage(const std::string& path, ImageFormat format, QSize size,
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

bool parseImageSize(std::string_view text, int& width, int& height) {
    const auto number = [](std::string_view digits, int& value) {
        const char* last = digits.data() + digits.size();
        const auto [end, error] = std::from_chars(digits.data(), last, value);
        return error == std::errc() && end == last;
    };
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    if (!number(text.substr(0, x), width) || !number(text.substr(x + 1), height)) return false;
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

}  // namespace quillon
