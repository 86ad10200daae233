// The files pilots download today: OpenAir 2.0 headers, both spellings of the types, "AA"
// activation dates and the flying day, and several national files read together.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/Selection.h"
#include "bench/NationalAirspace.h"

namespace airspace {
namespace {

constexpr const char* kSquare =
    "DP 46:00:00 N 007:00:00 E\nDP 46:00:00 N 007:10:00 E\nDP 46:10:00 N 007:10:00 E\n"
    "DP 46:00:00 N 007:00:00 E\n";

std::string airspaceText(const std::string& head, const std::string& name = "ZONE") {
    return "AC D\nAN " + name + "\nAL GND\nAH FL100\n" + head + kSquare;
}

TEST(OpenAir2, HeaderNamesVersionAndWriter) {
    const struct {
        const char* head;
        const char* version;
        const char* writtenBy;
        bool openAir2;
    } cases[] = {
        {"* VERSION: 2.0\r\n* WRITTEN_BY: openAIP\r\n", "2.0", "openAIP", true},
        {"*VERSION: 2.1\n*WRITTEN_BY: SeeYou\n", "2.1", "SeeYou", true},
        {"*version:2.0\n", "2.0", "", true},
        {"* Switzerland, 2026\n* by hand\n", "", "", false},
        {"", "", "", false},
    };
    for (const auto& c : cases) {
        OpenAirHeader header;
        const auto records =
            parseAirspaces(std::string(c.head) + airspaceText(""), nullptr, &header);
        EXPECT_EQ(records.size(), 1u) << c.head;
        EXPECT_EQ(header.version, c.version) << c.head;
        EXPECT_EQ(header.writtenBy, c.writtenBy) << c.head;
        EXPECT_EQ(header.openAir2(), c.openAir2) << c.head;
        // The header changes nothing of the list.
        EXPECT_EQ(records[0].listLine(), parseAirspaces(airspaceText(""))[0].listLine());
    }
}

TEST(OpenAir2, BothSpellingsOfATypeAreOneType) {
    const struct {
        const char* acAy;  // the AC and AY lines
        const char* type;  // as matched, counted and shown
    } cases[] = {
        {"AC G\nAY GLIDING_SECTOR\n", "GSEC"},
        {"AC G\nAY gsec\n", "GSEC"},
        {"AC G\nAY AERIAL_SPORTING_RECREATIONAL\n", "ASRA"},
        {"AC G\nAY ASRA\n", "ASRA"},
        {"AC UNCLASSIFIED\nAY RESTRICTED\n", "R"},
        {"AC UNCLASSIFIED\n", "UNC"},
        {"AC R\n", "R"},
        {"AC E\nAY FIS_SECTOR\n", "FIS"},
        {"AC E\nAY OVERFLIGHT_RESTRICTION\n", "OFR"},
        {"AC G\nAY PROTECTED\n", "PROTECTED"},
        {"AC G\nAY Wildlife\n", "Wildlife"},  // unknown: as written
    };
    std::string file;
    for (const auto& c : cases) file += std::string(c.acAy) + "AN X\n" + kSquare;
    const std::vector<AirspaceRecord> records = parseAirspaces(file);
    ASSERT_EQ(records.size(), std::size(cases));
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(airspaceType(records[i]), cases[i].type) << cases[i].acAy;
    }
    // The list line keeps AC as written.
    EXPECT_EQ(records[4].listLine().substr(0, 5), "UNCLA");
    SelectionCriteria criteria;
    criteria.types = {"GSEC"};
    const auto matches = matchAirspaces(records, criteria);
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].index, 0u);
    EXPECT_EQ(matches[1].index, 1u);
}

