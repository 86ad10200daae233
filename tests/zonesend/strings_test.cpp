// Airspace Setup's texts in English, German and French.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "seriallink/testing/TranslationChecks.h"
#include "zonesend/Strings.h"

namespace zonesend {
namespace {

TEST(Strings, EveryTextInEveryLanguage) {
    const seriallink::StringTable french = makeStringTable(seriallink::Language::French);
    // Every text up to the language choice's own (300-319) has its French, its lines broken
    // where the English breaks them.
    seriallink::testing::ExpectThreeLanguages(stringEntries(), frenchEntries(), french, 101, 301);
    for (const seriallink::StringEntry& entry : stringEntries()) {
        EXPECT_EQ(seriallink::testing::Count(french.Load(entry.id), '\n'),
                  seriallink::testing::Count(entry.english, '\n'))
            << entry.id;
    }
    for (unsigned id : {ids::kLanguageLabel, ids::kLanguageNote}) {
        EXPECT_TRUE(french.HasOwnText(id)) << id;
    }
    // The maker's name keys the profile: the same in every language.
    for (const auto language : seriallink::kLanguages) {
        EXPECT_EQ(makeStringTable(language).Load(ids::kCompanyName), "Korvalis");
    }
    EXPECT_EQ(french.Load(ids::kCannotOpenPort), "Impossible d'ouvrir le port");
    // The type words stay a table of the file's codes: "R=Zone réglementée|...".
    const auto codes = [](const std::string& table) {
        std::string out;
        for (std::size_t start = 0; start < table.size();) {
            const std::size_t end = std::min(table.find('|', start), table.size());
            out += table.substr(start, table.find('=', start) - start) + "|";
            start = end + 1;
        }
        return out;
    };
    const std::string frenchTypes = french.Load(ids::kTypeWords);
    EXPECT_EQ(codes(frenchTypes),
              codes(makeStringTable(seriallink::Language::English).Load(ids::kTypeWords)));
    EXPECT_NE(frenchTypes.find("R=Zone réglementée|"), std::string::npos);
    EXPECT_EQ(makeStringTable(seriallink::Language::German).Load(ids::kCannotOpenPort),
              "Port lässt sich nicht öffnen");
}

}  // namespace
}  // namespace zonesend
