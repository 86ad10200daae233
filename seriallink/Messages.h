// How both programs tell the pilot something: a modal message box owned by a window, its text
// from the program's string table by id (or composed by the caller), under the program's error
// caption, with OK and the exclamation icon. The Qt programs implement MessageOwner with
// QMessageBox; tests put a recorder in its place (seriallink/testing/Recorders.h).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace seriallink {

enum class MessageIcon { None, Exclamation, Question, Information, Stop };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    friend bool operator==(const MessageBoxRequest&, const MessageBoxRequest&) = default;
};

// A window that can own a modal message box. Show returns when the user closed the box.
class MessageOwner {
public:
    virtual ~MessageOwner() = default;
    virtual MessageAnswer ShowMessageBox(const MessageBoxRequest& request) = 0;
};

enum class Language { English, German, French };

// The user's language as GNU programs choose it: the locale is LC_ALL, else LC_MESSAGES, else
// LANG; unless that is "C", "C.UTF-8" or "POSIX" (or unset), the first German, French or English
// entry of the priority list LANGUAGE ("de:en") decides; otherwise the locale does. German or
// French when it names that language, English otherwise.
[[nodiscard]] Language UserLanguage();
[[nodiscard]] Language LanguageOfEnvironment(std::string_view locale, std::string_view priorities);
[[nodiscard]] Language LanguageOfLocale(std::string_view locale);

// The short names the pilot writes after --lang and the profile stores: "en", "de", "fr".
[[nodiscard]] const char* LanguageCode(Language language);
// "en", "de" or "fr" in any letter case; nothing for anything else.
[[nodiscard]] std::optional<Language> LanguageOfCode(std::string_view code);
// The language's own name, as a chooser lists it: "English", "Deutsch", "Français".
[[nodiscard]] const char* LanguageName(Language language);
inline constexpr Language kLanguages[] = {Language::English, Language::German, Language::French};

// The language a program starts in: the one given after --lang, else the one remembered in the
// profile, else the system's. A code that names no language counts as not given.
[[nodiscard]] Language StartLanguage(std::string_view option, std::string_view remembered,
                                     Language system);
// The value of "--lang CODE" or "--lang=CODE" among a program's arguments (without the program's
// own name); empty when there is none.
[[nodiscard]] std::string LanguageOption(std::span<const std::string> arguments);

struct StringEntry {
    unsigned id;
    std::string_view english;  // empty: the program has this string in German only
    std::string_view german;
};

// A text of a third language beside a table's English and German.
struct TranslatedEntry {
    unsigned id;
    std::string_view text;
};

// A program's string table in one language. The entries are the program's own static arrays.
class StringTable {
public:
    // french: the French texts; an id without one is shown in English.
    StringTable(std::span<const StringEntry> entries, unsigned errorCaptionId, Language language,
                std::span<const TranslatedEntry> french = {});
    // The text of id in the table's language (English where no French exists, German where no
    // English exists); empty when the id is not in the table.
    [[nodiscard]] std::string Load(unsigned id) const;
    [[nodiscard]] std::string ErrorCaption() const { return Load(errorCaptionId_); }
    [[nodiscard]] Language language() const { return language_; }
    [[nodiscard]] bool Has(unsigned id) const;
    // Whether the table's language has a text of its own for id (not one taken from another).
    [[nodiscard]] bool HasOwnText(unsigned id) const;

private:
    std::span<const StringEntry> entries_;
    unsigned errorCaptionId_;
    Language language_;
    std::span<const TranslatedEntry> french_;
};

// The string table ShowError loads from, like a Windows program's resources. A program installs
// its table once at start; the table must outlive every later call.
void InstallStringTable(const StringTable* table);
[[nodiscard]] const StringTable* InstalledStringTable();
// Load from the installed table; empty when none is installed.
[[nodiscard]] std::string LoadString(unsigned id);

// Shows string id under the error caption, OK and exclamation icon. A null owner shows nothing.
void ShowError(MessageOwner* owner, unsigned id);
// The same with the caller's text.
void ShowErrorText(MessageOwner* owner, const std::string& text);

// A good outcome: the caller's text under the program's name, OK and the information icon, so
// that it does not read as a failure. A null owner shows nothing.
void ShowSuccessText(MessageOwner* owner, const std::string& text, const std::string& programName);

// printf-like composition for the programs' format strings, which use only %d, %s and %%.
// Safe against a format and arguments that do not match: a missing argument becomes empty,
// a spare one is ignored.
using FormatArg = std::variant<long long, std::string>;
[[nodiscard]] std::string FormatText(std::string_view format, const std::vector<FormatArg>& args);

}  // namespace seriallink
