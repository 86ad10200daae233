#include "shell/win32/PortComboBox.h"

#include "shell/win32/Text.h"

namespace shell::win32 {

void ComboBoxPortList::Clear() {
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
}

void ComboBoxPortList::AddEntry(const std::string& text) {
    const std::wstring wide = Widen(text);
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int ComboBoxPortList::Count() const {
    const LRESULT count = SendMessageW(combo_, CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string ComboBoxPortList::EntryText(int index) const {
    const LRESULT length = SendMessageW(combo_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(combo_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    if (copied == CB_ERR) return {};
    text.resize(static_cast<std::size_t>(copied));
    return Narrow(text);
}

int ComboBoxPortList::CurrentIndex() const {
    const LRESULT current = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
    return current == CB_ERR ? -1 : static_cast<int>(current);
}

void ComboBoxPortList::SetCurrentIndex(int index) {
    SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace shell::win32
