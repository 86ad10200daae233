// Helpers shared by the airspace tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "airspace/AirspaceRecord.h"
#include "airspace/OutlineDecoder.h"
#include "airspace/OutlineEncoder.h"

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

// What the instrument relies on in every encoding it may receive: either no bytes, or a start
// point followed by items that end in exactly one flagged item, every point within the 24-bit
// range, every step within its field, no flag in the stored bytes.
inline void expectSoundEncoding(const AirspaceRecord& record, const std::string& where) {
    const auto stored = record.storedBytes();
    ASSERT_EQ(record.encodedSize(), stored.size()) << where;
    if (stored.empty()) {
        EXPECT_TRUE(record.encodedBytes(true).empty()) << where;
        EXPECT_TRUE(decodeOutline(record).empty()) << where;
        return;
    }
    ASSERT_GE(stored.size(), kStartPointSize + kCircleCommandSize) << where;
    ASSERT_LE(stored.size(), kMaxEncodedSize) << where;

    for (const bool last : {false, true}) {
        const auto copy = record.encodedBytes(last);
        const auto found = splitEncodedAirspaces(copy);
        ASSERT_EQ(found.size(), 1u) << where;
        EXPECT_TRUE(found[0].complete) << where;
        EXPECT_EQ(found[0].length, copy.size())
            << where << ": the end flag is not on the last item";
        EXPECT_EQ(found[0].lastAirspace, last) << where;
    }

    GeoPoint at = readStartPoint(stored);
    std::size_t pos = kStartPointSize;
    while (pos < stored.size()) {
        const std::uint8_t b = stored[pos];
        if ((b & 0x60) == 0x20) {
            EXPECT_EQ(pos + kCircleCommandSize, stored.size()) << where << ": circle not last";
            EXPECT_EQ(b & 0x80, 0) << where;
            break;
        }
        if ((b & 0xE0) == 0x60) {
            ASSERT_LT(pos + kArcCommandSize, stored.size()) << where << ": arc command ends it";
            pos += kArcCommandSize;
            continue;
        }
        ASSERT_LE(pos + kDeltaPointSize, stored.size()) << where;
        EXPECT_EQ(b & 0xC0, 0) << where << ": flag in the stored bytes at " << pos;
        std::int32_t dLat = ((b & 0x1F) << 8) | stored[pos + 1];
        if (b & 0x10) dLat -= 0x2000;
        const auto dLon = static_cast<std::int16_t>(
            static_cast<std::uint16_t>((stored[pos + 2] << 8) | stored[pos + 3]));
        EXPECT_LE(std::abs(dLat), kMaxStepLat) << where;
        EXPECT_FALSE(dLat == 0 && dLon == 0) << where << ": repeated point at " << pos;
        at += GeoPoint(dLon, dLat);
        EXPECT_TRUE(at.lat >= kMinCoordinate && at.lat <= kMaxCoordinate &&
                    at.lon >= kMinCoordinate && at.lon <= kMaxCoordinate)
            << where;
        pos += kDeltaPointSize;
    }
    const auto outline = decodeOutline(record);
    ASSERT_GE(outline.size(), 2u) << where;
    EXPECT_EQ(outline.front(), (OutlinePoint{0, 0})) << where;
    EXPECT_EQ(outline.back(), (OutlinePoint{0, 0})) << where;
}

}  // namespace airspace::testing
