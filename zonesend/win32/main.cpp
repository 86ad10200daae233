// zonesend, the Airspace Setup program, as a Windows dialog program. It takes no arguments.
#include "shell/win32/Windows.h"

#include <commctrl.h>

#include "seriallink/Messages.h"
#include "shell/win32/RegistryProfileStore.h"
#include "zonesend/Strings.h"
#include "zonesend/win32/AirspaceSetupDialog.h"
#include "zonesend/win32/ProgramStrings.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    const auto strings =
        zonesend::win32::loadProgramStrings(instance, shell::win32::UserInterfaceLanguage());
    seriallink::InstallStringTable(&strings->table());

    zonesend::AirspaceSetupApp app;
    shell::win32::RegistryProfileStore profile(seriallink::LoadString(zonesend::ids::kCompanyName),
                                               shell::win32::ProgramBaseName());
    const int status = zonesend::win32::runAirspaceSetup(app, profile);
    seriallink::InstallStringTable(nullptr);
    return status;
}
