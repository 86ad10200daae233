#include "flashwizard/ui/QtUpdateReport.h"

#include <QThread>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/frame/WizardMessages.h"
#include "flashwizard/frame/WizardState.h"
#include "flashwizard/ui/StepPages.h"
#include "flashwizard/ui/WizardDlg.h"
#include "seriallink/Messages.h"

namespace flashwizard {

QtUpdateReport::QtUpdateReport(WizardDlg& frame, Step6Dlg& page, WizardMessages& messages)
    : frame_(frame), page_(page), messages_(messages) {}

void QtUpdateReport::OnUiThread(const std::function<void()>& work) {
    // Called on the UI thread itself, a blocking queued call would wait for itself.
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
}

void QtUpdateReport::SetStatus(unsigned id, const std::vector<int>& numbers) {
    const QString text = QString::fromStdString(WizardText(id, numbers));
    OnUiThread([this, &text] { page_.SetStatus(text); });
}

void QtUpdateReport::SetProgress(int position, int total) {
    OnUiThread([this, position, total] { page_.SetProgress(position, total); });
}

void QtUpdateReport::SetNextText(unsigned id) {
    const std::string text = WizardText(id);
    OnUiThread([this, &text] { frame_.SetNextText(text); });
}

void QtUpdateReport::EnableNext(bool enabled) {
    OnUiThread([this, enabled] { frame_.EnableNext(enabled); });
}

void QtUpdateReport::EnableBack(bool enabled) {
    OnUiThread([this, enabled] { frame_.EnableBack(enabled); });
}

void QtUpdateReport::SetUpdateDone() {
    OnUiThread([this] { frame_.logic().MarkUpdateDone(); });
}

void QtUpdateReport::ShowError(unsigned id) {
    OnUiThread([this, id] { ShowWizardError(&messages_, id); });
}

void QtUpdateReport::ShowMessage(unsigned id) {
    OnUiThread([this, id] { ShowWizardSuccess(&messages_, id); });
}

}  // namespace flashwizard
