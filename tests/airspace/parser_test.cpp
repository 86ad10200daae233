// Reading OpenAir text: coordinates, keywords, elements, the splitting of a file into airspaces,
// and the list texts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceRecord.h"
#include "airspace/GeoPoint.h"
#include "tests/airspace/TestSupport.h"

namespace airspace {
namespace {

using testing::recordOf;
using testing::storedHex;

constexpr std::int32_t kLat4730 = 47 * 6000 + 30 * 100;
constexpr std::int32_t kLon0830 = 8 * 6000 + 30 * 100;

TEST(CoordinateText, AngleTexts) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> units;
    };
    const std::vector<Case> cases = {
        {"47:30:00 N", kLat4730},
        {"47:30:00N", kLat4730},
        {"47:30:00 n", kLat4730},
        {"47:30:00 S", -kLat4730},
        {"47:30:59N", kLat4730 + 98},    // 59 seconds are 98 hundredths of a minute
        {"47:30:15.9N", kLat4730 + 25},  // a fraction of seconds is ignored
        {"47:30.5N", kLat4730 + 50},
        {"47:30.25N", kLat4730 + 25},
        {"47:30.123N", kLat4730 + 12},
        {"47:30.126N", kLat4730 + 13},
        {"47:30.1234 N", kLat4730 + 12},  // only three fraction digits count
        {"47:30.1239 N", kLat4730 + 12},
        {"47:30.123456789012345678901234567890 N", kLat4730 + 12},
        {"7:30:00 N", 7 * 6000 + 3000},
        {"007:30:00 N", 7 * 6000 + 3000},
        {"000:00:00 N", 0},
        {"47:30:99999999999 N", std::nullopt},  // no digit string may overflow
        {"47:30 N", std::nullopt},              // degrees and minutes only
        {"47:3:00 N", std::nullopt},
        {"4730:00 N", std::nullopt},
        {"47:30:00", std::nullopt},  // no hemisphere letter
        {"47:30:00 E", std::nullopt},
        {"47:30:00 N x", std::nullopt},
        {"1:0.5N", std::nullopt},  // shorter than 7 characters
        {"N", std::nullopt},
        {"", std::nullopt},
        {"47:30:xx N", std::nullopt},
        {"47:30,00 N", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseAngleText(c.text, 'N', 'S'), c.units) << c.text;
    }
}

TEST(CoordinateText, PointTexts) {
    struct Case {
        const char* text;
        std::optional<GeoPoint> point;
    };
    const std::vector<Case> cases = {
        {"47:30:00 N 008:30:00 E", GeoPoint(kLon0830, kLat4730)},
        {"47:30.5N 8:30.25E", GeoPoint(kLon0830 + 25, kLat4730 + 50)},
        {"47:30:00 S 008:30:00 W", GeoPoint(-kLon0830, -kLat4730)},
        {"47:30:00N,008:30:00E", GeoPoint(kLon0830, kLat4730)},
        {"47:30:00 n\t, 008:30:00 w", GeoPoint(-kLon0830, kLat4730)},
        {"47:30:00 008:30:00", std::nullopt},  // no hemisphere letters
        {"47:30 N 008:30 E", std::nullopt},    // would be (0, 0), a spike to the equator
        {"47:30:00 N 008:30 E", std::nullopt},
        {"008:30:00 E 47:30:00 N", std::nullopt},  // latitude must come first
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parsePointText(c.text), c.point) << c.text;
        OutlineElement run(ElementKind::PointRun);
        EXPECT_EQ(run.addPointText(c.text), c.point.has_value()) << c.text;
        EXPECT_EQ(run.points.size(), c.point ? 1u : 0u) << c.text;
    }
}

struct ElementShape {
    ElementKind kind;
    std::size_t points;
    bool operator==(const ElementShape&) const = default;
};

std::vector<ElementShape> shapeOf(const AirspaceRecord& record) {
    std::vector<ElementShape> shape;
    for (const auto& e : record.elements) shape.push_back({e.kind, e.points.size()});
    return shape;
}

