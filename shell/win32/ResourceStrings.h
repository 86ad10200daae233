// A program's string table read from its own STRINGTABLE resources in one language, as a
// seriallink::StringTable that the message layer and the dialogs load from.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "seriallink/Messages.h"
#include "shell/win32/Windows.h"

namespace shell::win32 {

// German or French when the user's interface language is German or French (of any country),
// English otherwise.
[[nodiscard]] seriallink::Language LanguageOfLangId(LANGID language);
[[nodiscard]] seriallink::Language UserInterfaceLanguage();
// The resource language of a table: German (Germany), French (France) or English (United States).
[[nodiscard]] LANGID ResourceLanguage(seriallink::Language language);

// The text of one string resource in exactly the given language; false when the module holds no
// string of that id in that language. An empty text counts as absent: the resource compiler
// stores none for it.
[[nodiscard]] bool LoadResourceString(HMODULE module, unsigned id, LANGID language,
                                      std::string& out);

class ResourceStringTable {
public:
    // Reads the given ids from module in the table language; an id that the language lacks is
    // taken from the English table, else the German one (so a German-only program can ask for
    // any language), and an id missing in all is left out.
    ResourceStringTable(HMODULE module, std::span<const unsigned> ids, unsigned errorCaptionId,
                        seriallink::Language language);
    ResourceStringTable(const ResourceStringTable&) = delete;
    ResourceStringTable& operator=(const ResourceStringTable&) = delete;

    [[nodiscard]] const seriallink::StringTable& table() const { return table_; }
    [[nodiscard]] std::size_t size() const { return entries_.size(); }

private:
    std::vector<std::string> texts_;
    std::vector<seriallink::StringEntry> entries_;
    seriallink::StringTable table_;
};

}  // namespace shell::win32
