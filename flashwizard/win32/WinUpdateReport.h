// The update worker's reports, carried out on the window's thread: each call is sent to the
// frame window, and the worker waits until it has been done there (a message box until the
// pilot closed it), so the page shows exactly the order the sequence went through.
#pragma once

#include "flashwizard/core/UpdateReport.h"

namespace flashwizard::win32 {

class WinWizardDlg;
class WinMessages;
class Step6Page;

class WinUpdateReport : public UpdateReport {
public:
    WinUpdateReport(WinWizardDlg& frame, Step6Page& page, WinMessages& messages)
        : frame_(frame), page_(page), messages_(messages) {}

    void SetStatus(unsigned id, const std::vector<int>& numbers) override;
    void SetProgress(int position, int total) override;
    void SetNextText(unsigned id) override;
    void EnableNext(bool enabled) override;
    void EnableBack(bool enabled) override;
    void SetUpdateDone() override;
    void ShowError(unsigned id) override;
    void ShowMessage(unsigned id) override;

private:
    WinWizardDlg& frame_;
    Step6Page& page_;
    WinMessages& messages_;
};

}  // namespace flashwizard::win32
