// The message layer: error boxes from the string table, the language choice, composed texts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "seriallink/Messages.h"
#include "seriallink/testing/Recorders.h"

namespace seriallink::testing {
namespace {

constexpr StringEntry kStrings[] = {
    {106, "Can not open port", "Port lässt sich nicht öffnen"},
    {135, "Error", "Fehler"},
    {200, "", "Nur deutsch"},
};

TEST(Messages, ErrorBoxInTheUsersLanguage) {
    struct Case {
        Language language;
        const char* text;
        const char* caption;
    };
    for (const Case& c : {Case{Language::German, "Port lässt sich nicht öffnen", "Fehler"},
                          Case{Language::English, "Can not open port", "Error"}}) {
        StringTable table(kStrings, 135, c.language);
        InstallStringTable(&table);
        MessageRecorder owner;
        ShowError(&owner, 106);
        ASSERT_EQ(owner.shown.size(), 1u);
        EXPECT_EQ(owner.shown[0], (MessageBoxRequest{c.text, c.caption, MessageButtons::Ok,
                                                     MessageIcon::Exclamation}));
        ShowErrorText(&owner, "composed");
        EXPECT_EQ(owner.shown[1].text, "composed");
        EXPECT_EQ(owner.shown[1].caption, c.caption);
    }
    InstallStringTable(nullptr);
}

TEST(Messages, NullOwnerShowsNothing) {
    StringTable table(kStrings, 135, Language::English);
    InstallStringTable(&table);
    ShowError(nullptr, 106);
    ShowErrorText(nullptr, "nothing");
    InstallStringTable(nullptr);
}

TEST(Messages, TableLookup) {
    StringTable english(kStrings, 135, Language::English);
    EXPECT_EQ(english.Load(200), "Nur deutsch");  // German-only strings in every language
    EXPECT_EQ(english.Load(999), "");
    EXPECT_TRUE(english.Has(106));
    EXPECT_FALSE(english.Has(999));
}

TEST(Messages, LanguageOfTheLocale) {
    const std::pair<const char*, Language> cases[] = {
        {"de_DE.UTF-8", Language::German},  {"de", Language::German},
        {"de_AT@euro", Language::German},   {"de_CH", Language::German},
        {"en_US.UTF-8", Language::English}, {"C", Language::English},
        {"POSIX", Language::English},       {"", Language::English},
        {"dex", Language::English},         {"fr_FR", Language::French},
        {"fr_CH.UTF-8", Language::French},  {"fra", Language::English},
    };
    for (const auto& [locale, language] : cases) {
        EXPECT_EQ(LanguageOfLocale(locale), language) << locale;
    }
}

#ifndef _WIN32
// Windows programs take the user's language from the system, not from the environment.
TEST(Messages, LanguageOfTheEnvironment) {
    ::unsetenv("LANGUAGE");
    ::setenv("LANG", "de_DE.UTF-8", 1);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    EXPECT_EQ(UserLanguage(), Language::German);
    ::setenv("LC_MESSAGES", "en_GB.UTF-8", 1);
    EXPECT_EQ(UserLanguage(), Language::English);
    ::setenv("LC_ALL", "de_DE", 1);
    EXPECT_EQ(UserLanguage(), Language::German);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::unsetenv("LANG");
    EXPECT_EQ(UserLanguage(), Language::English);
}

TEST(Messages, LanguagePriorityListAfterTheLocale) {
    const struct {
        const char* locale;
        const char* priorities;
        Language language;
    } cases[] = {
        {"en_US.UTF-8", "de:en", Language::German},
        {"de_DE.UTF-8", "en_GB:de", Language::English},
        {"en_US.UTF-8", "fr:de_AT", Language::French},
        {"de_DE.UTF-8", "fr:it", Language::French},
        {"de_DE.UTF-8", "it:pt", Language::German},
        {"en_US.UTF-8", "", Language::English},
        {"C", "de", Language::English},
        {"", "de", Language::English},
        {"C.UTF-8", "de", Language::English},
        {"fr_FR", "::de", Language::German},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageOfEnvironment(c.locale, c.priorities), c.language)
            << c.locale << " / " << c.priorities;
    }
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::setenv("LANG", "en_US.UTF-8", 1);
    ::setenv("LANGUAGE", "de:en", 1);
    EXPECT_EQ(UserLanguage(), Language::German);
    ::unsetenv("LANGUAGE");
    ::unsetenv("LANG");
}

#endif

TEST(Messages, FormatText) {
    EXPECT_EQ(FormatText("%d new Com Ports was found (%s).", {3LL, std::string("COM4, COM7")}),
              "3 new Com Ports was found (COM4, COM7).");
    EXPECT_EQ(FormatText("%s %d %s %d %s", {std::string("Not enough free space. "), 199LL,
                                            std::string("bytes required but only "), 140LL,
                                            std::string("bytes free.")}),
              "Not enough free space.  199 bytes required but only  140 bytes free.");
    EXPECT_EQ(FormatText("%d%% %s %x", {5LL}), "5%  %x");  // missing argument, foreign conversion
    EXPECT_EQ(FormatText("end %", {}), "end %");
}

}  // namespace
}  // namespace seriallink::testing