TEST(OpenAir2, ActivationsInEveryForm) {
    const std::int64_t may1 = utcDayStart(2025, 5, 1);
    const std::int64_t dec17 = utcDayStart(2024, 12, 17);
    const std::int64_t dec18 = utcDayStart(2024, 12, 18);
    const struct {
        const char* lines;
        std::vector<Activation> activations;
        bool notamOnly;
        std::vector<std::size_t> badLines;  // lines of the airspace with a bad value
    } cases[] = {
        {"AA 2025-05-01T00:01:00Z/2026-04-30T23:59:00Z\n",
         {{may1 + 60, utcDayStart(2026, 4, 30) + 86340}},
         false,
         {}},
        {"AA 2023-12-16T12:00Z/2023-12-16T13:00Z\n",
         {{utcDayStart(2023, 12, 16) + 43200, utcDayStart(2023, 12, 16) + 46800}},
         false,
         {}},
        {"AA 2024-12-17T00:00Z/NONE\n", {{dec17, std::nullopt}}, false, {}},
        {"AA NONE/2024-12-17T24:00Z\n", {{std::nullopt, dec18}}, false, {}},
        {"AA 2024-12-17T00:00Z/2024-12-17T12:00Z\nAA 2024-12-17T14:00Z/2024-12-17T24:00:00Z\n",
         {{dec17, dec17 + 43200}, {dec17 + 50400, dec18}},
         false,
         {}},
        {"AA 2024-12-17T00:00Z/NONE\nAA NONE\n", {}, true, {}},
        {"aa none\n", {}, true, {}},
        {"AA 2024-12-17/2024-12-18\n", {}, false, {5}},
        {"AA 2024-12-17T00:00Z\n", {}, false, {5}},
        {"AA 2024-12-17T25:00Z/NONE\n", {}, false, {5}},
        {"AA 2024-02-30T10:00Z/NONE\n", {}, false, {5}},
        {"AA 2024-12-18T00:00Z/2024-12-17T00:00Z\n", {}, false, {5}},
        {"AA 2024-12-17T00:00+01:00/NONE\n", {}, false, {5}},
        {"AA 2024-12-17T00:00Z/NONE\nAA soon\n", {}, false, {6}},
    };
    for (const auto& c : cases) {
        const std::string text = airspaceText(c.lines);
        std::vector<ReadProblem> problems;
        const auto records = parseAirspaces(text, &problems);
        ASSERT_EQ(records.size(), 1u) << c.lines;
        const AirspaceRecord& r = records[0];
        EXPECT_EQ(r.activations, c.activations) << c.lines;
        EXPECT_EQ(r.notamOnly, c.notamOnly) << c.lines;
        std::vector<std::size_t> badLines;
        for (const ReadProblem& p : problems) {
            if (p.kind == ReadProblemKind::BadValue) badLines.push_back(p.line);
        }
        EXPECT_EQ(badLines, c.badLines) << c.lines;
        // Dates never touch the list line or the bytes.
        EXPECT_EQ(r.listLine(), parseAirspaces(airspaceText(""))[0].listLine());
        EXPECT_EQ(r.encodedSize(), parseAirspaces(airspaceText(""))[0].encodedSize());
    }
}

