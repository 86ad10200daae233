// The quillon list and encode subcommands, run as a pilot or a script would run them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"

namespace {

struct CommandRun {
    int status = -1;
    std::string out;
    std::vector<std::string> lines;
};

// Runs quillon with the given arguments; stderr goes into the output when `withErrors` is set.
CommandRun quillon(const std::string& arguments, bool withErrors = false) {
    CommandRun run;
    const std::string command = std::string("'") + QUILLON_BINARY + "' " + arguments +
                                (withErrors ? " 2>&1" : " 2>/dev/null");
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
    return run;
}

const std::string kSample = std::string(QUILLON_SAMPLES_DIR) + "/demo.txt";

class QuillonCli : public ::testing::Test {};

TEST_F(QuillonCli, ListShowsTheDialogsLinesAndTotals) {
    const CommandRun run = quillon("list '" + kSample + "'");
    ASSERT_EQ(run.status, 0);
    const auto loaded = airspace::loadAirspaceFile(kSample);
    ASSERT_EQ(loaded.status, airspace::LoadStatus::Ok);
    const auto& records = loaded.records;
    ASSERT_EQ(run.lines.size(), records.size() + 2);
    EXPECT_EQ(run.lines.front(), "Class Name                 Floor      Ceiling    Size    ");
    std::size_t total = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(run.lines[i + 1], records[i].listLine());
        total += records[i].encodedSize();
    }
    EXPECT_EQ(run.lines.back(), std::to_string(records.size()) + " airspaces, " +
                                    std::to_string(total) + " bytes, " +
                                    std::to_string((total + 13) / 14) + " blocks");
}

TEST_F(QuillonCli, EncodePrintsIndexSizeAndStoredBytes) {
    const CommandRun run = quillon("encode '" + kSample + "'");
    ASSERT_EQ(run.status, 0);
    const auto loaded = airspace::loadAirspaceFile(kSample);
    ASSERT_EQ(run.lines.size(), loaded.records.size());
    ASSERT_GE(run.lines.size(), 6u);
    // The circle of the sample, as its bytes go to the instrument (without flags).
    EXPECT_EQ(run.lines[1], "1\t8\t04449400B3593077");
    for (std::size_t i = 0; i < run.lines.size(); ++i) {
        const auto& record = loaded.records[i];
        std::string hex;
        char digits[3];
        for (const auto byte : record.storedBytes()) {
            std::snprintf(digits, sizeof digits, "%02X", byte);
            hex += digits;
        }
        EXPECT_EQ(run.lines[i],
                  std::to_string(i) + "\t" + std::to_string(record.encodedSize()) + "\t" + hex);
    }
}

TEST_F(QuillonCli, ErrorsAreOneLineWithNonZeroStatus) {
    const struct {
        const char* arguments;
        int status;
        const char* text;
    } cases[] = {
        {"list /nonexistent/airspace.txt", 1,
         "quillon: cannot read '/nonexistent/airspace.txt': No such file or directory\n"},
        {"encode /", 1, "quillon: cannot read '/': Is a directory\n"},
        {"list", 2, "quillon: usage: quillon list FILE... [--index]\n"},
        {"encode", 2, "quillon: usage: quillon encode FILE... [selection options]\n"},
        // Several files are read together; the first that fails is named.
        {"encode a b", 1, "quillon: cannot read 'a': No such file or directory\n"},
    };
    for (const auto& c : cases) {
        const CommandRun run = quillon(c.arguments, true);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, c.text) << c.arguments;
    }
    const CommandRun help = quillon("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("list FILE"), std::string::npos);
    EXPECT_NE(help.out.find("encode FILE"), std::string::npos);
}

