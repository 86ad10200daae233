// The Intel HEX reader: which files are valid firmware, and the hex conversions.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>

#include "seriallink/HexFile.h"

namespace seriallink {
namespace {

class HexFileTest : public ::testing::Test {
protected:
    HexFileTest() {
        const auto base = std::filesystem::temp_directory_path();
        for (std::random_device random; dir_.empty();) {
            const auto candidate = base / ("quillon-hex-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) dir_ = candidate.string();
        }
    }
    ~HexFileTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string Write(const std::string& content) {
        const std::string path = dir_ + "/f" + std::to_string(++files_) + ".hex";
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string dir_;
    int files_ = 0;
};

TEST_F(HexFileTest, Files) {
    const std::string data16 = ":10000000" + std::string(32, '0') + "F0";
    const std::string data17 = ":11000000" + std::string(34, '0') + "EF";
    struct Case {
        const char* what;
        std::string content;
        bool valid;
        std::size_t lines;
    };
    const Case cases[] = {
        {"two records", ":0100000041BE\n:00000001FF\n", true, 2},
        {"CR LF and no final line end", ":0100000041BE\r\n:00000001FF", true, 2},
        {"empty lines around", "\n:0100000041BE\n\n\r\n:00000001FF\n\n", true, 2},
        {"two data bytes at 0010", ":02001000C0DE50\n:00000001FF\n", true, 2},
        {"lower-case data digits", ":02001000c0de50\n:00000001FF\n", true, 2},
        {"bad checksum", ":02001000C0DE51\n:00000001FF\n", false, 0},
        {"16 data bytes", data16 + "\n:00000001FF\n", true, 2},
        {"17 data bytes", data17 + "\n:00000001FF\n", false, 0},
        {"end record in lower case", ":0100000041BE\n:00000001ff\n", false, 1},
        {"type 02", ":020000021000EC\n:00000001FF\n", false, 0},
        {"type 04", ":020000040000FA\n:00000001FF\n", false, 0},
        {"trailing blank", ":0100000041BE \n:00000001FF\n", false, 0},
        {"data after the end", ":00000001FF\n:0100000041BE\n", false, 1},
        {"empty file", "", false, 0},
        {"empty lines only", "\n\r\n\n", false, 0},
        {"no end record", ":0100000041BE\n", false, 1},
        {"no colon", "0100000041BE0\n:00000001FF\n", false, 0},
        {"count does not match length", ":0200000041BD\n:00000001FF\n", false, 0},
        {"too short", ":000001FF\n", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines{"old"};
        EXPECT_EQ(LoadHexFile(Write(c.content), lines), c.valid);
        EXPECT_EQ(lines.size(), c.lines);
        if (c.valid) {
            EXPECT_EQ(lines.back(), ":00000001FF");
        }
    }
}

TEST_F(HexFileTest, MissingFile) {
    const std::string missing = dir_ + "/missing.hex";
    EXPECT_FALSE(FileExists(missing));
    std::vector<std::string> lines{"untouched"};
    EXPECT_FALSE(LoadHexFile(missing, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"untouched"}));
    EXPECT_TRUE(FileExists(Write("")));
}

TEST(HexBytes, Conversions) {
    std::string out = "x";
    EXPECT_TRUE(HexToBytes("C0DE", out));
    EXPECT_EQ(out, "x\xC0\xDE");
    EXPECT_FALSE(HexToBytes("C0D", out));
    EXPECT_FALSE(HexToBytes("C0DX", out));
    EXPECT_EQ(out, "x\xC0\xDE");
    EXPECT_TRUE(HexToBytes("", out));
    EXPECT_TRUE(HexToBytes("00ff", out));
    EXPECT_EQ(out, std::string("x\xC0\xDE\x00\xFF", 5));

    EXPECT_EQ(HexByteAt(":02001000C0DE50", 1), 0x02);
    EXPECT_EQ(HexByteAt(":02001000C0DE50", 9), 0xC0);
    EXPECT_EQ(HexByteAt("aF", 0), 0xAF);
    EXPECT_EQ(HexByteAt("AG", 0), -1);
    EXPECT_EQ(HexByteAt("A", 0), -1);
    EXPECT_EQ(HexByteAt("AB", 5), -1);
}

TEST_F(HexFileTest, VerdictNamesTheLineAndTheReason) {
    const struct {
        const char* content;
        HexProblem problem;
        std::size_t line;
    } cases[] = {
        {":0100000041BE\n:00000001FF\n", HexProblem::None, 0},
        {":0100000041BE\n\n:02001000C0DE51\n:00000001FF\n", HexProblem::Checksum, 3},
        {":020000040000FA\n", HexProblem::RecordType, 1},
        {":0100000041BE\n:00000101FE\n", HexProblem::EndRecord, 2},
        {":0200000041BD\n", HexProblem::Length, 1},
        {":0100000041BE\n:0100000041BE", HexProblem::MissingEnd, 2},
        {"", HexProblem::MissingEnd, 0},
        {":00000001FF\n\n:0100000041BE\n", HexProblem::AfterEnd, 3},
        {"0100000041BE0\n", HexProblem::NoColon, 1},
        {":01000000G1BE\n", HexProblem::NotHexDigit, 1},
        // Longer than any record: given up on at once, whatever follows.
        {":0100000041BE\n:10000000000000000000000000000000000000000F0F0\n", HexProblem::Length, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        std::vector<std::string> lines;
        const HexVerdict verdict = ReadHexFile(Write(c.content), lines);
        EXPECT_EQ(verdict.problem, c.problem);
        EXPECT_EQ(verdict.line, c.line);
    }
}

TEST_F(HexFileTest, HugeInputFailsFastWithoutReadingIt) {
    // Sparse files: no disk space, and a reader that took them in whole would take seconds.
    const struct {
        std::uintmax_t size;
        HexProblem problem;
        std::size_t line;
    } cases[] = {
        {kHexMaxFileSize - 1, HexProblem::Length, 1},  // one 16 MB line without a line end
        {20u * 1024 * 1024, HexProblem::TooLarge, 0},
    };
    for (const auto& c : cases) {
        const std::string path = Write(":");
        std::filesystem::resize_file(path, c.size);
        const auto started = std::chrono::steady_clock::now();
        std::vector<std::string> lines;
        const HexVerdict verdict = ReadHexFile(path, lines);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(200));
        EXPECT_EQ(verdict.problem, c.problem);
        EXPECT_EQ(verdict.line, c.line);
    }
}

#ifndef _WIN32
// Windows has no FIFO in its file system.
TEST_F(HexFileTest, FifoAndFolderAreRefusedWithoutWaiting) {
    const std::string fifo = dir_ + "/pipe.hex";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Opening a FIFO without a writer would block: the verdict must come back all the same.
    auto verdict = std::async(std::launch::async, [&] {
        std::vector<std::string> lines;
        return ReadHexFile(fifo, lines).problem;
    });
    ASSERT_EQ(verdict.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_EQ(verdict.get(), HexProblem::NotRegular);
    EXPECT_TRUE(FileExists(fifo));
    EXPECT_FALSE(FileExists(dir_));
    std::vector<std::string> lines;
    EXPECT_EQ(ReadHexFile(dir_, lines).problem, HexProblem::CannotOpen);
}
#endif

}  // namespace
}  // namespace seriallink
