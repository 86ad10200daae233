// Reading an encoding back into points: the preview draws what the instrument will receive, and
// the simulator takes an upload apart with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "airspace/AirspaceRecord.h"
#include "airspace/GeoPoint.h"

namespace airspace {

// A point of a decoded outline: x east, y north, in hundredths of a nautical mile relative to the
// outline's start point (the reference point).
struct OutlinePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    constexpr bool operator==(const OutlinePoint&) const = default;
};

// Decodes one airspace's encoding (with or without flags) into the outline in drawing order:
// (0, 0) first, then every stored point and every 16-gon vertex its commands walk, then (0, 0)
// again to close it. Empty when the encoding is shorter than 8 bytes. Reading stops at a circle
// command, at a delta point with the last-point flag, or at the end of the bytes, whichever comes
// first; an arc command's edge count 0 stands for 16 edges.
[[nodiscard]] std::vector<OutlinePoint> decodeOutline(std::span<const std::uint8_t> encoding);
// The outline of a record's own encoding, as the preview shows it.
[[nodiscard]] std::vector<OutlinePoint> decodeOutline(const AirspaceRecord& airspace);

// The same outline as absolute points (longitude and latitude units, not scaled), without the
// closing repeat of the start point: the polygon the instrument holds. Empty when there is none.
[[nodiscard]] std::vector<GeoPoint> decodeOutlinePoints(std::span<const std::uint8_t> encoding);
[[nodiscard]] std::vector<GeoPoint> decodeOutlinePoints(const AirspaceRecord& airspace);

// Appends |steps| raw points (east in longitude units, north in latitude units) of a walk along
// 16-gon edges of length `chord`, starting at (east, north) in sector `startSector` (0 east, 4
// north, counter-clockwise). steps > 0 walks counter-clockwise, steps < 0 clockwise (its first
// edge points opposite to the start sector). `lonFactor` turns distance units east into longitude
// units (1 / cos latitude).
void walkArc(std::vector<OutlinePoint>& points, int startSector, int steps, std::int32_t chord,
             double north, double east, double lonFactor);

// The start point stored in the first 6 bytes (24-bit latitude, then longitude).
[[nodiscard]] GeoPoint readStartPoint(std::span<const std::uint8_t> encoding);

// One airspace found in a stream of concatenated encodings, such as an upload.
struct EncodedAirspace {
    std::size_t offset = 0;  // of its first byte in the stream
    std::size_t length = 0;  // bytes up to and including its last item
    GeoPoint start;
    std::size_t deltaPoints = 0;
    std::size_t arcCommands = 0;
    bool circle = false;        // ends in a circle command
    bool lastAirspace = false;  // its last item carries the last-airspace flag
    bool complete = false;      // false: the stream ended inside it
};

// Splits a stream of encodings into airspaces, as the instrument reads it: each airspace ends at
// its circle command or at its delta point with the last-point flag; the stream ends after the
// airspace with the last-airspace flag (the rest is padding) or at the end of the bytes.
[[nodiscard]] std::vector<EncodedAirspace> splitEncodedAirspaces(
    std::span<const std::uint8_t> stream);

}  // namespace airspace
