#include "flashwizard/win32/WinMessages.h"

namespace flashwizard::win32 {

namespace {

// Renames Yes and No of the box that opens next on this thread to "Ja" and "Nein". A
// computer-based-training hook sees the box activated before it is first painted.
class GermanYesNo {
public:
    GermanYesNo() : hook_(::SetWindowsHookExW(WH_CBT, &OnCbt, nullptr, ::GetCurrentThreadId())) {}
    ~GermanYesNo() {
        if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
    }
    GermanYesNo(const GermanYesNo&) = delete;
    GermanYesNo& operator=(const GermanYesNo&) = delete;

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE) {
            HWND box = reinterpret_cast<HWND>(wParam);
            HWND yes = ::GetDlgItem(box, IDYES);
            HWND no = ::GetDlgItem(box, IDNO);
            if (yes != nullptr && no != nullptr) {
                ::SetWindowTextW(yes, L"&Ja");
                ::SetWindowTextW(no, L"&Nein");
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
    GermanYesNo german;
    return owner_.ShowMessageBox(request);
}

seriallink::MessageAnswer WinMessages::AskDefaultNo(const seriallink::MessageBoxRequest& request) {
    GermanYesNo german;
    return owner_.AskDefaultNo(request);
}

}  // namespace flashwizard::win32
