// Screenshots for the docs: without a window manager under Xvfb a window has no title bar, so
// one is drawn around the grabbed window: its icon, its title and the two frame buttons.
#pragma once

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace testsupport {

inline QImage WithTitleBar(QWidget& window, const QIcon& icon) {
    constexpr int kBar = 26;
    const QImage content = window.grab().toImage();
    QImage image(content.width() + 2, content.height() + kBar + 1, QImage::Format_RGB32);
    image.fill(QColor(0x3a, 0x5f, 0x9a));
    QPainter painter(&image);
    painter.drawPixmap(6, 4, icon.pixmap(18, 18));
    painter.setPen(Qt::white);
    QFont font = window.font();
    font.setBold(true);
    font.setPointSize(9);
    painter.setFont(font);
    painter.drawText(QRect(30, 0, image.width() - 90, kBar), Qt::AlignVCenter,
                     window.windowTitle());
    painter.drawText(QRect(image.width() - 56, 0, 50, kBar), Qt::AlignVCenter | Qt::AlignRight,
                     QStringLiteral("_   ×"));
    painter.drawImage(1, kBar, content);
    return image;
}

}  // namespace testsupport
