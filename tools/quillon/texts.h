// The command line's own texts, in the pilot's language: English, or German under a German
// locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, as seriallink::UserLanguage decides).
#pragma once

#include <string>
#include <string_view>

#include "seriallink/Messages.h"

namespace quillon {

// The language the command line speaks in this process, decided once.
[[nodiscard]] seriallink::Language language();

// english or german, by language().
[[nodiscard]] inline std::string text(std::string_view english, std::string_view german) {
    return std::string(language() == seriallink::Language::German ? german : english);
}

}  // namespace quillon
