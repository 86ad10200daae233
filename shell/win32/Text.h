// The project's texts are UTF-8; the system's wide calls take UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace shell::win32 {

[[nodiscard]] std::wstring Widen(std::string_view utf8);
[[nodiscard]] std::string Narrow(std::wstring_view utf16);

}  // namespace shell::win32
