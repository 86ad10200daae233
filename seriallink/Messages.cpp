#include "seriallink/Messages.h"

#include <cctype>
#include <cstdlib>

namespace seriallink {
namespace {

const StringTable* g_installedTable = nullptr;

#ifndef _WIN32
[[nodiscard]] std::string_view EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}
#endif

}  // namespace

namespace {

// Whether locale is the language of the two letters: "de", "de_DE.UTF-8", "de_AT@euro", "fr-CH".
bool LocaleNames(std::string_view locale, char first, char second) {
    if (locale.size() < 2) return false;
    if (std::tolower(static_cast<unsigned char>(locale[0])) != first ||
        std::tolower(static_cast<unsigned char>(locale[1])) != second) {
        return false;
    }
    if (locale.size() == 2) return true;
    const char next = locale[2];
    return next == '_' || next == '.' || next == '@' || next == '-';
}

}  // namespace

Language LanguageOfLocale(std::string_view locale) {
    // "C", "POSIX", "en_GB" and anything else is English.
    if (LocaleNames(locale, 'd', 'e')) return Language::German;
    if (LocaleNames(locale, 'f', 'r')) return Language::French;
    return Language::English;
}

const char* LanguageCode(Language language) {
    switch (language) {
        case Language::German:
            return "de";
        case Language::French:
            return "fr";
        case Language::English:
            break;
    }
    return "en";
}

std::optional<Language> LanguageOfCode(std::string_view code) {
    if (code.size() != 2) return std::nullopt;
    for (const Language language : kLanguages) {
        const char* own = LanguageCode(language);
        if (std::tolower(static_cast<unsigned char>(code[0])) == own[0] &&
            std::tolower(static_cast<unsigned char>(code[1])) == own[1]) {
            return language;
        }
    }
    return std::nullopt;
}

const char* LanguageName(Language language) {
    switch (language) {
        case Language::German:
            return "Deutsch";
        case Language::French:
            return "Français";
        case Language::English:
            break;
    }
    return "English";
}

Language StartLanguage(std::string_view option, std::string_view remembered, Language system) {
    if (const auto given = LanguageOfCode(option)) return *given;
    if (const auto stored = LanguageOfCode(remembered)) return *stored;
    return system;
}

std::string LanguageOption(std::span<const std::string> arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--lang" && i + 1 < arguments.size()) return arguments[i + 1];
        if (argument.substr(0, 7) == "--lang=") return std::string(argument.substr(7));
    }
    return {};
}

Language LanguageOfEnvironment(std::string_view locale, std::string_view priorities) {
    // As gettext does: in the "C" locale the list is not consulted, a pilot who switched the
    // locale off gets the original texts.
    if (locale.empty() || locale == "C" || locale == "POSIX" || locale.substr(0, 2) == "C.") {
        return Language::English;
    }
    while (!priorities.empty()) {
        const std::size_t colon = priorities.find(':');
        const std::string_view entry = priorities.substr(0, colon);
        priorities =
            colon == std::string_view::npos ? std::string_view() : priorities.substr(colon + 1);
        if (LanguageOfLocale(entry) != Language::English) return LanguageOfLocale(entry);
        // An English entry ahead of the others is a choice too; "en" and "en_GB" alike.
        if (entry.size() >= 2 && (entry.substr(0, 2) == "en" || entry.substr(0, 2) == "EN") &&
            (entry.size() == 2 || entry[2] == '_' || entry[2] == '.' || entry[2] == '@')) {
            return Language::English;
        }
    }
    return LanguageOfLocale(locale);
}

#ifndef _WIN32
// Windows takes the user's interface language from the system: win32/UserLanguageWin32.cpp.
Language UserLanguage() {
    // The POSIX order of precedence for message texts.
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = EnvironmentValue(name);
        if (!locale.empty()) break;
    }
    return LanguageOfEnvironment(locale, EnvironmentValue("LANGUAGE"));
}
#endif

StringTable::StringTable(std::span<const StringEntry> entries, unsigned errorCaptionId,
                         Language language, std::span<const TranslatedEntry> french)
    : entries_(entries), errorCaptionId_(errorCaptionId), language_(language), french_(french) {}

bool StringTable::HasOwnText(unsigned id) const {
    if (language_ == Language::French) {
        for (const TranslatedEntry& entry : french_) {
            if (entry.id == id) return !entry.text.empty();
        }
        return false;
    }
    for (const StringEntry& entry : entries_) {
        if (entry.id == id) {
            return !(language_ == Language::German ? entry.german : entry.english).empty();
        }
    }
    return false;
}

bool StringTable::Has(unsigned id) const {
    for (const StringEntry& entry : entries_) {
        if (entry.id == id) return true;
    }
    return false;
}

std::string StringTable::Load(unsigned id) const {
    for (const StringEntry& entry : entries_) {
        if (entry.id != id) continue;
        if (language_ == Language::French) {
            for (const TranslatedEntry& french : french_) {
                if (french.id == id && !french.text.empty()) return std::string(french.text);
            }
        }
        if (language_ != Language::German && !entry.english.empty()) {
            return std::string(entry.english);
        }
        return std::string(entry.german.empty() ? entry.english : entry.german);
    }
    return {};
}

void InstallStringTable(const StringTable* table) {
    g_installedTable = table;
}

const StringTable* InstalledStringTable() {
    return g_installedTable;
}

std::string LoadString(unsigned id) {
    return g_installedTable ? g_installedTable->Load(id) : std::string();
}

void ShowErrorText(MessageOwner* owner, const std::string& text) {
    if (owner == nullptr) return;
    const std::string caption = g_installedTable ? g_installedTable->ErrorCaption() : "";
    owner->ShowMessageBox({text, caption, MessageButtons::Ok, MessageIcon::Exclamation});
}

void ShowError(MessageOwner* owner, unsigned id) {
    if (owner == nullptr) return;
    ShowErrorText(owner, LoadString(id));
}

void ShowSuccessText(MessageOwner* owner, const std::string& text, const std::string& programName) {
    if (owner == nullptr) return;
    owner->ShowMessageBox({text, programName, MessageButtons::Ok, MessageIcon::Information});
}

std::string FormatText(std::string_view format, const std::vector<FormatArg>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            out.push_back(c);
            continue;
        }
        const char conversion = format[++i];
        if (conversion == '%') {
            out.push_back('%');
            continue;
        }
        if (conversion != 'd' && conversion != 's') {  // not ours: keep it as written
            out.push_back('%');
            out.push_back(conversion);
            continue;
        }
        if (next >= args.size()) continue;
        const FormatArg& arg = args[next++];
        if (const long long* number = std::get_if<long long>(&arg)) {
            out += std::to_string(*number);
        } else {
            out += std::get<std::string>(arg);
        }
    }
    return out;
}

}  // namespace seriallink
