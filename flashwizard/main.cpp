// flashwizard, the Quillon's firmware Downloader: a six-step wizard, German only, no arguments.
#include <QApplication>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/ui/WizardApp.h"
#include "shell/qt/QtTranslations.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(flashwizard::kApplicationName));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/flashwizard.svg")));
    // The port scan and the message layer load their texts from the installed table.
    seriallink::InstallStringTable(&flashwizard::WizardStrings());
    // German only, Qt's own file dialog included.
    const auto qtTexts = shell::InstallQtTranslations(seriallink::Language::German);

    flashwizard::WizardApp wizard;
    return wizard.Run();
}