TEST(AirspaceParser, ElementsFromLineSequences) {
    const std::string centre = std::string(testing::kCentreLine) + "\n";
    const std::string p = "DP 47:00:00 N 008:00:00 E\n";
    const std::string q = "DP 47:05:00 N 008:05:00 E\n";
    using K = ElementKind;
    struct Case {
        const char* what;
        std::string text;
        std::vector<ElementShape> shape;
    };
    const std::vector<Case> cases = {
        {"three points, an arc, two points",
         "AC D\n" + p + q + p + centre + "DA 5,0,90\n" + q + p,
         {{K::PointRun, 3}, {K::AngleArc, 1}, {K::PointRun, 2}}},
        {"arc first: the second point after it starts one more run",
         "AC D\n" + centre + "DA 5,0,90\n" + p + q + p,
         {{K::AngleArc, 1}, {K::PointRun, 1}, {K::PointRun, 2}}},
        {"arc by points keeps centre, start and end",
         "AC D\n" + centre + "DB 47:05:00 N 008:00:00 E, 47:00:00 N 008:07:00 E\n",
         {{K::PointArc, 3}}},
        {"a point that does not parse is left out",
         "AC D\n" + p + "DP 47:30 N 008:30 E\n" + q,
         {{K::PointRun, 2}}},
        {"a circle", "AC D\n" + centre + "DC 3\n", {{K::Circle, 1}}},
        {"lower-case keywords and variables",
         "ac d\nv x=47:00:00 n 008:00:00 e\nda 5,0,90\ndp " + p.substr(3) + "dc 2\n",
         {{K::AngleArc, 1}, {K::PointRun, 1}, {K::Circle, 1}}},
    };
    for (const auto& c : cases) {
        const AirspaceRecord record = recordOf(c.text);
        EXPECT_EQ(shapeOf(record), c.shape) << c.what;
        EXPECT_FALSE(record.parseStopped()) << c.what;
    }
}

TEST(AirspaceParser, MalformedLinesStopTheAirspace) {
    const std::string centre = std::string(testing::kCentreLine) + "\n";
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"arc before any centre", "DA 5,0,90\n"},
        {"arc by points before any centre", "DB 47:05:00 N 008:00:00 E, 47:00:00 N 008:07:00 E\n"},
        {"circle before any centre", "DC 5\n"},
        {"arc by points without a comma", centre + "DB 47:05:00 N 008:00:00 E\n"},
        {"arc with two numbers", centre + "DA 5,0\n"},
        {"circle without a number", centre + "DC five\n"},
        {"zero radius", centre + "DC 0\n"},
        {"negative radius", centre + "DA -5,0,90\n"},
        {"radius beyond 1000 nm", centre + "DC 1000.5\n"},
        {"radius nan", centre + "DC nan\n"},
        {"radius inf", centre + "DA inf,0,90\n"},
        {"radius beyond a float", centre + "DC 1e50\n"},
        {"angle nan", centre + "DA 5,nan,90\n"},
        {"angle infinite", centre + "DA 5,0,-infinity\n"},
    };
    for (const auto& [what, lines] : cases) {
        const AirspaceRecord record = recordOf("AC R\nAN Before\n" + lines + "AN After\nAL GND\n");
        EXPECT_TRUE(record.parseStopped()) << what;
        EXPECT_EQ(record.name, "Before") << what;  // later lines are not read
        EXPECT_EQ(record.floor, "") << what;
        EXPECT_EQ(record.encodedSize(), 0u) << what;
        EXPECT_EQ(record.listLine(), "R     Before                                     0   ")
            << what;
    }
    EXPECT_FALSE(recordOf("AC R\n" + centre + "DC 1000\n").parseStopped());
    EXPECT_FALSE(recordOf("AC R\n" + centre + "DA 0.001 , 10 , 20 trailing\n").parseStopped());

    // Numbers too small for a float read as 0, as "%f" stores them: such an angle is an angle of
    // 0, such a radius a radius of 0.
    const std::string quarterArc = storedHex(recordOf("AC R\n" + centre + "DA 5,0,90\n"));
    for (const char* line : {"DA 5,1e-50,90\n", "DA 5,-1e-50,90\n", "DA 5,0x1p-200,90\n",
                             "DA 5,0.0000000000000000000000000000000000000000000001,90\n"}) {
        const AirspaceRecord record = recordOf("AC R\n" + centre + line);
        EXPECT_FALSE(record.parseStopped()) << line;
        EXPECT_EQ(storedHex(record), quarterArc) << line;
    }
    EXPECT_TRUE(recordOf("AC R\n" + centre + "DC 1e-50\n").parseStopped());
}

