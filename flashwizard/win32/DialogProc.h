// The dialog procedure of a C++ object: CreateDialogParam hands the object's address in with
// WM_INITDIALOG, where it is kept in the window's DWLP_USER slot for every later message.
// Owner has Attach(hwnd) (called first, with WM_INITDIALOG) and Handle(message, wParam, lParam).
#pragma once

#include "shell/win32/Windows.h"

namespace flashwizard::win32 {

template <class Owner>
INT_PTR CALLBACK ObjectDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        reinterpret_cast<Owner*>(lParam)->Attach(hwnd);
        return TRUE;
    }
    // Messages before WM_INITDIALOG (WM_SETFONT among them) find no object yet.
    auto* owner = reinterpret_cast<Owner*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    return owner != nullptr ? owner->Handle(message, wParam, lParam) : FALSE;
}

}  // namespace flashwizard::win32
