// The language a program speaks: --lang, the remembered choice, the system's; and the French
// table's fallback to English.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "seriallink/Messages.h"
#include "shell/LanguageSetting.h"

namespace seriallink::testing {
namespace {

class MemoryProfile : public shell::ProfileStore {
public:
    std::map<std::string, std::string> texts;
    std::string readText(const std::string& section, const std::string& name,
                         const std::string& fallback) const override {
        const auto found = texts.find(section + "/" + name);
        return found == texts.end() ? fallback : found->second;
    }
    std::int64_t readInteger(const std::string&, const std::string&,
                             std::int64_t fallback) const override {
        return fallback;
    }
    void writeText(const std::string& section, const std::string& name,
                   const std::string& value) override {
        texts[section + "/" + name] = value;
    }
    void writeInteger(const std::string&, const std::string&, std::int64_t) override {}
};

TEST(Language, ArgumentBeatsProfileBeatsSystem) {
    const struct {
        std::vector<std::string> arguments;
        const char* remembered;  // null: nothing stored
        Language system;
        Language expected;
    } cases[] = {
        {{}, nullptr, Language::German, Language::German},
        {{}, nullptr, Language::French, Language::French},
        {{}, "fr", Language::German, Language::French},
        {{}, "EN", Language::German, Language::English},
        {{"--lang", "de"}, "fr", Language::English, Language::German},
        {{"--lang=fr"}, "de", Language::German, Language::French},
        {{"-v", "--lang", "en"}, nullptr, Language::French, Language::English},
        // A code that names no language counts as not given; so does a hand-edited profile.
        {{"--lang", "it"}, "de", Language::English, Language::German},
        {{"--lang"}, "xx", Language::French, Language::French},
        {{}, "deutsch", Language::English, Language::English},
    };
    for (const auto& c : cases) {
        MemoryProfile profile;
        if (c.remembered != nullptr) profile.texts["Settings/Language"] = c.remembered;
        EXPECT_EQ(shell::StartLanguage(c.arguments, profile, c.system), c.expected)
            << (c.remembered ? c.remembered : "(none)");
    }
}

TEST(Language, ChoiceIsRememberedBesideTheOtherValues) {
    MemoryProfile profile;
    profile.texts["Settings/CommPort"] = "COM4";
    shell::LanguageChoice choice(&profile, Language::German);
    EXPECT_EQ(shell::LanguageChoice::Entries()[choice.SelectedIndex()], Language::German);
    EXPECT_TRUE(choice.OnChosen(2));  // Français: applies at the next start
    EXPECT_EQ(profile.texts["Settings/Language"], "fr");
    EXPECT_FALSE(choice.OnChosen(1));  // back to the one shown: nothing to tell
    EXPECT_EQ(profile.texts["Settings/Language"], "de");
    EXPECT_EQ(profile.texts["Settings/CommPort"], "COM4");
    EXPECT_EQ(shell::StartLanguage({}, profile, Language::English), Language::German);
    EXPECT_EQ(LanguageName(Language::French), std::string("Français"));
}

TEST(Language, FrenchFallsBackToEnglishThenGerman) {
    constexpr StringEntry kEntries[] = {
        {106, "Can not open port", "Port lässt sich nicht öffnen"},
        {135, "Error", "Fehler"},
        {200, "", "Nur deutsch"},
        {210, "Added later", "Später dazu"},
    };
    constexpr TranslatedEntry kFrench[] = {{106, "Impossible d'ouvrir le port"}, {135, "Erreur"}};
    const StringTable french(kEntries, 135, Language::French, kFrench);
    const StringTable german(kEntries, 135, Language::German, kFrench);
    const struct {
        unsigned id;
        const char* french;
        const char* german;
    } cases[] = {
        {106, "Impossible d'ouvrir le port", "Port lässt sich nicht öffnen"},
        {135, "Erreur", "Fehler"},
        {200, "Nur deutsch", "Nur deutsch"},
        {210, "Added later", "Später dazu"},
        {999, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(french.Load(c.id), c.french) << c.id;
        EXPECT_EQ(german.Load(c.id), c.german) << c.id;
    }
    EXPECT_EQ(french.ErrorCaption(), "Erreur");
    EXPECT_TRUE(french.HasOwnText(106));
    EXPECT_FALSE(french.HasOwnText(210));
}

}  // namespace
}  // namespace seriallink::testing
