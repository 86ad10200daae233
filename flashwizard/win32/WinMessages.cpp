#include "flashwizard/win32/WinMessages.h"

#include "flashwizard/win32/WinText.h"

namespace flashwizard::win32 {

namespace {

UINT IconFlags(seriallink::MessageIcon icon) {
    switch (icon) {
        case seriallink::MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case seriallink::MessageIcon::Question:
            return MB_ICONQUESTION;
        case seriallink::MessageIcon::Information:
            return MB_ICONINFORMATION;
        case seriallink::MessageIcon::Stop:
            return MB_ICONSTOP;
        case seriallink::MessageIcon::None:
            break;
    }
    return 0;
}

}  // namespace

seriallink::MessageAnswer WinMessages::ShowMessageBox(
    const seriallink::MessageBoxRequest& request) {
    return Show(request, 0);
}

seriallink::MessageAnswer WinMessages::AskDefaultNo(const seriallink::MessageBoxRequest& request) {
    return Show(request, MB_DEFBUTTON2);
}

seriallink::MessageAnswer WinMessages::Show(const seriallink::MessageBoxRequest& request,
                                            UINT extraFlags) {
    const bool question = request.buttons == seriallink::MessageButtons::YesNo;
    const UINT flags = (question ? MB_YESNO : MB_OK) | IconFlags(request.icon) | extraFlags;
    const int answer =
        ::MessageBoxW(owner_, Widen(request.text).c_str(), Widen(request.caption).c_str(), flags);
    if (!question) return seriallink::MessageAnswer::Ok;
    return answer == IDYES ? seriallink::MessageAnswer::Yes : seriallink::MessageAnswer::No;
}

}  // namespace flashwizard::win32
