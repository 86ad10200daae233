// zonesend, the Airspace Setup program, as a Windows dialog program. Its one argument:
// --lang en|de|fr, the language of this run.
#include "shell/win32/Windows.h"

#include <commctrl.h>

#include "seriallink/Messages.h"
#include "shell/LanguageSetting.h"
#include "shell/win32/LanguageCombo.h"
#include "shell/win32/RegistryProfileStore.h"
#include "zonesend/Strings.h"
#include "zonesend/win32/AirspaceSetupDialog.h"
#include "zonesend/win32/ProgramStrings.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // The maker's name is the same in every language: the profile comes before the language.
    shell::win32::RegistryProfileStore profile(
        zonesend::makeStringTable(seriallink::Language::English).Load(zonesend::ids::kCompanyName),
        shell::win32::ProgramBaseName());
    const seriallink::Language language = shell::StartLanguage(
        shell::win32::ProgramArguments(), profile, shell::win32::UserInterfaceLanguage());
    const auto strings = zonesend::win32::loadProgramStrings(instance, language);
    seriallink::InstallStringTable(&strings->table());

    zonesend::AirspaceSetupApp app;
    const int status = zonesend::win32::runAirspaceSetup(app, profile);
    seriallink::InstallStringTable(nullptr);
    return status;
}
