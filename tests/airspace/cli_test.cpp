// The quillon list and encode subcommands, run as a pilot or a script would run them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
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
        {"list", 2, "quillon: usage: quillon list FILE [--index]\n(see quillon help list)\n"},
        {"encode a b", 2,
         "quillon: usage: quillon encode FILE [selection options]\n(see quillon help encode)\n"},
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
        {"select --fit x ", 2, "unexpected argument"},
        {"encode --near 46.85,7.2 --radius 30 --fit 60 ", 0, "5\t22\t0446FB00A5A0"},
        {"list --index ", 0, "5 W     DEMO Drop zone (deci GND"},
    };
    for (const auto& c : cases) {
        const CommandRun run = quillon(std::string(c.arguments) + "'" + kSample + "'", true);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.out.find(c.wanted), std::string::npos) << c.arguments << "\n" << run.out;
    }
}

}  // namespace
