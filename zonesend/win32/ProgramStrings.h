// zonesend's string table as the Windows program has it: read from its own STRINGTABLE
// resources in the user's interface language.
#pragma once

#include <memory>

#include "seriallink/Messages.h"
#include "shell/win32/ResourceStrings.h"

namespace zonesend::win32 {

// Every id of zonesend's table, read from the resources of module in the given language.
[[nodiscard]] std::unique_ptr<shell::win32::ResourceStringTable> loadProgramStrings(
    HMODULE module, seriallink::Language language);

}  // namespace zonesend::win32
