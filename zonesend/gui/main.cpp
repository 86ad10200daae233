// zonesend, the Airspace Setup program. It takes no arguments.
#include <QApplication>
#include <QIcon>

#include "seriallink/Messages.h"
#include "shell/qt/QtProfileStore.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/AboutDialog.h"
#include "zonesend/gui/AirspaceSetupProgram.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(zonesend::applicationIcon());
    QApplication::setDesktopFileName(QStringLiteral("zonesend"));

    const seriallink::StringTable strings = zonesend::makeStringTable(seriallink::UserLanguage());
    seriallink::InstallStringTable(&strings);

    zonesend::AirspaceSetupApp app;
    shell::QtProfileStore profile(seriallink::LoadString(zonesend::ids::kCompanyName),
                                  zonesend::kProgramName);
    const int status = zonesend::runAirspaceSetup(app, profile);
    seriallink::InstallStringTable(nullptr);
    return status;
}
