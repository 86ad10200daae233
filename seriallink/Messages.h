// How both programs tell the pilot something: a modal message box owned by a window, its text
// from the program's string table by id (or composed by the caller), under the program's error
// caption, with OK and the exclamation icon. The Qt programs implement MessageOwner with
// QMessageBox; tests put a recorder in its place (seriallink/testing/Recorders.h).
#pragma once

#include <cstdint>
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

enum class Language { English, German };

// The user's language as GNU programs choose it: the locale is LC_ALL, else LC_MESSAGES, else
// LANG; unless that is "C", "C.UTF-8" or "POSIX" (or unset), the first German or English entry of
// the priority list LANGUAGE ("de:en") decides; otherwise the locale does. German when it names
// German, English otherwise.
[[nodiscard]] Language UserLanguage();
[[nodiscard]] Language LanguageOfEnvironment(std::string_view locale, std::string_view priorities);
[[nodiscard]] Language LanguageOfLocale(std::string_view locale);

struct StringEntry {
    unsigned id;
    std::string_view english;  // empty: the program has this string in German only
    std::string_view german;
};

// A program's string table in one language. The entries are the program's own static array.
class StringTable {
public:
    StringTable(std::span<const StringEntry> entries, unsigned errorCaptionId, Language language);
    // The text of id in the table's language (German where no English exists); empty when the
    // id is not in the table.
    [[nodiscard]] std::string Load(unsigned id) const;
    [[nodiscard]] std::string ErrorCaption() const { return Load(errorCaptionId_); }
    [[nodiscard]] Language language() const { return language_; }
    [[nodiscard]] bool Has(unsigned id) const;

private:
    std::span<const StringEntry> entries_;
    unsigned errorCaptionId_;
    Language language_;
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