TEST(OpenAir2, FlyingDateMatchesAtTheIntervalEdges) {
    const std::int64_t day = utcDayStart(2026, 7, 15);
    const std::int64_t next = day + 86400;
    const FlyingDates july15{day, next};
    const struct {
        const char* lines;
        bool onJuly15;
    } cases[] = {
        {"", true},                                           // no AA: always
        {"AA 2026-07-14T00:00Z/2026-07-15T00:00Z\n", false},  // ends as the day begins
        {"AA 2026-07-14T00:00Z/2026-07-15T00:01Z\n", true},
        {"AA 2026-07-15T23:59Z/2026-07-16T10:00Z\n", true},
        {"AA 2026-07-15T24:00Z/2026-07-16T10:00Z\n", false},  // begins as the day ends
        {"AA 2026-07-16T00:00Z/NONE\n", false},
        {"AA NONE/2026-07-15T00:00:01Z\n", true},
        {"AA 2026-01-01T00:00Z/NONE\n", true},
        {"AA 2026-07-10T08:00Z/2026-07-10T12:00Z\nAA 2026-07-15T08:00Z/2026-07-15T12:00Z\n", true},
        {"AA NONE\n", true},                    // NOTAM only: kept, and marked
        {"AA 2026-07-15T25:00Z/NONE\n", true},  // unreadable: kept as always active
    };
    for (const auto& c : cases) {
        const auto records = parseAirspaces(airspaceText(c.lines));
        SelectionCriteria criteria;
        criteria.activeDuring = july15;
        EXPECT_EQ(matchAirspaces(records, criteria).size(), c.onJuly15 ? 1u : 0u) << c.lines;
        criteria.leaveOutNotamOnly = true;
        EXPECT_EQ(matchAirspaces(records, criteria).size(),
                  c.onJuly15 && !records[0].notamOnly ? 1u : 0u)
            << c.lines;
    }
    const auto notam = matchAirspaces(parseAirspaces(airspaceText("AA NONE\n")), {});
    ASSERT_EQ(notam.size(), 1u);
    EXPECT_TRUE(notam[0].notamOnly);

    // The dates as the pilot writes them.
    EXPECT_EQ(parseFlyingDates("2026-07-15", 0), july15);
    EXPECT_EQ(parseFlyingDates("today", day + 50000), july15);
    EXPECT_EQ(parseFlyingDates("2026-07-15/2026-07-20", 0), (FlyingDates{day, day + 6 * 86400}));
    EXPECT_FALSE(parseFlyingDates("2026-07-20/2026-07-15", 0));
    EXPECT_FALSE(parseFlyingDates("15.07.2026", 0));
    EXPECT_EQ(flyingDatesText({day, day + 6 * 86400}), "2026-07-15/2026-07-20");
}

