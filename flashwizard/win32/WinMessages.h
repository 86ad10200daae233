// The wizard's message boxes: the shared message-box owner, owned by the frame window. The
// Downloader speaks German only, the Yes and No of its questions included, whatever language
// the system's own buttons are in.
#pragma once

#include "flashwizard/frame/WizardMessages.h"
#include "shell/win32/MessageBoxOwner.h"

namespace flashwizard::win32 {

class WinMessages : public WizardMessages {
public:
    void SetOwner(HWND owner) { owner_.SetOwner(owner); }

    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest& request) override;
    seriallink::MessageAnswer AskDefaultNo(const seriallink::MessageBoxRequest& request) override;

private:
    shell::win32::MessageBoxOwner owner_;
};

}  // namespace flashwizard::win32
