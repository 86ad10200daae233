// Airspace Setup's texts in English, German and French.
#include <gtest/gtest.h>

#include "seriallink/testing/TranslationChecks.h"
#include "zonesend/Strings.h"

namespace zonesend {
namespace {

TEST(Strings, EveryTextInEveryLanguage) {
    const seriallink::StringTable french = makeStringTable(seriallink::Language::French);
    // Ids from 181 on are added by others at the same time; their French follows later and
    // shows in English until then. 300-319 are the language choice's own.
    seriallink::testing::ExpectThreeLanguages(stringEntries(), frenchEntries(), french, 101, 180);
    for (unsigned id : {ids::kLanguageLabel, ids::kLanguageNote}) {
        EXPECT_TRUE(french.HasOwnText(id)) << id;
    }
    // The maker's name keys the profile: the same in every language.
    for (const auto language : seriallink::kLanguages) {
        EXPECT_EQ(makeStringTable(language).Load(ids::kCompanyName), "Korvalis");
    }
    EXPECT_EQ(french.Load(ids::kCannotOpenPort), "Impossible d'ouvrir le port");
    EXPECT_EQ(makeStringTable(seriallink::Language::German).Load(ids::kCannotOpenPort),
              "Port lässt sich nicht öffnen");
}

}  // namespace
}  // namespace zonesend
