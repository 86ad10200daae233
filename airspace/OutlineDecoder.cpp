#include "airspace/OutlineDecoder.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "airspace/Geometry.h"

namespace airspace {
namespace {

constexpr int kSectors = 16;
constexpr int kCircleSteps = 15;   // the closing point draws the 16th edge
constexpr int kFullArcEdges = 16;  // written as 0 in an arc command
constexpr std::size_t kShortestOutline = kStartPointSize + kCircleCommandSize;

// cos and sin of s * 22.5 degrees, counter-clockwise from east, with the instrument's values.
constexpr std::array<double, kSectors> kCos = {1.0,  0.9238795325,  0.7071067812,  0.382683432,
                                               0.0,  -0.382683432,  -0.7071067812, -0.9238795325,
                                               -1.0, -0.9238795325, -0.7071067812, -0.382683432,
                                               0.0,  0.382683432,   0.7071067812,  0.9238795325};
constexpr std::array<double, kSectors> kSin = {0.0,  0.382683432,   0.7071067812,  0.9238795325,
                                               1.0,  0.9238795325,  0.7071067812,  0.382683432,
                                               0.0,  -0.382683432,  -0.7071067812, -0.9238795325,
                                               -1.0, -0.9238795325, -0.7071067812, -0.382683432};

std::int32_t truncated(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::int32_t clamped(std::int64_t value) {
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t signed24(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::int32_t value = (bytes[at] << 16) | (bytes[at + 1] << 8) | bytes[at + 2];
    if (value & 0x800000) value -= 0x1000000;
    return value;
}

bool isCircleCommand(std::uint8_t b) {
    return (b & 0x60) == 0x20;
}
bool isArcCommand(std::uint8_t b) {
    return (b & 0xE0) == 0x60;
}

std::int32_t commandEdge(std::uint8_t first, std::uint8_t second) {
    return ((first & 0x0F) << 8) + second;
}

std::int32_t deltaNorth(std::uint8_t first, std::uint8_t second) {
    std::int32_t value = ((first & 0x1F) << 8) | second;
    if (first & 0x10) value -= 0x2000;
    return value;
}

std::int32_t deltaEast(std::uint8_t high, std::uint8_t low) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((high << 8) | low));
}

}  // namespace

GeoPoint readStartPoint(std::span<const std::uint8_t> encoding) {
    if (encoding.size() < kStartPointSize) return {};
    return {signed24(encoding, 3), signed24(encoding, 0)};
}

void walkArc(std::vector<OutlinePoint>& points, int startSector, int steps, std::int32_t chord,
             double north, double east, double lonFactor) {
    int sector = ((startSector % kSectors) + kSectors) % kSectors;
    const int count = std::abs(steps);
    for (int i = 0; i < count; ++i) {
        // A clockwise walk's edge points opposite to its sector's counter-clockwise edge.
        const int heading = steps > 0 ? sector : (sector + kSectors / 2) % kSectors;
        east += chord * (lonFactor * kCos[heading]);
        north += chord * kSin[heading];
        points.push_back({truncated(east), truncated(north)});
        sector = (sector + (steps > 0 ? 1 : kSectors - 1)) % kSectors;
    }
}

namespace {

// The outline in the instrument's raw terms: east in longitude units and north in latitude units
// from the start point, closed by (0, 0) at both ends. Empty when there is no outline.
std::vector<OutlinePoint> decodeRaw(std::span<const std::uint8_t> encoding) {
    const std::size_t n = encoding.size();
    if (n < kShortestOutline) return {};
    const std::int32_t referenceLat = signed24(encoding, 0);
    const double lonFactor = 1.0 / std::cos(referenceLat * kRadiansPerUnit);

    // Offsets run in 64 bits: a long outline of steps one way could pass 32 bits.
    std::int64_t north = 0;
    std::int64_t east = 0;
    std::vector<OutlinePoint> raw;
    raw.push_back({0, 0});
    std::size_t pos = kStartPointSize;
    while (pos < n) {
        const std::uint8_t b = encoding[pos];
        if (isCircleCommand(b)) {
            if (pos + kCircleCommandSize > n) break;
            walkArc(raw, 0, kCircleSteps, commandEdge(b, encoding[pos + 1]), 0.0, 0.0, lonFactor);
            break;
        }
        if (isArcCommand(b)) {
            if (pos + kArcCommandSize > n) break;
            const int sign = (b & 0x10) ? 1 : -1;
            const int startSector = encoding[pos + 2] >> 4;
            int edges = encoding[pos + 2] & 0x0F;
            if (edges == 0) edges = kFullArcEdges;
            walkArc(raw, startSector, edges * sign, commandEdge(b, encoding[pos + 1]),
                    static_cast<double>(north), static_cast<double>(east), lonFactor);
            pos += kArcCommandSize;
            continue;
        }
        if (pos + kDeltaPointSize > n) break;
        north += deltaNorth(b, encoding[pos + 1]);
        east += deltaEast(encoding[pos + 2], encoding[pos + 3]);
        raw.push_back({clamped(east), clamped(north)});
        if (b & kLastPointFlag) break;
        pos += kDeltaPointSize;
    }
    raw.push_back({0, 0});
    return raw;
}

}  // namespace

std::vector<OutlinePoint> decodeOutline(std::span<const std::uint8_t> encoding) {
    std::vector<OutlinePoint> points = decodeRaw(encoding);
    if (points.empty()) return points;
    const std::int32_t referenceLat = signed24(encoding, 0);
    for (OutlinePoint& p : points) p.x = scaledLongitude(p.x, referenceLat);
    return points;
}

std::vector<GeoPoint> decodeOutlinePoints(std::span<const std::uint8_t> encoding) {
    const std::vector<OutlinePoint> raw = decodeRaw(encoding);
    std::vector<GeoPoint> points;
    if (raw.empty()) return points;
    const GeoPoint start = readStartPoint(encoding);
    points.reserve(raw.size() - 1);
    // The closing (0, 0) is implied, as the closing edge is in the encoding.
    for (std::size_t i = 0; i + 1 < raw.size(); ++i) {
        points.emplace_back(clamped(std::int64_t{start.lon} + raw[i].x),
                            clamped(std::int64_t{start.lat} + raw[i].y));
    }
    return points;
}

std::vector<GeoPoint> decodeOutlinePoints(const AirspaceRecord& airspace) {
    return decodeOutlinePoints(airspace.encodedBytes(true));
}

std::vector<OutlinePoint> decodeOutline(const AirspaceRecord& airspace) {
    return decodeOutline(airspace.encodedBytes(true));
}

std::vector<EncodedAirspace> splitEncodedAirspaces(std::span<const std::uint8_t> stream) {
    std::vector<EncodedAirspace> airspaces;
    std::size_t pos = 0;
    while (pos + kStartPointSize <= stream.size()) {
        EncodedAirspace airspace;
        airspace.offset = pos;
        airspace.start = readStartPoint(stream.subspan(pos));
        std::size_t at = pos + kStartPointSize;
        while (at < stream.size()) {
            const std::uint8_t b = stream[at];
            const std::size_t size = isCircleCommand(b) ? kCircleCommandSize
                                     : isArcCommand(b)  ? kArcCommandSize
                                                        : kDeltaPointSize;
            if (at + size > stream.size()) break;
            at += size;
            if (isCircleCommand(b)) {
                airspace.circle = true;
            } else if (isArcCommand(b)) {
                ++airspace.arcCommands;
                continue;
            } else {
                ++airspace.deltaPoints;
                if (!(b & kLastPointFlag)) continue;
            }
            airspace.complete = true;
            airspace.lastAirspace = (b & kLastAirspaceFlag) != 0;
            break;
        }
        airspace.length = (airspace.complete ? at : stream.size()) - pos;
        airspaces.push_back(airspace);
        if (!airspace.complete || airspace.lastAirspace) break;
        pos = at;
    }
    return airspaces;
}

}  // namespace airspace
