// The update worker's reports, carried out on the user-interface thread. Each call is queued to
// the thread of the report object and the worker waits until it has been done there (a message
// box until the pilot closed it), so the page shows exactly the order the sequence went through.
#pragma once

#include <QObject>
#include <functional>

#include "flashwizard/core/UpdateReport.h"

namespace flashwizard {

class WizardMessages;
class Step6Dlg;
class WizardDlg;

class QtUpdateReport : public QObject, public UpdateReport {
    Q_OBJECT
public:
    // Lives on the thread that owns the widgets; the worker calls the UpdateReport operations.
    QtUpdateReport(WizardDlg& frame, Step6Dlg& page, WizardMessages& messages);

    void SetStatus(unsigned id, const std::vector<int>& numbers) override;
    void SetProgress(int position, int total) override;
    void SetNextText(unsigned id) override;
    void EnableNext(bool enabled) override;
    void EnableBack(bool enabled) override;
    void SetUpdateDone() override;
    void ShowError(unsigned id) override;
    void ShowMessage(unsigned id) override;

private:
    // Runs work on this object's thread and returns when it has run.
    void OnUiThread(const std::function<void()>& work);

    WizardDlg& frame_;
    Step6Dlg& page_;
    WizardMessages& messages_;
};

}  // namespace flashwizard
