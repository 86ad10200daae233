// zonesend, the Airspace Setup program. Its one argument: --lang en|de|fr, the language of this
// run.
#include <QApplication>
#include <QIcon>

#include <string>
#include <vector>

#include "seriallink/Messages.h"
#include "shell/LanguageSetting.h"
#include "shell/qt/QtProfileStore.h"
#include "shell/qt/QtTranslations.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/AboutDialog.h"
#include "zonesend/gui/AirspaceSetupProgram.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(zonesend::applicationIcon());
    QApplication::setDesktopFileName(QStringLiteral("zonesend"));

    // The maker's name is the same in every language: the profile comes before the language.
    shell::QtProfileStore profile(
        zonesend::makeStringTable(seriallink::Language::English).Load(zonesend::ids::kCompanyName),
        zonesend::kProgramName);
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        arguments.push_back(argument.toStdString());
    }
    const seriallink::Language language =
        shell::StartLanguage(arguments, profile, seriallink::UserLanguage());
    const seriallink::StringTable strings = zonesend::makeStringTable(language);
    seriallink::InstallStringTable(&strings);
    // The file dialog and the Yes/No buttons speak the string table's language too.
    const auto qtTexts = shell::InstallQtTranslations(language);

    zonesend::AirspaceSetupApp app;
    const int status = zonesend::runAirspaceSetup(app, profile);
    seriallink::InstallStringTable(nullptr);
    return status;
}
