// flashwizard.exe, the Quillon's firmware Downloader for Windows: a six-step wizard, German
// only, no arguments.
#include "shell/win32/Windows.h"

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/win32/WinWizardApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The port scan and the message layer load their texts from the installed table.
    seriallink::InstallStringTable(&flashwizard::WizardStrings());
    flashwizard::win32::WinWizardApp wizard(instance);
    return wizard.Run();
}