// A scratch folder for the files the cases below need.
class QuillonCliFiles : public QuillonCli {
protected:
    void SetUp() override {
        QuillonCli::SetUp();
        dir_ =
            std::filesystem::temp_directory_path() / ("quillon-cli-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_ / "ports");
        // No system port can answer: every port name below is absent.
        ::setenv("KORVALIS_PORT_DIR", (dir_ / "ports").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("KORVALIS_PORT_DIR");
        std::filesystem::remove_all(dir_);
    }
    std::string file(const std::string& name, const std::string& content) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return "'" + path + "'";
    }
    std::filesystem::path dir_;
};

TEST_F(QuillonCliFiles, EveryCommandHasHelpJsonAndExitCodes) {
    const std::string sample = "'" + kSample + "'";
    const std::string notHex = file("notes.hex", "not a hex file\n");
    const struct {
        const char* name;
        std::string json;  // arguments with --json
        int jsonStatus;    // 2: the command has no --json
        std::string usage;
    } cases[] = {
        {"list", "list --json " + sample, 0, "list"},
        {"encode", "encode " + sample + " --json", 0, "encode"},
        {"check", "check --json " + sample, 0, "check"},
        {"select", "select " + sample + " --json", 0, "select"},
        {"ports", "ports --json", 0, "ports extra"},
        {"send", "send " + sample + " --port COM99 --all --json", 1, "send " + sample},
        {"flash", "flash " + notHex + " --port COM99 --json", 1, "flash " + notHex},
        {"preview", "preview " + sample + " 0 -o x.png --json", 2,
         "preview " + sample + " 0 -o x.jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandRun help = quillon(std::string(c.name) + " --help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind(std::string("Usage: quillon ") + c.name, 0), 0u) << help.out;
        EXPECT_NE(help.out.find("Exit status: 0 done, 1 failed, 2 wrong usage."),
                  std::string::npos);
        EXPECT_EQ(quillon(std::string("help ") + c.name).out, help.out);
        EXPECT_EQ(help.out.find("--json") != std::string::npos, c.jsonStatus != 2);

        const CommandRun json = quillon(c.json);
        EXPECT_EQ(json.status, c.jsonStatus);
        if (c.jsonStatus != 2) {
            // One document on one line, nothing else on standard output.
            ASSERT_EQ(json.lines.size(), 1u) << json.out;
            EXPECT_EQ(json.out.front(), '{');
            EXPECT_EQ(json.out.substr(json.out.size() - 2), "}\n");
        }
        const CommandRun usage = quillon(c.usage, true);
        EXPECT_EQ(usage.status, 2);
        EXPECT_EQ(usage.lines.size(), 1u) << usage.out;
    }
    const CommandRun version = quillon("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("quillon ", 0), 0u);
    EXPECT_EQ(quillon("-V").out, version.out);
}

TEST_F(QuillonCliFiles, TextsFollowTheLocale) {
    const std::string notHex = file("notes.hex", "not a hex file\n");
    const struct {
        const char* lang;
        const char* language;
        const char* expected;
    } cases[] = {
        {"", "", "Error: The chosen file is not a valid .HEX file!"},
        {"de_DE.UTF-8", "", "Fehler: Die gewählte Datei ist keine gültige .HEX Datei!"},
        {"en_US.UTF-8", "de:en", "Fehler: Die gewählte Datei ist keine gültige .HEX Datei!"},
        {"C", "de", "Error: The chosen file is not a valid .HEX file!"},
    };
    for (const auto& c : cases) {
        ::setenv("LANG", c.lang, 1);
        ::setenv("LANGUAGE", c.language, 1);
        const CommandRun run = quillon("flash " + notHex + " --port COM99", true);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.lang << "\n" << run.out;
    }
    ::unsetenv("LANG");
    ::unsetenv("LANGUAGE");
}

// The fit's summary and marks in the pilot's language, French with its spaced ":" and ";".
TEST_F(QuillonCli, SelectSummaryInEachLanguage) {
    const struct {
        const char* lang;
        const char* summary;
        const char* mark;
    } cases[] = {
        {"en",
         "6 matched, 3 selected: 1 always included, 3 left out for lack of space; 48 bytes, 4 "
         "blocks of 228",
         "  yes  always"},
        {"de",
         "6 passend, 3 ausgewählt: 1 immer aufgenommen, 3 mangels Platz weggelassen; 48 Bytes, 4 "
         "Blöcke von 228",
         "  ja  immer"},
        {"fr",
         "6 trouvés, 3 sélectionnés : 1 toujours inclus, 3 laissés de côté faute de place ; 48 "
         "octets, 4 blocs sur 228",
         "  oui  toujours"},
    };
    for (const auto& c : cases) {
        const CommandRun run = quillon(std::string("--lang ") + c.lang + " select '" + kSample +
                                       "' --near 46.7,7.6 --radius 100km --fit 60 --pin 5");
        ASSERT_EQ(run.status, 0) << c.lang;
        ASSERT_FALSE(run.lines.empty());
        EXPECT_EQ(run.lines.back(), c.summary);
        EXPECT_NE(run.out.find(c.mark), std::string::npos) << run.out;
    }
}

TEST_F(QuillonCliFiles, CheckNamesTheFirstFailingHexLine) {
    const struct {
        const char* content;
        int status;
        const char* verdict;  // after "FILE"
    } cases[] = {
        {":0100000041BE\n:00000001FF\n", 0, ": valid firmware, 2 records"},
        {":0100000041BE\n:0100000041BF\n:00000001FF\n", 1, ":2: checksum does not match"},
        {":020000040000FA\n", 1, ":1: record type other than 00 (data) or 01 (end)"},
        {":0100000041\n", 1, ":1: wrong length"},
        {":0100000041BE\n", 1, ": the end record :00000001FF is missing after line 1"},
        {":00000001FF\n:0100000041BE\n", 1, ":2: a record after the end record"},
    };
    for (const auto& c : cases) {
        const std::string path = file("firmware.hex", c.content);
        const CommandRun run = quillon("check " + path);
        EXPECT_EQ(run.status, c.status) << c.content;
        ASSERT_EQ(run.lines.size(), 1u) << run.out;
        const std::string bare = path.substr(1, path.size() - 2);
        EXPECT_EQ(run.lines[0].rfind(bare + c.verdict, 0), 0u) << run.lines[0];
    }
    // The same HEX file under an OpenAir name is taken for what it is; flash gives the reason
    // after the wizard's message.
    const std::string disguised = file("firmware.txt", ":0100000041BE\n:0100000041BF\n");
    EXPECT_NE(quillon("check " + disguised).out.find(":2: checksum"), std::string::npos);
    const CommandRun flash = quillon("flash " + disguised + " --port COM99", true);
    EXPECT_NE(flash.out.find("valid .HEX file!"), std::string::npos) << flash.out;
    EXPECT_NE(flash.out.find("line 2: checksum does not match"), std::string::npos) << flash.out;
}

TEST_F(QuillonCliFiles, AFileWithoutAirspaceIsQuestioned) {
    const std::string question = "no airspace found (is this an OpenAir file?)";
    const auto count = [&question](const std::string& text) {
        std::size_t n = 0;
        for (auto at = text.find(question); at != std::string::npos;
             at = text.find(question, at + 1)) {
            ++n;
        }
        return n;
    };
    // A comment only, and the start of a JPEG photo.
    for (const auto& [name, content] :
         {std::pair<std::string, std::string>{"empty.txt", "* only a comment\n"},
          {"photo.jpg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01\xFF\xDB", 18)}}) {
        const std::string path = file(name, content);
        const CommandRun check = quillon("check " + path, true);
        EXPECT_EQ(check.status, 1) << name;
        EXPECT_EQ(count(check.out), 1u) << name << ": " << check.out;
        const CommandRun list = quillon("list " + path, true);
        EXPECT_EQ(list.status, 1) << name;
        EXPECT_EQ(count(list.out), 1u) << name << ": " << list.out;
        EXPECT_NE(list.out.find("0 airspaces, 0 bytes, 0 blocks"), std::string::npos) << name;
    }
}

TEST_F(QuillonCliFiles, JsonCarriesAnyBytesAsValidText) {
    const std::string path = file("names.txt",
                                  "AC D\nAN M\xFCnchen \"Nord\"\x01\nAL GND\nAH FL95\n"
                                  "AC R\nAN Z\xC3\xBCrich\\1\nAL GND\nAH FL95\n");
    const CommandRun run = quillon("list --json " + path);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find(R"("name":"M\u00fcnchen \"Nord\"\u0001")"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"name\":\"Z\xC3\xBCrich\\\\1\""), std::string::npos) << run.out;
}

