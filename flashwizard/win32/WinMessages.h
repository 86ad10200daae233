// The wizard's message boxes as Win32 message boxes, owned by the frame window.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "flashwizard/frame/WizardMessages.h"

namespace flashwizard::win32 {

class WinMessages : public WizardMessages {
public:
    void SetOwner(HWND owner) { owner_ = owner; }

    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest& request) override;
    seriallink::MessageAnswer AskDefaultNo(const seriallink::MessageBoxRequest& request) override;

private:
    seriallink::MessageAnswer Show(const seriallink::MessageBoxRequest& request, UINT extraFlags);
    HWND owner_ = nullptr;
};

}  // namespace flashwizard::win32
