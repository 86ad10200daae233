// The command line's own texts, in the pilot's language: English, German or French, as --lang
// says, else as the locale does (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, as seriallink::UserLanguage
// decides).
#pragma once

#include <string>
#include <string_view>

#include "seriallink/Messages.h"

namespace quillon {

// The language the command line speaks in this process, decided once.
[[nodiscard]] seriallink::Language language();

// english, german or french by language(); English where no French is given.
[[nodiscard]] inline std::string text(std::string_view english, std::string_view german,
                                      std::string_view french = {}) {
    switch (language()) {
        case seriallink::Language::German:
            return std::string(german);
        case seriallink::Language::French:
            return std::string(french.empty() ? english : french);
        case seriallink::Language::English:
            break;
    }
    return std::string(english);
}

}  // namespace quillon
