// What the reader tells about a file: the lines it could not use, by file line, and why.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/Selection.h"

namespace airspace {
namespace {

std::string summary(const std::vector<ReadProblem>& problems) {
    std::string out;
    for (const ReadProblem& p : problems) {
        out += std::to_string(p.line) + " " + std::to_string(static_cast<int>(p.kind)) + " " +
               p.airspaceName + "\n";
    }
    return out;
}

TEST(ReadCheck, NamesEveryProblemByFileLine) {
    using K = ReadProblemKind;
    // Lines end in CR LF, then a lone CR, then LF: each counts as one line.
    const std::string text =
        "TITLE demo\r\n"               // 1: before the first airspace
        "* a comment\r\n"              // 2
        "AC R\r\n"                     // 3
        "AN Stopped\r"                 // 4
        "DA 5,0,90\n"                  // 5: arc before a centre
        "DP 47:00:00 N 008:00:00 E\n"  // 6: not read after the stop
        "\n"                           // 7
        "AC Q\n"                       // 8
        "AN Bad point\n"               // 9
        "AT 47:00:00 N 008:00:00 E\n"  // 10: label, not used
        "DP 47:00:00 008:00:00 E\n"    // 11: no hemisphere letter
        "V W=3\n"                      // 12: variable not used
        "DP 47:00:00 N 008:00:00 E\n"  // 13
        "DP 47:06:00 N 008:00:00 E\n"  // 14
        "DP 47:06:00 N 008:06:00 E\n"  // 15
        "AC D\n"                       // 16
        "AN Nothing\n";                // 17
    const auto problems = checkAirspaceText(text);
    const std::vector<ReadProblem> expected = {
        {1, K::UnknownLine, "", ""},
        {3, K::NoBytes, "Stopped", ""},
        {5, K::StoppedParse, "Stopped", ""},
        {10, K::UnknownLine, "Bad point", ""},
        {11, K::PointIgnored, "Bad point", ""},
        {12, K::UnknownLine, "Bad point", ""},
        {16, K::NoBytes, "Nothing", ""},
    };
    EXPECT_EQ(summary(problems), summary(expected));
    ASSERT_EQ(problems.size(), expected.size());
    EXPECT_EQ(problems[1].what, "keeps no bytes (size 0): its reading stopped at line 5");
    EXPECT_EQ(problems[2].what, "reading stopped: arc (DA) before any centre (V X=) line");
    EXPECT_EQ(problems[6].what,
              "keeps no bytes (size 0): it has no outline (no DP, DA, DB or DC line)");

    // The records themselves are those of a plain load, AY/AF/AG read but nowhere in the list.
    const auto plain = parseAirspaces(text + "AC C\nAN Typed\nAY TMZ\nAF 123.450\nAG Zurich\n");
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[1].encodedSize(), 14u);
    EXPECT_EQ(plain[3].type, "TMZ");
    EXPECT_EQ(plain[3].frequency, "123.450");
    EXPECT_EQ(plain[3].station, "Zurich");
    EXPECT_EQ(plain[3].listLine(), AirspaceRecord("AC C\nAN Typed\n").listLine());

    const auto hex = checkAirspaceText(":020000040000FA\r\n:00000001FF\r\n");
    ASSERT_FALSE(hex.empty());
    EXPECT_EQ(hex.back().kind, K::NoAirspace);
    EXPECT_EQ(hex.back().line, 0u);
    EXPECT_TRUE(checkAirspaceText("AC R\nAN Fine\nV X=47:00:00N 008:00:00E\nDC 2\n").empty());
}

TEST(ListLine, CountsColumnsByTheTextsAsCut) {
    const struct {
        std::string text;
        std::string line;
    } cases[] = {
        // From the fuzzer: the bad byte lies beyond the class column's cut.
        {"AC U0\x08p0\xff",
         std::string("U0\x08p0 ") + std::string(20 + 1 + 10 + 1 + 10 + 1, ' ') + "0   "},
        // A bad byte beyond the cut must not turn a UTF-8 name into 19 columns.
        {"AC CTRXX\xff\nAN Z\xC3\xBCrich", "CTRXX Z\xC3\xBCrich" + std::string(14, ' ') +
                                               std::string(1 + 10 + 1 + 10 + 1, ' ') + "0   "},
        // A bad byte within the cut: bytes are counted, as Latin-1.
        {"AC R\xff\nAN Z\xFCrich", "R\xff    Z\xFCrich" + std::string(14, ' ') +
                                       std::string(1 + 10 + 1 + 10 + 1, ' ') + "0   "},
        // Counted in bytes it would be valid UTF-8 one column short: the UTF-8 column ends before
        // the bad byte instead.
        {"AC \xC3\xA9"
         "abc\xE0\x80",
         "\xC3\xA9"
         "abc  " +
             std::string(20 + 1 + 10 + 1 + 10 + 1, ' ') + "0   "},
    };
    for (const auto& c : cases) {
        const std::string line = AirspaceRecord(c.text).listLine();
        EXPECT_EQ(line, c.line) << c.text;
    }
}

}  // namespace
}  // namespace airspace
