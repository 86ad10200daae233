// Reading an OpenAir file into airspace records. Failures come back as values; showing them is
// the caller's business.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "airspace/AirspaceReader.h"
#include "airspace/AirspaceRecord.h"

namespace airspace {

enum class LoadStatus {
    Ok,
    SystemError,  // the file could not be opened or its size not obtained: see systemErrorText
    ReadFailed,   // fewer bytes read than the file's size (message 104), or a file far too large
};

struct LoadResult {
    LoadStatus status = LoadStatus::Ok;
    std::string systemErrorText;          // the operating system's text, for SystemError
    std::vector<AirspaceRecord> records;  // in file order; empty unless status is Ok
};

// Files beyond this are refused as ReadFailed: real airspace files are a few megabytes, and the
// whole file is held in memory while it is split.
inline constexpr std::size_t kMaxAirspaceFileSize = std::size_t{512} << 20;

// Reads the whole file at `path` and splits it into records.
[[nodiscard]] LoadResult loadAirspaceFile(const std::string& path);

// Splits file contents into airspaces, one record per "AC" line, in file order. Comments ("*" to
// the end of the line), blank lines and everything before the first "AC" line are dropped; lines
// may end in CR LF, LF or CR; a UTF-8 byte-order mark at the start is skipped. Bytes are kept as
// read (no character-set conversion).
[[nodiscard]] std::vector<AirspaceRecord> parseAirspaces(std::string_view contents);
// The same, adding every problem met to `problems` (when given) in file order, with the file's
// own line numbers.
[[nodiscard]] std::vector<AirspaceRecord> parseAirspaces(std::string_view contents,
                                                         std::vector<ReadProblem>* problems);

}  // namespace airspace
