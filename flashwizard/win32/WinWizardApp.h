// The Downloader's application object on Windows: the state its pages, frame and update worker
// share, the remembered COM port in the registry, and one modal run of the wizard.
#pragma once

#include "shell/win32/Windows.h"

#include "flashwizard/frame/WizardState.h"
#include "flashwizard/win32/WinWizardDlg.h"

namespace flashwizard::win32 {

class WinWizardApp {
public:
    static constexpr const char* kSection = "Settings";
    static constexpr const char* kPortKey = "CommPort";

    explicit WinWizardApp(HINSTANCE instance, WinWizardEnvironment environment = {})
        : instance_(instance), environment_(std::move(environment)) {}

    // Reads the remembered port: HKCU\Software\Korvalis\flashwizard\Settings, "CommPort";
    // empty when missing.
    void InitInstance();
    // Writes the port back, whatever way the wizard ended; a failing write is not reported.
    void ExitInstance();
    // The whole program: InitInstance, the wizard run modally, ExitInstance. Returns the exit code.
    int Run();

    [[nodiscard]] WizardState& state() { return state_; }

private:
    HINSTANCE instance_;
    WinWizardEnvironment environment_;
    WizardState state_;
};

}  // namespace flashwizard::win32
