// Reading the files the commands are given, with the errors said once for all of them.
#pragma once

#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "seriallink/HexFile.h"

namespace quillon {

class JsonWriter;

// Loads the OpenAir file; false after one line on std::cerr naming the file and the cause.
// A file without any airspace loads, but gets the warning of warnNoAirspace unless the caller
// reports it itself (warnIfEmpty false).
[[nodiscard]] bool loadAirspaces(const std::string& path, airspace::LoadResult& result,
                                 bool warnIfEmpty = true);

// Loads several OpenAir files together (loadAirspaceFiles): false after one line on std::cerr
// naming the file that failed. Each file without any airspace gets the warning.
[[nodiscard]] bool loadAirspaces(const std::vector<std::string>& paths,
                                 airspace::FilesLoadResult& result);

// The facts of an airspace beyond its list line, as list --json and select --json give them:
// "file" (its path), "type" (the short form), "activations", "notam_only", "transponder", "id",
// and "also_in" (the later files that hold it too).
void writeAirspaceFacts(JsonWriter& json, const airspace::AirspaceRecord& record,
                        const std::vector<std::string>& paths);

// "files": one object per file (path, the OpenAir version its header states, its airspaces) and
// "duplicates", the airspaces listed once although several files hold them.
void writeFilesJson(JsonWriter& json, const std::vector<std::string>& paths,
                    const airspace::FilesLoadResult& loaded);

// "FILE: no airspace found (is this an OpenAir file?)" on std::cerr, unless -q.
void warnNoAirspace(const std::string& path);

// The extension of path in lower case, with its dot: ".hex".
[[nodiscard]] std::string lowercaseExtension(const std::string& path);

// True when the file looks like Intel HEX rather than OpenAir: by its extension .hex, or by a
// first line that is not blank and starts with ':'.
[[nodiscard]] bool looksLikeHex(const std::string& path);

// The reason of a HEX verdict in the pilot's language, e.g. "line 12: checksum does not match".
[[nodiscard]] std::string hexProblemText(const seriallink::HexVerdict& verdict);
// A stable name for scripts (--json), e.g. "checksum".
[[nodiscard]] const char* hexProblemKey(seriallink::HexProblem problem);

}  // namespace quillon
