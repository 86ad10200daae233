// The Intel HEX reader for firmware files: record types 00 and 01 only, at most 16 data bytes
// a record, the end record ":00000001FF" last.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace seriallink {

inline constexpr const char* kHexEndRecord = ":00000001FF";
inline constexpr std::size_t kHexMinLine = 11;
inline constexpr std::size_t kHexMaxLine = 43;

// True when the file can be opened for reading.
[[nodiscard]] bool FileExists(const std::string& path);
// Validates the file record by record and keeps its record lines (without line ends, empty lines
// left out) in hexLines. When the file cannot be opened, hexLines is untouched. On any other
// failure hexLines holds the lines accepted before it.
[[nodiscard]] bool LoadHexFile(const std::string& path, std::vector<std::string>& hexLines);
// Appends one byte per pair of hex digits to out; false (nothing appended) for an odd length or
// a character that is not a hex digit.
[[nodiscard]] bool HexToBytes(std::string_view hex, std::string& out);
// The byte written as two hex digits at text[position], text[position + 1]; -1 when they are
// not two hex digits (or lie past the end).
[[nodiscard]] int HexByteAt(std::string_view text, std::size_t position);

}  // namespace seriallink
