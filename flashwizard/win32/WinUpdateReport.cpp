#include "flashwizard/win32/WinUpdateReport.h"

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/frame/WizardState.h"
#include "flashwizard/win32/WinWizardDlg.h"

namespace flashwizard::win32 {

void WinUpdateReport::SetStatus(unsigned id, const std::vector<int>& numbers) {
    const std::string text = WizardText(id, numbers);
    frame_.OnUiThread([this, &text] { page_.SetStatus(text); });
}

void WinUpdateReport::SetProgress(int position, int total) {
    frame_.OnUiThread([this, position, total] { page_.SetProgress(position, total); });
}

void WinUpdateReport::SetNextText(unsigned id) {
    const std::string text = WizardText(id);
    frame_.OnUiThread([this, &text] { frame_.SetNextText(text); });
}

void WinUpdateReport::EnableNext(bool enabled) {
    frame_.OnUiThread([this, enabled] { frame_.EnableNext(enabled); });
}

void WinUpdateReport::EnableBack(bool enabled) {
    frame_.OnUiThread([this, enabled] { frame_.EnableBack(enabled); });
}

void WinUpdateReport::SetUpdateDone() {
    frame_.OnUiThread([this] { frame_.logic().MarkUpdateDone(); });
}

void WinUpdateReport::ShowError(unsigned id) {
    frame_.OnUiThread([this, id] { ShowWizardError(&messages_, id); });
}

void WinUpdateReport::ShowMessage(unsigned id) {
    frame_.OnUiThread([this, id] { ShowWizardSuccess(&messages_, id); });
}

}  // namespace flashwizard::win32
