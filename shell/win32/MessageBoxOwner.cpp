#include "shell/win32/MessageBoxOwner.h"

#include "shell/win32/Text.h"

namespace shell::win32 {

UINT MessageBoxIconFlags(seriallink::MessageIcon icon) {
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

UINT MessageBoxType(const seriallink::MessageBoxRequest& request, bool defaultNo) {
    UINT type = MessageBoxIconFlags(request.icon);
    if (request.buttons == seriallink::MessageButtons::YesNo) {
        type |= MB_YESNO | (defaultNo ? MB_DEFBUTTON2 : MB_DEFBUTTON1);
    } else {
        type |= MB_OK;
    }
    return type;
}

seriallink::MessageAnswer MessageBoxOwner::ShowMessageBox(
    const seriallink::MessageBoxRequest& request) {
    return Show(request, false);
}

seriallink::MessageAnswer MessageBoxOwner::AskDefaultNo(
    const seriallink::MessageBoxRequest& request) {
    return Show(request, true);
}

seriallink::MessageAnswer MessageBoxOwner::Show(const seriallink::MessageBoxRequest& request,
                                                bool defaultNo) {
    const UINT type = MessageBoxType(request, defaultNo);
    const int answer = box_ ? box_(owner_, request, type)
                            : MessageBoxW(owner_, Widen(request.text).c_str(),
                                          Widen(request.caption).c_str(), type);
    if (request.buttons == seriallink::MessageButtons::Ok) return seriallink::MessageAnswer::Ok;
    // A Yes/No box closed some other way counts as No, the answer that changes nothing.
    return answer == IDYES ? seriallink::MessageAnswer::Yes : seriallink::MessageAnswer::No;
}

}  // namespace shell::win32
