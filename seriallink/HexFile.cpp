#include "seriallink/HexFile.h"

#include <fstream>

namespace seriallink {
namespace {

constexpr int kRecordData = 0x00;
constexpr int kRecordEnd = 0x01;

[[nodiscard]] int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// One record line checked as the loader will need it; see LoadHexFile.
[[nodiscard]] bool RecordValid(const std::string& line) {
    if (line.size() > kHexMaxLine || line.size() < kHexMinLine) return false;
    if (line[0] != ':') return false;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (HexDigitValue(line[i]) < 0) return false;
    }
    const int count = HexByteAt(line, 1);
    if (line.size() != static_cast<std::size_t>(2 * count) + kHexMinLine) return false;
    unsigned sum = 0;
    for (std::size_t i = 1; i < line.size(); i += 2) {
        sum += static_cast<unsigned>(HexByteAt(line, i));  // count, address, type, data, sum
    }
    if (sum % 256 != 0) return false;
    const int type = HexByteAt(line, 7);
    if (type == kRecordEnd) return line == kHexEndRecord;
    return type == kRecordData;
}

}  // namespace

int HexByteAt(std::string_view text, std::size_t position) {
    if (position >= text.size() || text.size() - position < 2) return -1;
    const int high = HexDigitValue(text[position]);
    const int low = HexDigitValue(text[position + 1]);
    if (high < 0 || low < 0) return -1;
    return high * 16 + low;
}

bool FileExists(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file.is_open();
}

bool LoadHexFile(const std::string& path, std::vector<std::string>& hexLines) {
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) return false;
    hexLines.clear();
    bool endSeen = false;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (endSeen) return false;
        if (!RecordValid(line)) return false;
        if (line == kHexEndRecord) endSeen = true;
        hexLines.push_back(line);
    }
    return !hexLines.empty() && hexLines.back() == kHexEndRecord;
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
