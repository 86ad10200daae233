// flashwizard, the Quillon's firmware Downloader: a six-step wizard in German, English or French.
// Its one argument: --lang en|de|fr, the language of this run.
#include <QApplication>
#include <string>
#include <vector>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/ui/WizardApp.h"
#include "shell/LanguageSetting.h"
#include "shell/qt/QtTranslations.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(flashwizard::kApplicationName));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/flashwizard.svg")));

    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        arguments.push_back(argument.toStdString());
    }
    const seriallink::Language language = shell::StartLanguage(
        arguments, flashwizard::WizardApp::Profile(), seriallink::UserLanguage());
    // German is the wizard's own table; the others take its place everywhere.
    if (language != seriallink::Language::German) {
        flashwizard::UseWizardStrings(&flashwizard::WizardStringsIn(language));
    }
    // The port scan and the message layer load their texts from the installed table.
    seriallink::InstallStringTable(&flashwizard::WizardStrings());
    // Qt's own file dialog in the same language.
    const auto qtTexts = shell::InstallQtTranslations(language);

    flashwizard::WizardApp wizard;
    return wizard.Run();
}