TEST(AirspaceParser, TextsDirectionAndVariables) {
    const AirspaceRecord record = recordOf(
        "AC  CTR \nAN First name\nAN Zurich 1\nAH FL100\nAL 2000ft AMSL\nAT 47:00:00 N 8:00:00 E\n"
        "SP 0,1,0,0,0\n");
    EXPECT_EQ(record.airspaceClass, "CTR");
    EXPECT_EQ(record.name, "Zurich 1");  // a later line overwrites
    EXPECT_EQ(record.ceiling, "FL100");
    EXPECT_EQ(record.floor, "2000ft AMSL");
    EXPECT_TRUE(record.elements.empty());

    const std::string centre = std::string(testing::kCentreLine) + "\n";
    struct Case {
        const char* directionLine;
        std::int8_t direction;
    };
    for (const Case& c : std::vector<Case>{{"V D=-", -1},
                                           {"v d = -", -1},
                                           {"V D=+", 1},
                                           {"V D=--", 1},
                                           {"V D=x", 1},
                                           {"V D -", 1},  // no "=": skipped
                                           {"V Q=-", 1}}) {
        const AirspaceRecord arc = recordOf("AC D\n" + centre + c.directionLine + "\nDA 5,0,90\n");
        ASSERT_EQ(arc.elements.size(), 1u) << c.directionLine;
        EXPECT_EQ(arc.elements[0].direction, c.direction) << c.directionLine;
    }

    // The centre may be written with blanks around "=", and a later centre replaces it.
    const AirspaceRecord moved =
        recordOf("AC D\nV X = 10:00:00 N 010:00:00 E\nV  X=47:00:00 N 008:00:00 E\nDC 1\n");
    EXPECT_EQ(storedHex(moved), "04 4D 2C 00 BB 63 30 28");
}

TEST(FileSplitting, LineEndsCommentsAndAirspaceBoundaries) {
    const std::string lf =
        "* fictional test file\nTitle text before the first airspace\n"
        "AC C\nAN Alpha*comment\n* whole-line comment\n\n   \t\nAL GND\nAH 1000ft\n"
        "V X=47:00:00 N 008:00:00 E\nDC 1\n\n*\n"
        "ac d\nan beta\ndp 47:00:00 N 008:00:00 E\ndp 47:00:00 N 008:05:00 E\n"
        "dp 47:05:00 N 008:05:00 E\n";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

    for (const std::string& text : {lf, crlf, "\xEF\xBB\xBF" + crlf, lf.substr(0, lf.size() - 1)}) {
        const auto records = parseAirspaces(text);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0].airspaceClass, "C");
        EXPECT_EQ(records[0].name, "Alpha");
        EXPECT_EQ(records[0].floor, "GND");
        EXPECT_EQ(records[0].ceiling, "1000ft");
        EXPECT_EQ(storedHex(records[0]), "04 4D 2C 00 BB 63 30 28");
        EXPECT_EQ(records[1].airspaceClass, "d");
        EXPECT_EQ(records[1].name, "beta");
        EXPECT_EQ(records[1].encodedSize(), 14u);
    }
    EXPECT_TRUE(parseAirspaces("AN no class\nDP 47:00:00 N 008:00:00 E\n").empty());
    EXPECT_TRUE(parseAirspaces("").empty());
}

