// The About boxes' language list on Windows: a drop-down list of the three languages in their
// own names, the shown one selected.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "shell/LanguageSetting.h"
#include "shell/win32/Windows.h"

namespace shell::win32 {

void FillLanguageCombo(HWND combo, const LanguageChoice& choice);
// The entry the pilot picked; nothing when none is selected.
[[nodiscard]] std::optional<std::size_t> PickedLanguage(HWND combo);

// The program's arguments (without its own name), as UTF-8: where --lang is looked for.
[[nodiscard]] std::vector<std::string> ProgramArguments();

}  // namespace shell::win32
