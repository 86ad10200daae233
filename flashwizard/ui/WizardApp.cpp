#include "flashwizard/ui/WizardApp.h"

#include "flashwizard/core/WizardStrings.h"

namespace flashwizard {

WizardApp::WizardApp(WizardEnvironment environment) : environment_(std::move(environment)) {}

QSettings WizardApp::Profile() {
    return QSettings(QString::fromStdString(WizardText(kStrCompanyKey)),
                     QString::fromLatin1(kApplicationName));
}

void WizardApp::InitInstance() {
    QSettings profile = Profile();
    profile.beginGroup(QString::fromLatin1(kSection));
    state_.portName = profile.value(QString::fromLatin1(kPortKey)).toString().toStdString();
    profile.endGroup();
}

WizardDlg& WizardApp::CreateFrame() {
    frame_ = std::make_unique<WizardDlg>(state_, environment_);
    progressPage_ = frame_->pagesCreated() ? frame_->progressPage() : nullptr;
    return *frame_;
}

void WizardApp::ExitInstance() {
    QSettings profile = Profile();
    profile.beginGroup(QString::fromLatin1(kSection));
    profile.setValue(QString::fromLatin1(kPortKey), QString::fromStdString(state_.portName));
    profile.endGroup();
    // A failing write is not reported: the next run only falls back to the first port.
    profile.sync();
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
