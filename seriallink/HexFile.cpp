#include "seriallink/HexFile.h"

#include <filesystem>
#include <fstream>

namespace seriallink {
namespace {

// The programs' texts, file names included, are UTF-8. Read as UTF-8 explicitly: a plain narrow
// string would be taken in the system's narrow code page on Windows, and a folder named
// "Flüge" would not be found.
[[nodiscard]] std::filesystem::path PathOfUtf8(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

constexpr int kRecordData = 0x00;
constexpr int kRecordEnd = 0x01;

[[nodiscard]] int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// One record line checked as the loader will need it; see LoadHexFile.
[[nodiscard]] HexProblem RecordProblem(const std::string& line) {
    if (line.size() > kHexMaxLine || line.size() < kHexMinLine) return HexProblem::Length;
    if (line[0] != ':') return HexProblem::NoColon;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (HexDigitValue(line[i]) < 0) return HexProblem::NotHexDigit;
    }
    const int count = HexByteAt(line, 1);
    if (line.size() != static_cast<std::size_t>(2 * count) + kHexMinLine) {
        return HexProblem::Length;
    }
    unsigned sum = 0;
    for (std::size_t i = 1; i < line.size(); i += 2) {
        sum += static_cast<unsigned>(HexByteAt(line, i));  // count, address, type, data, sum
    }
    if (sum % 256 != 0) return HexProblem::Checksum;
    const int type = HexByteAt(line, 7);
    if (type == kRecordEnd) return line == kHexEndRecord ? HexProblem::None : HexProblem::EndRecord;
    return type == kRecordData ? HexProblem::None : HexProblem::RecordType;
}

enum class LineRead { Line, TooLong, End };

// The next line without its line end (LF, or CR LF). Reading stops one character past the
// longest record: a file without line ends must not be taken into memory whole.
[[nodiscard]] LineRead ReadBoundedLine(std::streambuf& in, std::string& line) {
    line.clear();
    for (;;) {
        const auto c = in.sbumpc();
        const bool end = c == std::char_traits<char>::eof();
        if (end && line.empty()) return LineRead::End;
        if (end || c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return LineRead::Line;
        }
        // One more than a record allows, for the CR of a CR LF.
        if (line.size() > kHexMaxLine) return LineRead::TooLong;
        line.push_back(static_cast<char>(c));
    }
}

}  // namespace

int HexByteAt(std::string_view text, std::size_t position) {
    if (position >= text.size() || text.size() - position < 2) return -1;
    const int high = HexDigitValue(text[position]);
    const int low = HexDigitValue(text[position + 1]);
    if (high < 0 || low < 0) return -1;
    return high * 16 + low;
}

bool FileExists(const std::string& name) {
    const std::filesystem::path path = PathOfUtf8(name);
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status)) {
        return false;
    }
    // Opening a FIFO would wait for a writer; whether it is firmware is for the reader to say.
    if (!std::filesystem::is_regular_file(status)) return true;
    std::ifstream file(path, std::ios::binary);
    return file.is_open();
}

HexVerdict ReadHexFile(const std::string& name, std::vector<std::string>& hexLines) {
    const std::filesystem::path path = PathOfUtf8(name);
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status)) {
        return {HexProblem::CannotOpen, 0};
    }
    if (!std::filesystem::is_regular_file(status)) return {HexProblem::NotRegular, 0};
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kHexMaxFileSize) return {HexProblem::TooLarge, 0};
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) return {HexProblem::CannotOpen, 0};
    hexLines.clear();
    bool endSeen = false;
    std::string line;
    std::size_t number = 0;
    for (;;) {
        const LineRead read = ReadBoundedLine(*file.rdbuf(), line);
        if (read == LineRead::End) break;
        ++number;
        if (read == LineRead::TooLong) return {HexProblem::Length, number};
        if (line.empty()) continue;
        if (endSeen) return {HexProblem::AfterEnd, number};
        const HexProblem problem = RecordProblem(line);
        if (problem != HexProblem::None) return {problem, number};
        if (line == kHexEndRecord) endSeen = true;
        hexLines.push_back(line);
    }
    if (!endSeen) return {HexProblem::MissingEnd, number};
    return {};
}

bool LoadHexFile(const std::string& path, std::vector<std::string>& hexLines) {
    return ReadHexFile(path, hexLines).ok();
}

bool HexToBytes(std::string_view hex, std::string& out) {
    if (hex.size() % 2 != 0) return false;
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int value = HexByteAt(hex, i);
        if (value < 0) return false;
        bytes.push_back(static_cast<char>(value));
    }
    out += bytes;
    return true;
}

}  // namespace seriallink
