// The Downloader's texts in German, English and French: every id in every language, and page 1
// naming the language it speaks.
#include <gtest/gtest.h>

#include "flashwizard/core/WizardStrings.h"
#include "seriallink/testing/TranslationChecks.h"

namespace flashwizard {
namespace {

using seriallink::Language;

TEST(WizardStrings, EveryTextInEveryLanguage) {
    seriallink::testing::ExpectThreeLanguages(WizardStringEntries(), WizardFrenchEntries(),
                                              WizardStringsIn(Language::French), 129, 199);
    const struct {
        Language language;
        const char* title;
        const char* next;
        const char* cancel;
    } cases[] = {
        {Language::German, "KORVALIS DOWNLOADER (deutsch)\nV1.2", "Weiter >", "Abbrechen"},
        {Language::English, "KORVALIS DOWNLOADER (english)\nV1.2", "Next >", "Cancel"},
        {Language::French, "KORVALIS DOWNLOADER (français)\nV1.2", "Suivant >", "Annuler"},
    };
    for (const auto& c : cases) {
        UseWizardStrings(&WizardStringsIn(c.language));
        EXPECT_EQ(PageText(kStrWelcomePage, 0), c.title);
        EXPECT_EQ(WizardText(kStrNext), c.next);
        EXPECT_EQ(PageText(kStrFrameButtons, 0), c.cancel);
        EXPECT_EQ(PageText(kStrFrameButtons, 2), "");
        EXPECT_NE(WizardText(kStrFileNotHex).find(kWebAddress), std::string::npos);
    }
    UseWizardStrings(nullptr);
    // Without a choice the wizard speaks German, as it always has.
    EXPECT_EQ(WizardText(kStrWindowTitle, {4}), "Korvalis Downloader 4. Schritt");
    EXPECT_EQ(PageText(kStrUpdatePage, 2), "Bereit zum Download");
}

}  // namespace
}  // namespace flashwizard
