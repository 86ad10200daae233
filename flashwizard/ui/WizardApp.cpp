#include "flashwizard/ui/WizardApp.h"

#include "flashwizard/core/WizardStrings.h"

namespace flashwizard {

WizardApp::WizardApp(WizardEnvironment environment) : environment_(std::move(environment)) {}

shell::QtProfileStore WizardApp::Profile() {
    return shell::QtProfileStore(WizardText(kStrCompanyKey), kApplicationName);
}

void WizardApp::InitInstance() {
    state_.portName = Profile().readText(kSection, kPortKey, "");
    state_.lastFirmwarePath = Profile().readText(kSection, kLastHexFileKey, "");
}

WizardDlg& WizardApp::CreateFrame() {
    frame_ = std::make_unique<WizardDlg>(state_, environment_);
    progressPage_ = frame_->pagesCreated() ? frame_->progressPage() : nullptr;
    return *frame_;
}

void WizardApp::ExitInstance() {
    // Written when the store goes; a failing write is not reported: the next run only falls back
    // to the first port.
    Profile().writeText(kSection, kPortKey, state_.portName);
    if (!state_.lastFirmwarePath.empty()) {
        Profile().writeText(kSection, kLastHexFileKey, state_.lastFirmwarePath);
    }
}

int WizardApp::Run() {
    InitInstance();
    WizardDlg& frame = CreateFrame();
    if (frame.pagesCreated()) (void)frame.exec();
    ExitInstance();
    frame_.reset();
    if (state_.port->IsOpen()) (void)state_.port->Close();
    return 0;
}

}  // namespace flashwizard
