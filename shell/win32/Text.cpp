#include "shell/win32/Text.h"

#include "shell/win32/Windows.h"

namespace shell::win32 {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (length <= 0) {
        // Not UTF-8 after all: show it as the Windows code page reads it rather than not at all.
        const int ansi = MultiByteToWideChar(CP_ACP, 0, utf8.data(), size, nullptr, 0);
        std::wstring out(static_cast<std::size_t>(ansi > 0 ? ansi : 0), L'\0');
        if (ansi > 0) MultiByteToWideChar(CP_ACP, 0, utf8.data(), size, out.data(), ansi);
        return out;
    }
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), length);
    return out;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int size = static_cast<int>(utf16.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

}  // namespace shell::win32
