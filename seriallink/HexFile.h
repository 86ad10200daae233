// The Intel HEX reader for firmware files: record types 00 and 01 only, at most 16 data bytes
// a record, the end record ":00000001FF" last.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace seriallink {

inline constexpr const char* kHexEndRecord = ":00000001FF";
inline constexpr std::size_t kHexMinLine = 11;
inline constexpr std::size_t kHexMaxLine = 43;
// Far larger than any firmware for the instrument's 64 KiB (about 180 KiB as HEX): a bigger file
// is refused before it is read.
inline constexpr std::uintmax_t kHexMaxFileSize = 16u * 1024 * 1024;

// Why a file is not valid firmware, for the line HexVerdict names.
enum class HexProblem {
    None,
    CannotOpen,   // missing, a folder, or not readable
    NotRegular,   // a FIFO, a device: reading it could wait for ever
    TooLarge,     // over kHexMaxFileSize
    NoColon,      // the line does not start with ':'
    NotHexDigit,  // a character other than a hex digit after the ':'
    Length,       // shorter or longer than a record, or not as long as its byte count says
    Checksum,     // the bytes do not sum to 0 modulo 256
    RecordType,   // a type other than 00 (data) and 01 (end)
    EndRecord,    // a type-01 record other than ":00000001FF"
    AfterEnd,     // a record after the end record
    MissingEnd,   // the file ends without the end record
};

struct HexVerdict {
    HexProblem problem = HexProblem::None;
    std::size_t line = 0;  // 1-based line of the file that failed; 0 for the file as a whole
    [[nodiscard]] bool ok() const { return problem == HexProblem::None; }
};

// True when the path names something other than a folder that exists (a regular file that can
// be opened for reading, or a FIFO or device, which is never opened here).
[[nodiscard]] bool FileExists(const std::string& path);
// Validates the file record by record and keeps its record lines (without line ends, empty lines
// left out) in hexLines. When the file cannot be opened, hexLines is untouched. On any other
// failure hexLines holds the lines accepted before it. Only regular files up to kHexMaxFileSize
// are read, and a line is given up as soon as it is longer than any record.
[[nodiscard]] HexVerdict ReadHexFile(const std::string& path, std::vector<std::string>& hexLines);
// ReadHexFile(...).ok().
[[nodiscard]] bool LoadHexFile(const std::string& path, std::vector<std::string>& hexLines);
// Appends one byte per pair of hex digits to out; false (nothing appended) for an odd length or
// a character that is not a hex digit.
[[nodiscard]] bool HexToBytes(std::string_view hex, std::string& out);
// The byte written as two hex digits at text[position], text[position + 1]; -1 when they are
// not two hex digits (or lie past the end).
[[nodiscard]] int HexByteAt(std::string_view text, std::size_t position);

}  // namespace seriallink
