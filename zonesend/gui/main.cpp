// zonesend, the Airspace Setup program. It takes no arguments.
#include <QApplication>
#include <QIcon>

#include "seriallink/Messages.h"
#include "shell/qt/QtProfileStore.h"
#include "shell/qt/QtTranslations.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/AboutDialog.h"
#include "zonesend/gui/AirspaceSetupProgram.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(zonesend::applicationIcon());
    QApplication::setDesktopFileName(QStringLiteral("zonesend"));

    const seriallink::Language language = seriallink::UserLanguage();
    const seriallink::StringTable strings = zonesend::makeStringTable(language);
    seriallink::InstallStringTable(&strings);
    // The file dialog and the Yes/No buttons speak the string table's language too.
    const auto qtTexts = shell::InstallQtTranslations(language);

    zonesend::AirspaceSetupApp app;
    shell::QtProfileStore profile(seriallink::LoadString(zonesend::ids::kCompanyName),
                                  zonesend::kProgramName);
    const int status = zonesend::runAirspaceSetup(app, profile);
    seriallink::InstallStringTable(nullptr);
    return status;
}
