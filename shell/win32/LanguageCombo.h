// The About boxes' language list on Windows: a drop-down list of the three languages in their
// own names, the shown one selected.
#pragma once

#include <cstddef>
#include <optional>

#include "shell/LanguageSetting.h"
#include "shell/win32/Windows.h"

namespace shell::win32 {

void FillLanguageCombo(HWND combo, const LanguageChoice& choice);
// The entry the pilot picked; nothing when none is selected.
[[nodiscard]] std::optional<std::size_t> PickedLanguage(HWND combo);

}  // namespace shell::win32
