// The Downloader's application object: the state its pages, frame and update worker share, the
// remembered COM port, and one modal run of the wizard.
#pragma once

#include <string>

#include "flashwizard/frame/WizardState.h"
#include "flashwizard/ui/WizardDlg.h"
#include "shell/qt/QtProfileStore.h"

namespace flashwizard {

class Step6Dlg;

class WizardApp {
public:
    static constexpr const char* kSection = "Settings";
    static constexpr const char* kPortKey = "CommPort";

    explicit WizardApp(WizardEnvironment environment = {});

    // Reads the remembered port: "Settings" / "CommPort" under the maker's and the program's
    // name, empty when missing.
    void InitInstance();
    // Makes the wizard window (it registers itself and its progress page here).
    WizardDlg& CreateFrame();
    // Writes the port back, whatever way the wizard ended.
    void ExitInstance();
    // The whole program: InitInstance, the wizard run modally, ExitInstance. Returns the exit code.
    int Run();

    [[nodiscard]] WizardState& state() { return state_; }
    [[nodiscard]] WizardDlg* frame() const { return frame_.get(); }
    [[nodiscard]] Step6Dlg* progressPage() const { return progressPage_; }

    // The profile store of the program: company key string 138 and the program's name.
    [[nodiscard]] static shell::QtProfileStore Profile();

private:
    WizardEnvironment environment_;
    WizardState state_;
    std::unique_ptr<WizardDlg> frame_;
    Step6Dlg* progressPage_ = nullptr;
};

}  // namespace flashwizard
