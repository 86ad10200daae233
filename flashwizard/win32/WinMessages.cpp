#include "flashwizard/win32/WinMessages.h"

#include "flashwizard/core/WizardStrings.h"

namespace flashwizard::win32 {

namespace {

// Renames Yes and No of the box that opens next on this thread to the wizard's language ("Ja"
// and "Nein" in German), whatever the system's language. A computer-based-training hook sees
// the box activated before it is first painted.
class WizardYesNo {
public:
    WizardYesNo() : hook_(::SetWindowsHookExW(WH_CBT, &OnCbt, nullptr, ::GetCurrentThreadId())) {}
    ~WizardYesNo() {
        if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
    }
    WizardYesNo(const WizardYesNo&) = delete;
    WizardYesNo& operator=(const WizardYesNo&) = delete;

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE) {
            HWND box = reinterpret_cast<HWND>(wParam);
            HWND yes = ::GetDlgItem(box, IDYES);
            HWND no = ::GetDlgItem(box, IDNO);
            if (yes != nullptr && no != nullptr) {
                switch (WizardStrings().language()) {
                    case seriallink::Language::German:
                        ::SetWindowTextW(yes, L"&Ja");
                        ::SetWindowTextW(no, L"&Nein");
                        break;
                    case seriallink::Language::French:
                        ::SetWindowTextW(yes, L"&Oui");
                        ::SetWindowTextW(no, L"&Non");
                        break;
                    case seriallink::Language::English:
                        ::SetWindowTextW(yes, L"&Yes");
                        ::SetWindowTextW(no, L"&No");
                        break;
                }
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_;
};

}  // namespace

seriallink::MessageAnswer WinMessages::ShowMessageBox(
    const seriallink::MessageBoxRequest& request) {
    if (request.buttons != seriallink::MessageButtons::YesNo) return owner_.ShowMessageBox(request);
    WizardYesNo yesNo;
    return owner_.ShowMessageBox(request);
}

seriallink::MessageAnswer WinMessages::AskDefaultNo(const seriallink::MessageBoxRequest& request) {
    WizardYesNo yesNo;
    return owner_.AskDefaultNo(request);
}

}  // namespace flashwizard::win32
