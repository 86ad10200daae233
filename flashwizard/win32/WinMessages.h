// The wizard's message boxes: the shared message-box owner, owned by the frame window.
#pragma once

#include "flashwizard/frame/WizardMessages.h"
#include "shell/win32/MessageBoxOwner.h"

namespace flashwizard::win32 {

class WinMessages : public WizardMessages {
public:
    void SetOwner(HWND owner) { owner_.SetOwner(owner); }

    seriallink::MessageAnswer ShowMessageBox(
        const seriallink::MessageBoxRequest& request) override {
        return owner_.ShowMessageBox(request);
    }
    seriallink::MessageAnswer AskDefaultNo(const seriallink::MessageBoxRequest& request) override {
        return owner_.AskDefaultNo(request);
    }

private:
    shell::win32::MessageBoxOwner owner_;
};

}  // namespace flashwizard::win32
