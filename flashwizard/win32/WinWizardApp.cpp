#include "flashwizard/win32/WinWizardApp.h"

#include <commctrl.h>

#include "flashwizard/core/WizardStrings.h"
#include "shell/win32/RegistryProfileStore.h"

namespace flashwizard::win32 {

namespace {

// HKCU\Software\Korvalis\flashwizard: the company key is string 138.
shell::win32::RegistryProfileStore Profile() {
    return shell::win32::RegistryProfileStore(WizardText(kStrCompanyKey), kApplicationName);
}

}  // namespace

void WinWizardApp::InitInstance() {
    // The progress bar's class lives in the common controls.
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    state_.portName = Profile().readText(kSection, kPortKey, "");
    state_.lastFirmwarePath = Profile().readText(kSection, kLastHexFileKey, "");
}

void WinWizardApp::ExitInstance() {
    // A failing write is not reported: the next run only falls back to the first port.
    auto profile = Profile();
    profile.writeText(kSection, kPortKey, state_.portName);
    if (!state_.lastFirmwarePath.empty()) {
        profile.writeText(kSection, kLastHexFileKey, state_.lastFirmwarePath);
    }
}

int WinWizardApp::Run() {
    InitInstance();
    {
        WinWizardDlg frame(state_, instance_, environment_);
        frame.RunModal();
    }
    ExitInstance();
    if (state_.port->IsOpen()) (void)state_.port->Close();
    return 0;
}

}  // namespace flashwizard::win32
