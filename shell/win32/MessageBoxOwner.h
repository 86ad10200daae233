// The message layer's boxes as the system's MessageBox, owned by a window of the program. Both
// programs show their errors, outcomes and questions through this one owner.
#pragma once

#include <functional>

#include "seriallink/Messages.h"
#include "shell/win32/Windows.h"

namespace shell::win32 {

// MB_ICONEXCLAMATION and the like for the message layer's icons; 0 for none.
[[nodiscard]] UINT MessageBoxIconFlags(seriallink::MessageIcon icon);
// The whole type value of a box: buttons, icon, and the default button.
[[nodiscard]] UINT MessageBoxType(const seriallink::MessageBoxRequest& request, bool defaultNo);

class MessageBoxOwner : public seriallink::MessageOwner {
public:
    // What a test puts in place of the modal box: it sees the request and the type value, and
    // answers with the IDOK / IDYES / IDNO the box would return.
    using BoxFunction =
        std::function<int(HWND owner, const seriallink::MessageBoxRequest& request, UINT type)>;

    explicit MessageBoxOwner(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    [[nodiscard]] HWND owner() const { return owner_; }
    void SetBoxFunction(BoxFunction box) { box_ = std::move(box); }

    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest& request) override;
    // A Yes/No question whose default button is No.
    seriallink::MessageAnswer AskDefaultNo(const seriallink::MessageBoxRequest& request);

private:
    seriallink::MessageAnswer Show(const seriallink::MessageBoxRequest& request, bool defaultNo);

    HWND owner_;
    BoxFunction box_;
};

}  // namespace shell::win32
