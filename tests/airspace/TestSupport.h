// Helpers shared by the airspace tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "airspace/AirspaceRecord.h"

namespace airspace::testing {

// "04 4D 2C" style, upper case, as the bytes are written down in the protocol notes.
inline std::string hex(std::span<const std::uint8_t> bytes) {
    std::string out;
    char buffer[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, i == 0 ? "%02X" : " %02X", bytes[i]);
        out += buffer;
    }
    return out;
}

// Centre used by the worked examples: 8 degrees east, 47 degrees north.
inline constexpr std::string_view kCentreLine = "V X=47:00:00 N 008:00:00 E";

// An airspace text as the file splitter hands it over: lines separated by line feeds.
inline AirspaceRecord recordOf(std::string_view lines) {
    return AirspaceRecord(lines);
}

inline std::string storedHex(const AirspaceRecord& record) {
    return hex(record.storedBytes());
}

}  // namespace airspace::testing