TEST(FileSplitting, FinalClassLineWithoutLineEndOpensItsOwnAirspace) {
    const auto records = parseAirspaces("AC C\nAN First\nAC D");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].airspaceClass, "C");
    EXPECT_EQ(records[1].airspaceClass, "D");
    EXPECT_EQ(records[1].name, "");
}

TEST(FileSplitting, DirectionAndCentreStartAfreshInEveryAirspace) {
    const auto records = parseAirspaces(
        "AC D\nV D=-\nV X=47:00:00 N 008:00:00 E\nDA 5,0,90\nAC D\nDA 5,0,90\n"
        "AC D\nV X=47:00:00 N 008:00:00 E\nDA 5,0,90\n");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].elements.at(0).direction, -1);
    EXPECT_TRUE(records[1].parseStopped());  // no centre of its own
    EXPECT_EQ(records[2].elements.at(0).direction, 1);
}

TEST(ListTexts, ColumnsCutAndPadded) {
    const auto records = parseAirspaces(
        "AC CTR\nAN ABCDEFGHIJKLMNOPQRSTUVWXY\nAL GND\nAH FL100\n"
        "V X=47:00:00 N 008:00:00 E\nDA 5,0,90\nDA 5,90,180\n"
        "DP 47:10:00 N 008:20:00 E\nDP 47:20:00 N 008:20:00 E\nDP 47:20:00 N 008:40:00 E\n"
        "DP 47:30:00 N 008:40:00 E\nDP 47:30:00 N 008:41:00 E\nDP 47:31:00 N 008:41:00 E\n");
    ASSERT_EQ(records.size(), 1u);
    ASSERT_EQ(records[0].encodedSize(), 52u);
    const std::string line = records[0].listLine();
    EXPECT_EQ(line, "CTR   ABCDEFGHIJKLMNOPQRST GND        FL100      52  ");
    EXPECT_EQ(line.size(), 53u);

    const std::string header = airspaceListHeader();
    EXPECT_EQ(header, "Class Name                 Floor      Ceiling    Size    ");
    EXPECT_EQ(header.size(), 57u);
    EXPECT_EQ(airspaceListHeader("Klasse", "N", "F", "C", "Groesse123"),
              "Klass N                    F          C          Groesse1");
}

TEST(ListTexts, MultiByteNamesAreNeverSplit) {
    struct Case {
        const char* what;
        std::string name;
        std::string column;  // the 20-character name column
    };
    const std::vector<Case> cases = {
        {"UTF-8: cut after 20 characters, each sequence one column",
         "Z\xC3\xBCrich \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x82\xAC\xF0\x9F\x98\x80 abcdefghij",
         "Z\xC3\xBCrich \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x82\xAC\xF0\x9F\x98\x80 abcdef"},
        {"UTF-8 short name padded by characters", "M\xC3\xBCnchen", "M\xC3\xBCnchen             "},
        {"Latin-1: one byte, one column", "Z\xFCrich \xE4\xF6\xFC abcdefghijklmnop",
         "Z\xFCrich \xE4\xF6\xFC abcdefghi"},
        {"broken UTF-8 is taken byte by byte", "Ab\xC3", "Ab\xC3                 "},
    };
    for (const auto& c : cases) {
        const AirspaceRecord record = recordOf("AC C\nAN " + c.name + "\nAL GND\nAH FL100\n");
        EXPECT_EQ(record.name, c.name) << c.what;  // bytes kept as read
        EXPECT_EQ(record.listLine(), "C     " + c.column + " GND        FL100      0   ") << c.what;
    }
    EXPECT_TRUE(isValidUtf8("plain \xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80"));
    for (const char* bad :
         {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "\xFC\xA0"}) {
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
    }
}

}  // namespace
}  // namespace airspace
