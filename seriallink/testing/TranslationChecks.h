// Checks of a program's string table in its three languages, for the tests of each program.
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>

#include "seriallink/Messages.h"

namespace seriallink::testing {

// The %d and %s of a format, in order: a translation must take the same arguments in the same
// order, or the program would print a port name where a count belongs.
inline std::string Conversions(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (text[i + 1] == 'd' || text[i + 1] == 's') out.push_back(text[i + 1]);
        ++i;
    }
    return out;
}

inline std::size_t Count(std::string_view text, char c) {
    std::size_t n = 0;
    for (const char x : text) n += x == c ? 1 : 0;
    return n;
}

// Every id has English and German; every id in [first, last] has French, and the French takes
// the same arguments and has as many "|" parts as the German; an id without French shows its
// English in the French table; no French text names an id the table lacks.
inline void ExpectThreeLanguages(std::span<const StringEntry> entries,
                                 std::span<const TranslatedEntry> french,
                                 const StringTable& frenchTable, unsigned first, unsigned last) {
    for (const StringEntry& entry : entries) {
        SCOPED_TRACE(entry.id);
        EXPECT_FALSE(entry.english.empty());
        EXPECT_FALSE(entry.german.empty());
        // The resource scripts made from the tables cannot hold a semicolon.
        EXPECT_EQ((std::string(entry.english) + std::string(entry.german)).find(';'),
                  std::string::npos);
        const std::string shown = frenchTable.Load(entry.id);
        if (entry.id < first || entry.id > last) {
            if (!frenchTable.HasOwnText(entry.id)) {
                EXPECT_EQ(shown, entry.english);
            }
            continue;
        }
        EXPECT_TRUE(frenchTable.HasOwnText(entry.id));
        EXPECT_EQ(Conversions(shown), Conversions(entry.english));
        EXPECT_EQ(Count(shown, '|'), Count(entry.german, '|'));
        EXPECT_EQ(shown.find(';'), std::string::npos);
    }
    for (const TranslatedEntry& entry : french) {
        bool known = false;
        for (const StringEntry& own : entries) known = known || own.id == entry.id;
        EXPECT_TRUE(known) << entry.id;
    }
}

}  // namespace seriallink::testing