class Folder {
public:
    Folder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / ("oa2-" + std::to_string(random()));
        std::filesystem::create_directory(path_);
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string write(const std::string& name, const std::string& text) {
        const std::string file = (path_ / name).string();
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

private:
    std::filesystem::path path_;
};

TEST(SeveralFiles, AnAirspaceInTwoFilesIsListedOnce) {
    Folder folder;
    const std::string border = airspaceText("", "BORDER CTR");
    const std::string fr = folder.write("FR.txt", airspaceText("", "FR ONE") + border + border);
    const std::string ch = folder.write("CH.txt", border + airspaceText("", "CH ONE"));
    // The same name and outline at another height is another airspace.
    const std::string it = folder.write(
        "IT.txt", "AC D\nAN BORDER CTR\nAL GND\nAH FL120\n" + std::string(kSquare) + border);
    const struct {
        std::vector<std::string> files;
        std::vector<std::string> names;
        std::vector<std::size_t> fileOf;
        std::size_t duplicates;
    } cases[] = {
        // One file: stacked copies stay, as always.
        {{fr}, {"FR ONE", "BORDER CTR", "BORDER CTR"}, {0, 0, 0}, 0},
        {{fr, ch}, {"FR ONE", "BORDER CTR", "BORDER CTR", "CH ONE"}, {0, 0, 0, 1}, 1},
        {{ch, fr}, {"BORDER CTR", "CH ONE", "FR ONE"}, {0, 0, 1}, 2},
        {{fr, ch, it},
         {"FR ONE", "BORDER CTR", "BORDER CTR", "CH ONE", "BORDER CTR"},
         {0, 0, 0, 1, 2},
         2},
    };
    for (const auto& c : cases) {
        const FilesLoadResult loaded = loadAirspaceFiles(c.files);
        ASSERT_EQ(loaded.status, LoadStatus::Ok);
        std::vector<std::string> names;
        std::vector<std::size_t> fileOf;
        for (const auto& r : loaded.records) {
            names.push_back(r.name);
            fileOf.push_back(r.fileIndex);
        }
        EXPECT_EQ(names, c.names) << c.files.size();
        EXPECT_EQ(fileOf, c.fileOf) << c.files.size();
        EXPECT_EQ(loaded.duplicates, c.duplicates) << c.files.size();
        // Matched once too.
        SelectionCriteria criteria;
        criteria.nameContains = "border";
        std::size_t borders = 0;
        for (const auto& name : c.names) borders += name == "BORDER CTR";
        EXPECT_EQ(matchAirspaces(loaded.records, criteria).size(), borders);
    }
    const FilesLoadResult three = loadAirspaceFiles({fr, ch, it});
    EXPECT_EQ(three.records[1].alsoInFiles, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(three.counts, (std::vector<std::size_t>{3, 2, 2}));

    // A file that cannot be read is named; nothing is kept.
    const FilesLoadResult failed = loadAirspaceFiles({fr, folder.write("dir", "") + ".none"});
    EXPECT_EQ(failed.status, LoadStatus::SystemError);
    EXPECT_EQ(failed.failedFile, 1u);
    EXPECT_TRUE(failed.records.empty());
}

TEST(SeveralFiles, OpenAipExportsOfNeighboursShareTheirBorderZones) {
    Folder folder;
    std::vector<std::string> files;
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        files.push_back(folder.write(std::to_string(seed) + ".openair",
                                     bench::NationalAirspace(seed).openAipFile(200000, 25)));
    }
    std::vector<ReadProblem> problems;
    std::string text;
    {
        // Closed before the files are loaded: Windows opens them without sharing.
        std::ifstream in(files[0], std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(text.back(), 'E');  // no line end after the last point
    OpenAirHeader header;
    const auto records = parseAirspaces(text, &problems, &header);
    EXPECT_EQ(header.version, "2.0");
    EXPECT_TRUE(problems.empty()) << problems[0].line << ": " << problems[0].what;
    const FilesLoadResult loaded = loadAirspaceFiles(files);
    ASSERT_EQ(loaded.status, LoadStatus::Ok) << loaded.systemErrorText;
    EXPECT_EQ(loaded.duplicates, 50u);
    EXPECT_EQ(loaded.records.size(), loaded.counts[0] + loaded.counts[1] + loaded.counts[2] - 50);
}

TEST(OpenAir2, CheckNamesTheFaultsOfA2File) {
    const std::string file =
        "* VERSION: 2.0\n"                                     // 1
        "AC D\nAY CTR\nAN CLOSED\nAL GND\nAH FL100\n"          // 2-6
        "AX 7000\nAI 5f1a\nAA NONE\n" +                        // 7-9
        std::string(kSquare) +                                 // 10-13
        "AC R\nAN OLD STYLE\nAY RESTRICTED\nAL GND\nAH GND\n"  // 14-18
        "AX 9999\nAA 2026-07-15T10:00/NONE\n"                  // 19-20
        "DP 46:00:00 N 007:00:00 E\nDP 46:00:00 N 007:10:00 E\nDP 46:10:00 N 007:10:00 E\n"
        "AC G\nAY WILDLIFE\nAN ODD TYPE\nAL GND\nAH FL50\n" +
        kSquare;  // 24-28
    std::vector<ReadProblem> problems = checkAirspaceText(file);
    const struct {
        std::size_t line;
        ReadProblemKind kind;
        const char* part;
    } wanted[] = {
        {19, ReadProblemKind::FormatRule, "AX"},
        {20, ReadProblemKind::BadValue, "2026-07-15T10:00"},
        {14, ReadProblemKind::FormatRule, "class (AC) \"R\""},
        {14, ReadProblemKind::FormatRule, "GND is for floors"},
        {14, ReadProblemKind::FormatRule, "not closed"},
        {25, ReadProblemKind::FormatRule, "WILDLIFE"},
        {0, ReadProblemKind::FormatRule, "WRITTEN_BY"},
    };
    ASSERT_EQ(problems.size(), std::size(wanted));
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(problems[i].line, wanted[i].line) << problems[i].what;
        EXPECT_EQ(problems[i].kind, wanted[i].kind) << problems[i].what;
        EXPECT_NE(problems[i].what.find(wanted[i].part), std::string::npos) << problems[i].what;
    }
    // AX, AA and AI are used now: not even -v calls them unused.
    for (const auto& p : problems) EXPECT_NE(p.kind, ReadProblemKind::UnknownLine) << p.what;
    // The same faults in a file without the 2.0 header: only the values are named.
    problems = checkAirspaceText(file.substr(file.find('\n') + 1));
    EXPECT_EQ(problems.size(), 3u);
}

}  // namespace
}  // namespace airspace
