#include "zonesend/win32/ProgramStrings.h"

#include <vector>

#include "zonesend/Strings.h"

namespace zonesend::win32 {

std::unique_ptr<shell::win32::ResourceStringTable> loadProgramStrings(
    HMODULE module, seriallink::Language language) {
    std::vector<unsigned> ids;
    for (const seriallink::StringEntry& entry : stringEntries()) ids.push_back(entry.id);
    return std::make_unique<shell::win32::ResourceStringTable>(module, ids, ids::kErrorCaption,
                                                               language);
}

}  // namespace zonesend::win32
