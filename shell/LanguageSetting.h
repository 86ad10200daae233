// The language a program speaks: chosen by the pilot in the About box and remembered in the
// profile beside the program's other values, or given for one run with --lang, else the
// system's. A new choice applies when the program starts again.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "seriallink/Messages.h"
#include "shell/ProfileStore.h"

namespace shell {

inline constexpr const char* kLanguageSection = "Settings";
// "en", "de" or "fr"; absent until the pilot chooses.
inline constexpr const char* kLanguageValue = "Language";

// The language of this run: --lang among arguments, else the remembered choice, else system.
[[nodiscard]] inline seriallink::Language StartLanguage(std::span<const std::string> arguments,
                                                        const ProfileStore& profile,
                                                        seriallink::Language system) {
    return seriallink::StartLanguage(seriallink::LanguageOption(arguments),
                                     profile.readText(kLanguageSection, kLanguageValue, ""),
                                     system);
}

inline void RememberLanguage(ProfileStore& profile, seriallink::Language language) {
    profile.writeText(kLanguageSection, kLanguageValue, seriallink::LanguageCode(language));
}

}  // namespace shell

namespace shell {

// The language list of an About box: the three languages in their own names, the one the
// program shows preselected. Picking another remembers it in the profile for the next start.
class LanguageChoice {
public:
    // profile: where the choice is remembered; null when nothing may be written (then the list
    // still shows, and a pick only tells the pilot about the next start).
    LanguageChoice(ProfileStore* profile, seriallink::Language shown)
        : profile_(profile), shown_(shown) {}

    [[nodiscard]] static std::span<const seriallink::Language> Entries() {
        return seriallink::kLanguages;
    }
    [[nodiscard]] std::size_t SelectedIndex() const {
        for (std::size_t i = 0; i < Entries().size(); ++i) {
            if (Entries()[i] == shown_) return i;
        }
        return 0;
    }
    // The pilot picked entry index: it is remembered. True when the pilot should be told that
    // it applies at the next start, that is when it is not the language shown now.
    bool OnChosen(std::size_t index) {
        if (index >= Entries().size()) return false;
        if (profile_ != nullptr) RememberLanguage(*profile_, Entries()[index]);
        return Entries()[index] != shown_;
    }

private:
    ProfileStore* profile_;
    seriallink::Language shown_;
};

}  // namespace shell
