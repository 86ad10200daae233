// The language of the texts on Windows: the user's interface language, as Windows programs
// choose their string table, whatever the environment says.
#include "seriallink/Messages.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace seriallink {

Language UserLanguage() {
    switch (PRIMARYLANGID(::GetUserDefaultUILanguage())) {
        case LANG_GERMAN:
            return Language::German;
        case LANG_FRENCH:
            return Language::French;
        default:
            return Language::English;
    }
}

}  // namespace seriallink
