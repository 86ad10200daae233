#include "flashwizard/ui/AboutBox.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/frame/WizardState.h"
#include "shell/qt/QtDialogUnits.h"
#include "shell/qt/QtLanguageChoice.h"
#include "shell/qt/QtMessageBoxes.h"

namespace flashwizard {

namespace {

constexpr int kFontPoints = 8;

QString Qt8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

AboutBox::AboutBox(QWidget* parent, shell::ProfileStore* profile) : QDialog(parent) {
    // The same layout as the Windows build's About box, in dialog units.
    const shell::QtDialogUnits units(shell::QtDialogUnits::TemplateFont(kFontPoints));
    setFont(shell::QtDialogUnits::TemplateFont(kFontPoints));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromLatin1(kApplicationName));
    setFixedSize(units.Size(235, 62));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    const QRect iconPlace = units.Rect(11, 10, 20, 20);
    icon->setPixmap(QIcon(QStringLiteral(":/flashwizard.svg")).pixmap(iconPlace.size()));
    icon->setGeometry(iconPlace);
    auto* text = new QLabel(Qt8(PageText(kStrWelcomePage, 0)), this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setTextFormat(Qt::PlainText);
    text->setGeometry(units.Rect(40, 10, 130, 20));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    ok->setGeometry(units.Rect(178, 7, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    shell::AddLanguageChoice(
        this, units.Rect(40, 42, 40, 8), units.Rect(82, 40, 90, 60),
        Qt8(WizardText(kStrLanguageLabel)),
        std::make_unique<shell::LanguageChoice>(profile, WizardStrings().language()), [this] {
            shell::QtMessageBoxes(this).ShowMessageBox(
                {WizardText(kStrLanguageNote), kApplicationName, seriallink::MessageButtons::Ok,
                 seriallink::MessageIcon::Information});
        });
}

}  // namespace flashwizard
