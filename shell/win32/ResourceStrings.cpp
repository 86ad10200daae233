#include "shell/win32/ResourceStrings.h"

#include "shell/win32/Text.h"

namespace shell::win32 {

seriallink::Language LanguageOfLangId(LANGID language) {
    switch (PRIMARYLANGID(language)) {
        case LANG_GERMAN:
            return seriallink::Language::German;
        case LANG_FRENCH:
            return seriallink::Language::French;
        default:
            return seriallink::Language::English;
    }
}

seriallink::Language UserInterfaceLanguage() {
    return LanguageOfLangId(GetUserDefaultUILanguage());
}

LANGID ResourceLanguage(seriallink::Language language) {
    switch (language) {
        case seriallink::Language::German:
            return MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
        case seriallink::Language::French:
            return MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
        case seriallink::Language::English:
            break;
    }
    return MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

bool LoadResourceString(HMODULE module, unsigned id, LANGID language, std::string& out) {
    // Strings are stored sixteen to a block, block n + 1 holding ids 16n .. 16n + 15, each as a
    // length-prefixed UTF-16 text. LoadStringW would pick the thread's language itself; here
    // the language is the caller's choice.
    HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (data == nullptr) return false;
    const DWORD size = SizeofResource(module, found) / sizeof(WCHAR);
    DWORD at = 0;
    for (unsigned index = 0; index < id % 16; ++index) {
        if (at >= size) return false;
        at += 1 + data[at];
    }
    if (at >= size || at + 1 + data[at] > size) return false;
    // A zero length marks an id the block does not define.
    if (data[at] == 0) return false;
    out = Narrow(std::wstring_view(data + at + 1, data[at]));
    return true;
}

ResourceStringTable::ResourceStringTable(HMODULE module, std::span<const unsigned> ids,
                                         unsigned errorCaptionId, seriallink::Language language)
    : table_({}, errorCaptionId, language) {
    // A text the language lacks is shown in English, and in German where there is no English.
    const seriallink::Language fallbacks[] = {language, seriallink::Language::English,
                                              seriallink::Language::German};
    std::vector<unsigned> foundIds;
    texts_.reserve(ids.size());
    for (const unsigned id : ids) {
        std::string text;
        bool found = false;
        for (const seriallink::Language candidate : fallbacks) {
            if (LoadResourceString(module, id, ResourceLanguage(candidate), text)) {
                found = true;
                break;
            }
        }
        if (!found) continue;
        texts_.push_back(std::move(text));
        foundIds.push_back(id);
    }
    // The views are made only now: texts_ no longer moves.
    entries_.reserve(texts_.size());
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        const std::string_view text = texts_[i];
        // The same text as English and German: the table shows it in whichever it is asked.
        entries_.push_back(seriallink::StringEntry{foundIds[i], text, text});
    }
    table_ = seriallink::StringTable(entries_, errorCaptionId, language);
}

}  // namespace shell::win32
