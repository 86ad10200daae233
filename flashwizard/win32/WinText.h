// UTF-8 (the plain classes' texts) to and from UTF-16 (the wide Win32 calls).
#pragma once

#include <string>

namespace flashwizard::win32 {

[[nodiscard]] std::wstring Widen(const std::string& text);
[[nodiscard]] std::string Narrow(const std::wstring& text);

}  // namespace flashwizard::win32
