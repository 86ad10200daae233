// The wizard's message boxes as QMessageBox, owned by a window of the wizard.
#pragma once

#include <QPointer>
#include <QWidget>

#include "flashwizard/frame/WizardMessages.h"

namespace flashwizard {

class QtMessages : public WizardMessages {
public:
    explicit QtMessages(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest& request) override;
    seriallink::MessageAnswer AskDefaultNo(const seriallink::MessageBoxRequest& request) override;

private:
    seriallink::MessageAnswer Show(const seriallink::MessageBoxRequest& request, bool defaultNo);
    QPointer<QWidget> owner_;
};

}  // namespace flashwizard
