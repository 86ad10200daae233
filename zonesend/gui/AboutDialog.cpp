#include "zonesend/gui/AboutDialog.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include "seriallink/Messages.h"
#include "zonesend/Strings.h"

// The icon lives in this static library; its resources must be registered by hand.
static void registerZonesendResources() {
    Q_INIT_RESOURCE(zonesend);
}

namespace zonesend {

namespace {

constexpr int kDialogPointSize = 8;

QString tableText(unsigned id) {
    return QString::fromStdString(seriallink::LoadString(id));
}

QRect toPixels(const DialogBaseUnits& units, const DialogUnitRect& place) {
    return QRect(units.toPixelsX(place.x), units.toPixelsY(place.y), units.toPixelsX(place.width),
                 units.toPixelsY(place.height));
}

}  // namespace

QFont dialogFont() {
    QFont font(QStringLiteral("MS Sans Serif"), kDialogPointSize);
    if (QFontInfo(font).family() != QStringLiteral("MS Sans Serif")) {
        font = QFont();
        font.setPointSize(kDialogPointSize);
    }
    return font;
}

DialogBaseUnits baseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    DialogBaseUnits units;
    units.averageCharWidth = averageCharWidthFromAlphabet(metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
    units.charHeight = metrics.height();
    return units;
}

QIcon applicationIcon() {
    registerZonesendResources();
    return QIcon(QStringLiteral(":/zonesend/zonesend.svg"));
}

AboutDialog::AboutDialog(const DialogBaseUnits& units, QWidget* parent) : QDialog(parent) {
    setFont(dialogFont());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(units.toPixelsX(kAboutDialogSize.width), units.toPixelsY(kAboutDialogSize.height));
    setWindowTitle(tableText(ids::kAboutTitle));

    for (const ControlTemplate& item : aboutDialogControls()) {
        const QRect place = toPixels(units, item.place);
        if (item.kind == ControlKind::Icon) {
            auto* icon = new QLabel(this);
            icon->setObjectName(QStringLiteral("icon"));
            icon->setPixmap(applicationIcon().pixmap(place.size()));
            icon->setGeometry(place);
        } else if (item.kind == ControlKind::DefaultPushButton) {
            auto* ok = new QPushButton(tableText(ids::kAboutOk), this);
            ok->setObjectName(QString::number(item.id));
            ok->setDefault(true);
            ok->setGeometry(place);
            connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        } else {
            auto* label = new QLabel(this);
            label->setObjectName(QString::number(item.id));
            label->setTextFormat(Qt::PlainText);
            label->setGeometry(place);
            label->setText(item.id == kIdAboutVersion
                               ? tableText(ids::kAboutVersion) + QLatin1String(kVersionSuffix)
                               : tableText(ids::kAboutText));
        }
    }
}

}  // namespace zonesend
