// A position on the earth in the instrument's own unit, and the text syntax of OpenAir coordinates.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace airspace {

// Hundredths of a minute of arc: 100 units are one minute, 6000 one degree. Distances use the same
// unit, a hundredth of a minute of latitude being taken as a hundredth of a nautical mile.
inline constexpr std::int32_t kUnitsPerDegree = 6000;
inline constexpr std::int32_t kUnitsPerMinute = 100;
inline constexpr double kUnitsPerNauticalMile = 100.0;
// pi / (180 * 6000): radians per unit, for the cosine of a latitude.
inline constexpr double kRadiansPerUnit = 2.908882086657216e-6;

struct GeoPoint {
    std::int32_t lon = 0;  // east positive
    std::int32_t lat = 0;  // north positive

    constexpr GeoPoint() = default;
    constexpr GeoPoint(std::int32_t lonUnits, std::int32_t latUnits)
        : lon(lonUnits), lat(latUnits) {}

    // Parses a longitude text (hemisphere letters E/W) and a latitude text (N/S). Empty when
    // either half does not fit the coordinate syntax: a point at 0 degrees in its place would
    // draw a spike to the equator or the prime meridian.
    [[nodiscard]] static std::optional<GeoPoint> fromText(std::string_view lonText,
                                                          std::string_view latText);

    constexpr bool operator==(const GeoPoint&) const = default;
    constexpr GeoPoint& operator+=(const GeoPoint& other) {
        lon += other.lon;
        lat += other.lat;
        return *this;
    }
};

// One coordinate half such as "47:30:00 N", "8:30.25E" or "008:30:15.5 e": one to three degree
// digits, a colon, two characters of minutes, then ":" and whole seconds or "." and decimal
// minutes (only the first three fraction digits count), the hemisphere letter last. Returns the
// signed value in units, or nothing when the text does not fit this syntax or its letter is
// neither `positive` nor `negative` (compared ignoring case).
[[nodiscard]] std::optional<std::int32_t> parseAngleText(std::string_view text, char positive,
                                                         char negative);

// A whole point text "47:30:00 N 008:30:00 E" (latitude first, separated by blanks, tabs or
// commas). Empty when there is no N/S letter or either half does not parse.
[[nodiscard]] std::optional<GeoPoint> parsePointText(std::string_view text);

}  // namespace airspace
