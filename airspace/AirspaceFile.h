// Reading an OpenAir file into airspace records. Failures come back as values; showing them is
// the caller's business.
#pragma once

#include <cstddef>
#include <cstdint>
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

// What the header comments of an OpenAir 2.0 file say ("* VERSION: 2.0", "*WRITTEN_BY: openAIP").
struct OpenAirHeader {
    std::string version;    // "2.0", "2.1"; empty when the file does not say
    std::string writtenBy;  // empty when the file does not say

    [[nodiscard]] bool openAir2() const { return !version.empty() && version[0] == '2'; }
};

struct LoadResult {
    LoadStatus status = LoadStatus::Ok;
    std::string systemErrorText;          // the operating system's text, for SystemError
    std::vector<AirspaceRecord> records;  // in file order; empty unless status is Ok
    OpenAirHeader header;
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
// The same, filling `header` from the comment lines before the first airspace. A file that says
// it is OpenAir 2.0 has its own rules checked too, as FormatRule problems.
[[nodiscard]] std::vector<AirspaceRecord> parseAirspaces(std::string_view contents,
                                                         std::vector<ReadProblem>* problems,
                                                         OpenAirHeader* header);

// ---- Several files at once -----------------------------------------------------------------

struct FilesLoadResult {
    LoadStatus status = LoadStatus::Ok;
    std::string systemErrorText;         // for SystemError
    std::size_t failedFile = 0;          // the file that could not be read, when status is not Ok
    std::vector<OpenAirHeader> headers;  // one per file, in the order given
    std::vector<std::size_t> counts;     // airspaces read from each file, duplicates included
    // Every airspace of every file, in the order of the files and within each in file order; an
    // airspace already read from an earlier file is not repeated (see appendAirspaces).
    std::vector<AirspaceRecord> records;
    std::size_t duplicates = 0;  // airspaces left out as already read from an earlier file
};

// Reads the files (each on a thread of its own) and puts their airspaces together. With one
// file, the records are exactly those of loadAirspaceFile. Nothing is kept when a file fails.
[[nodiscard]] FilesLoadResult loadAirspaceFiles(const std::vector<std::string>& paths);

// True when two airspaces are the same one, as neighbouring countries' files both hold a border
// zone: the same encoding, name, floor and ceiling.
[[nodiscard]] bool sameAirspace(const AirspaceRecord& a, const AirspaceRecord& b);

// Appends the airspaces `more` of file `fileIndex` to `records`. One already in `records` from
// another file is not appended again; that record notes `fileIndex` in alsoInFiles instead.
// Airspaces repeated within one file stay, as a single file is always read. Returns how many
// were left out.
std::size_t appendAirspaces(std::vector<AirspaceRecord>& records, std::vector<AirspaceRecord> more,
                            std::size_t fileIndex);

}  // namespace airspace
