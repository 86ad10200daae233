#include "zonesend/gui/AboutDialog.h"

#include <QFontInfo>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include "seriallink/Messages.h"
#include "shell/qt/QtLanguageChoice.h"
#include "shell/qt/QtMessageBoxes.h"
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

}  // namespace

QFont dialogFont() {
    QFont font(QStringLiteral("MS Sans Serif"), kDialogPointSize);
    if (QFontInfo(font).family() != QStringLiteral("MS Sans Serif")) {
        font = QFont();
        font.setPointSize(kDialogPointSize);
    }
    return font;
}

QRect pixelRect(const shell::QtDialogUnits& units, const DialogUnitRect& place) {
    return units.Rect(place.x, place.y, place.width, place.height);
}

QIcon applicationIcon() {
    registerZonesendResources();
    return QIcon(QStringLiteral(":/zonesend/zonesend.svg"));
}

AboutDialog::AboutDialog(const shell::QtDialogUnits& units, QWidget* parent, ProfileStore* profile)
    : QDialog(parent) {
    setFont(dialogFont());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(units.Size(kAboutDialogSize.width, kAboutDialogSize.height));
    setWindowTitle(tableText(ids::kAboutTitle));

    for (const ControlTemplate& item : aboutDialogControls()) {
        const QRect place = pixelRect(units, item.place);
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

    const seriallink::StringTable* table = seriallink::InstalledStringTable();
    const seriallink::Language shown = table ? table->language() : seriallink::Language::English;
    shell::AddLanguageChoice(
        this, pixelRect(units, kAboutLanguageLabelPlace), pixelRect(units, kAboutLanguagePlace),
        tableText(ids::kLanguageLabel), std::make_unique<shell::LanguageChoice>(profile, shown),
        [this] {
            shell::QtMessageBoxes(this).ShowMessageBox({seriallink::LoadString(ids::kLanguageNote),
                                                        seriallink::LoadString(ids::kAboutTitle),
                                                        seriallink::MessageButtons::Ok,
                                                        seriallink::MessageIcon::Information});
        });
}

}  // namespace zonesend
