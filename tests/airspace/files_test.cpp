// Loading files from disk: failures as values, and generated files in every form the field uses.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceRecord.h"
#include "tests/airspace/OpenAirGenerator.h"
#include "tests/airspace/TestSupport.h"

namespace airspace {
namespace {

using testing::GeneratorOptions;
using testing::OpenAirGenerator;

class TempDir {
public:
    TempDir() {
        const auto base = std::filesystem::temp_directory_path();
        for (std::random_device random; path_.empty();) {
            const auto candidate = base / ("airspace-tests-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) path_ = candidate.string();
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string write(const std::string& name, const std::string& contents) {
        const std::string file = path_ + "/" + name;
        std::ofstream(file, std::ios::binary) << contents;
        return file;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

#ifdef _WIN32
std::string systemText(DWORD error) {
    char text[512] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}
#endif

std::string generated(std::uint32_t seed, GeneratorOptions options, std::size_t airspaces) {
    std::string text;
    OpenAirGenerator(seed, options).appendAirspaces(text, airspaces);
    return text;
}

std::size_t displayColumns(const std::string& line) {
    if (!isValidUtf8(line)) return line.size();
    std::size_t columns = 0;
    for (const char c : line) columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return columns;
}

TEST(AirspaceFileLoading, FailuresComeBackAsValues) {
    TempDir dir;
    const LoadResult missing = loadAirspaceFile(dir.path() + "/no-such-file.txt");
    EXPECT_EQ(missing.status, LoadStatus::SystemError);
    EXPECT_TRUE(missing.records.empty());
    const LoadResult directory = loadAirspaceFile(dir.path());
    EXPECT_EQ(directory.status, LoadStatus::SystemError);
#ifdef _WIN32
    // The system's own texts, in the user's language, without the line break they come with.
    EXPECT_EQ(missing.systemErrorText, systemText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(directory.systemErrorText, systemText(ERROR_ACCESS_DENIED));
    ASSERT_FALSE(missing.systemErrorText.empty());
    EXPECT_NE(missing.systemErrorText.back(), '\n');

    // A device name opens like a file but would wait for input; a file held open by another
    // program without sharing is not read half-written.
    const LoadResult device = loadAirspaceFile("NUL");
    EXPECT_EQ(device.status, LoadStatus::SystemError);
    EXPECT_EQ(device.systemErrorText, systemText(ERROR_INVALID_FUNCTION));
    const std::string heldPath = dir.write("held.txt", "AC R\nAN Held\n");
    const HANDLE held = ::CreateFileA(heldPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const LoadResult busy = loadAirspaceFile(heldPath);
    ::CloseHandle(held);
    EXPECT_EQ(busy.status, LoadStatus::SystemError);
    EXPECT_EQ(busy.systemErrorText, systemText(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(loadAirspaceFile(heldPath).records.size(), 1u);
#else
    EXPECT_EQ(missing.systemErrorText, "No such file or directory");
    EXPECT_EQ(directory.systemErrorText, "Is a directory");
#endif

    const LoadResult empty = loadAirspaceFile(dir.write("empty.txt", ""));
    EXPECT_EQ(empty.status, LoadStatus::Ok);
    EXPECT_TRUE(empty.records.empty());

    const LoadResult bom = loadAirspaceFile(dir.write("bom.txt",
                                                      "\xEF\xBB\xBF"
                                                      "AC R\r\nAN First\r\nAC Q\r\n"));
    ASSERT_EQ(bom.status, LoadStatus::Ok);
    ASSERT_EQ(bom.records.size(), 2u);
    EXPECT_EQ(bom.records[0].name, "First");
}

TEST(AirspaceFileLoading, LineEndsAndCaseDoNotChangeTheRecords) {
    TempDir dir;
    GeneratorOptions crlf;
    crlf.comments = 0.1;
    GeneratorOptions lf = crlf;
    lf.crlf = false;
    GeneratorOptions lower = crlf;
    lower.lowerCaseKeywords = 1.0;
    const LoadResult a = loadAirspaceFile(dir.write("crlf.txt", generated(7, crlf, 400)));
    const LoadResult b = loadAirspaceFile(dir.write("lf.txt", generated(7, lf, 400)));
    const LoadResult c = loadAirspaceFile(dir.write("lower.txt", generated(7, lower, 400)));
    ASSERT_EQ(a.status, LoadStatus::Ok);
    ASSERT_EQ(a.records.size(), 400u);
    ASSERT_EQ(b.records.size(), a.records.size());
    ASSERT_EQ(c.records.size(), a.records.size());
    for (std::size_t i = 0; i < a.records.size(); ++i) {
        EXPECT_EQ(a.records[i].listLine(), b.records[i].listLine()) << i;
        EXPECT_EQ(testing::storedHex(a.records[i]), testing::storedHex(b.records[i])) << i;
        EXPECT_EQ(a.records[i].name, c.records[i].name) << i;
        EXPECT_EQ(testing::storedHex(a.records[i]), testing::storedHex(c.records[i])) << i;
    }
}

TEST(AirspaceFileLoading, AllHemispheresAndNameEncodings) {
    TempDir dir;
    using Names = GeneratorOptions::Names;
    for (int hemisphere = 0; hemisphere < 4; ++hemisphere) {
        for (const Names names : {Names::Ascii, Names::Latin1, Names::Utf8}) {
            GeneratorOptions options;
            options.hemisphere = hemisphere;
            options.names = names;
            options.largePolygonEvery = 20;
            const std::string where = "hemisphere " + std::to_string(hemisphere) + ", names " +
                                      std::to_string(static_cast<int>(names));
            const LoadResult result = loadAirspaceFile(
                dir.write("h" + std::to_string(hemisphere) + ".txt",
                          generated(hemisphere * 10 + static_cast<int>(names), options, 60)));
            ASSERT_EQ(result.status, LoadStatus::Ok) << where;
            ASSERT_EQ(result.records.size(), 60u) << where;
            for (const auto& record : result.records) {
                testing::expectSoundEncoding(record, where + " " + record.name);
                ASSERT_GT(record.encodedSize(), 0u) << where << " " << record.name;
                const GeoPoint start = readStartPoint(record.storedBytes());
                EXPECT_EQ(start.lat < 0, (hemisphere & 2) != 0) << where;
                EXPECT_EQ(start.lon < 0, (hemisphere & 1) != 0) << where;
                EXPECT_EQ(isValidUtf8(record.name), names != Names::Latin1) << where;
                const std::string line = record.listLine();
                EXPECT_EQ(displayColumns(line), 53u + (record.encodedSize() >= 10000)) << line;
            }
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
}  // namespace airspace