TEST_F(QuillonCliFiles, PreviewWritesTheFormatItsNameSays) {
    const std::string png = (dir_ / "zone.png").string();
    const std::string svg = (dir_ / "zone.svg").string();
    const CommandRun written = quillon("preview '" + kSample + "' 1 -o '" + png + "' -q", true);
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(written.out, "");  // nothing of the toolkit on standard error either
    EXPECT_EQ(quillon("preview '" + kSample + "' 1 -o '" + svg + "'").status, 0);
    std::ifstream pngFile(png, std::ios::binary), svgFile(svg);
    std::string pngHead(4, '\0'), svgText((std::istreambuf_iterator<char>(svgFile)), {});
    pngFile.read(pngHead.data(), 4);
    EXPECT_EQ(pngHead, "\x89PNG");
    EXPECT_NE(svgText.find("<svg"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(QuillonCli, SelectChoosesAndFitsAsSendWould) {
    const struct {
        const char* arguments;
        int status;
        const char* wanted;  // a piece of the output
    } cases[] = {
        {"select --json --near 46.85,7.2 --radius 30 --fit 60 ", 0,
         "\"matched\":4,\"selected\":[0,5],\"left_out\":[2,4],\"bytes\":40,\"blocks\":3"},
        {"select --near 46.85,7.2 --radius 30 --fit 60 ", 0,
         "4 matched, 2 selected, 2 left out for lack of space; 40 bytes, 3 blocks of 228"},
        {"select --json --type r,Q ", 0, "\"selected\":[1,3]"},
        {"select --json --below FL60 --name demo ", 0, "\"selected\":[0,1,2,4,5]"},
        {"select --json --near -41.3,174.8 ", 0, "\"matched\":0,\"selected\":[]"},
        {"select --near 91,0 ", 2, "--near needs a point"},
        {"select --fit x --bogus ", 2, "unexpected argument"},
        {"encode --near 46.85,7.2 --radius 30 --fit 60 ", 0, "5\t22\t0446FB00A5A0"},
        // The CTR excluded, the range 33 km away pinned: the room goes to the next nearest.
        {"select --json --near 46.85,7.2 --radius 30 --fit 60 --exclude 0 --pin 1 ", 0,
         "\"selected\":[1,2,5],\"left_out\":[4],\"bytes\":59"},
        {"select --near 46.85,7.2 --radius 30 --fit 60 --exclude 0 --pin 1 ", 0,
         "4 matched, 3 selected: 1 always included, 1 left out for lack of space; 59 bytes"},
        {"select --simplify auto:x ", 2, "--simplify needs a tolerance"},
        {"select --json --simplify 0m ", 0, "\"tolerance_m\":0"},
        {"select --clip ", 2, "--clip needs --near"},
        {"list --index ", 0, "5 W     DEMO Drop zone (deci GND"},
    };
    for (const auto& c : cases) {
        const CommandRun run = quillon(std::string(c.arguments) + "'" + kSample + "'", true);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.out.find(c.wanted), std::string::npos) << c.arguments << "\n" << run.out;
    }
}

}  // namespace

namespace {

// Two neighbours' files on the command line: indexes run on across them, the border zone both
// hold is listed and matched once, the flying date keeps what is active, and the JSON gives each
// airspace's file, short type, activations, NOTAM mark, transponder and identifier.
TEST_F(QuillonCliFiles, SeveralFilesAndTheFlyingDate) {
    const auto square = [](const std::string& head, int north) {
        const std::string s = "46:" + std::to_string(10 + north) + ":00 N ";
        const std::string n = "46:" + std::to_string(11 + north) + ":00 N ";
        return head + "AL GND\nAH FL100\nDP " + s + "007:00:00 E\nDP " + n + "007:00:00 E\nDP " +
               n + "007:01:00 E\nDP " + s + "007:00:00 E\n";
    };
    const std::string border = square("AC D\nAY CTR\nAN Border CTR\n", 0);
    const std::string fr = file("FR.txt", square("AC R\nAN Alpha\n", 2) + border);
    const std::string ch =
        file("CH.openair", "* VERSION: 2.0\n* WRITTEN_BY: test\n" + border +
                               square("AC G\nAY GLIDING_SECTOR\nAN Wildlife\nAI 62a1\nAX 7000\n"
                                      "AA 2026-03-01T00:00Z/2026-06-30T24:00Z\n",
                                      4) +
                               square("AC G\nAY R\nAN Notam zone\nAA NONE\n", 6));
    const struct {
        std::string arguments;
        int status;
        std::string wanted;
    } cases[] = {
        {"list --index " + fr + " " + ch, 0, "2 G     Wildlife"},
        {"list " + fr + " " + ch, 0, "(3 airspaces, 1 already in an earlier file)"},
        {"select --json --name border " + fr + " " + ch, 0, "\"matched\":1,\"selected\":[1]"},
        {"select --json --type GSEC " + fr + " " + ch, 0,
         "\"file\":\"" + (dir_ / "CH.openair").string() +
             "\",\"type\":\"GSEC\",\"activations\":[{\"start\":\"2026-03-01T00:00:00Z\","
             "\"end\":\"2026-07-01T00:00:00Z\"}],\"notam_only\":false,\"transponder\":\"7000\","
             "\"id\":\"62a1\""},
        {"select --json --date 2026-07-15 " + fr + " " + ch, 0, "\"selected\":[0,1,3]"},
        {"select --json --date 2026-06-30 " + fr + " " + ch, 0, "\"selected\":[0,1,2,3]"},
        {"select --json --date 2026-07-01/2026-07-02 --no-notam-only " + fr + " " + ch, 0,
         "\"selected\":[0,1]"},
        {"select --date 2026-07-15 " + fr + " " + ch, 0, "Notam zone !"},
        {"select --date 15.07.2026 " + fr, 2, "--date needs a day"},
        {"list --json " + fr + " " + ch, 0, "\"also_in\":[\"" + (dir_ / "CH.openair").string()},
        {"check " + ch, 0, "CH.openair: OpenAir 2.0, written by test"},
        {"check -v " + ch, 0, "3 airspaces, no problems found\n"},
    };
    for (const auto& c : cases) {
        const CommandRun run = quillon(c.arguments, true);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.out.find(c.wanted), std::string::npos) << c.arguments << "\n" << run.out;
    }
}

}  // namespace
