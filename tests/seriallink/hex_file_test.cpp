// The Intel HEX reader: which files are valid firmware, and the hex conversions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

}  // namespace
}  // namespace seriallink
