#include "airspace/OutlineEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace airspace {
namespace {

constexpr std::uint8_t kCommandHighBits = 0x0F;
constexpr std::uint8_t kDeltaHighBits = 0x1F;

std::uint8_t byteOf(std::int64_t value, int shift) {
    return static_cast<std::uint8_t>((value >> shift) & 0xFF);
}

// Halfway from a to b, each half rounded toward zero.
GeoPoint midpoint(GeoPoint a, GeoPoint b) {
    return {a.lon + (b.lon - a.lon) / 2, a.lat + (b.lat - a.lat) / 2};
}

}  // namespace

bool OutlineEncoder::stepTest(GeoPoint a, GeoPoint b) {
    const double c = std::max(std::cos(a.lat * kRadiansPerUnit), std::cos(b.lat * kRadiansPerUnit));
    const std::int64_t dLat = std::llabs(static_cast<std::int64_t>(a.lat) - b.lat);
    const std::int64_t dLon = std::llabs(static_cast<std::int64_t>(a.lon) - b.lon);
    return dLat <= kMaxStepLat && static_cast<double>(dLon) * c <= kMaxStepDistance &&
           dLon <= kMaxStepLon;
}

bool OutlineEncoder::fits(GeoPoint point) const {
    return point.lat >= kMinCoordinate && point.lat <= kMaxCoordinate &&
           point.lon >= kMinCoordinate && point.lon <= kMaxCoordinate;
}

bool OutlineEncoder::reserve(std::size_t extra) {
    if (bytes_.size() + extra > kMaxEncodedSize) {
        refuse(EncodeFailure::TooLarge);
        return false;
    }
    return true;
}

void OutlineEncoder::refuse(EncodeFailure why) {
    if (!failed_) failure_ = why;
    failed_ = true;
    discard();
}

void OutlineEncoder::discard() {
    bytes_.clear();
    bytes_.shrink_to_fit();
    lastItemIndex_ = 0;
    lastPointIndex_ = 0;
}

void OutlineEncoder::begin(GeoPoint start) {
    if (failed_) return;
    if (!fits(start)) {
        refuse();
        return;
    }
    bytes_.clear();
    first_ = start;
    last_ = start;
    bytes_.insert(bytes_.end(),
                  {byteOf(start.lat, 16), byteOf(start.lat, 8), byteOf(start.lat, 0),
                   byteOf(start.lon, 16), byteOf(start.lon, 8), byteOf(start.lon, 0)});
}

void OutlineEncoder::addPoint(GeoPoint point) {
    if (failed_) return;
    if (bytes_.empty()) {
        begin(point);
        return;
    }
    if (!fits(point)) {
        refuse();
        return;
    }
    if (point == last_) return;
    if (!stepTest(last_, point)) {
        // Every halving halves both differences, so the recursion is at most about 24 deep.
        addPoint(midpoint(last_, point));
        addPoint(point);
        return;
    }
    appendDelta(point);
}

void OutlineEncoder::appendDelta(GeoPoint point) {
    if (!reserve(kDeltaPointSize)) return;
    const auto index = static_cast<std::uint32_t>(bytes_.size());
    lastItemIndex_ = index;
    lastPointIndex_ = index;
    const std::int64_t dLat = static_cast<std::int64_t>(point.lat) - last_.lat;
    const std::int64_t dLon = static_cast<std::int64_t>(point.lon) - last_.lon;
    last_ = point;
    bytes_.insert(bytes_.end(), {static_cast<std::uint8_t>((dLat >> 8) & kDeltaHighBits),
                                 byteOf(dLat, 0), byteOf(dLon, 8), byteOf(dLon, 0)});
}

void OutlineEncoder::appendCircleCommand(std::int32_t edge) {
    if (failed_ || !reserve(kCircleCommandSize)) return;
    lastItemIndex_ = static_cast<std::uint32_t>(bytes_.size());
    bytes_.insert(bytes_.end(),
                  {static_cast<std::uint8_t>(kCircleCommand | ((edge >> 8) & kCommandHighBits)),
                   byteOf(edge, 0)});
}

void OutlineEncoder::appendArcCommand(int direction, std::int32_t edge, int sector, int edgeCount) {
    if (failed_ || !reserve(kArcCommandSize)) return;
    const std::uint8_t command =
        direction == 1 ? kArcCommandClockwise : kArcCommandCounterClockwise;
    bytes_.insert(
        bytes_.end(),
        {static_cast<std::uint8_t>(command | ((edge >> 8) & kCommandHighBits)), byteOf(edge, 0),
         static_cast<std::uint8_t>(((sector << 4) & 0xF0) | (edgeCount & 0x0F))});
}

void OutlineEncoder::close() {
    while (!failed_ && !bytes_.empty() && !stepTest(last_, first_)) {
        const GeoPoint halfway = midpoint(last_, first_);
        if (halfway == last_) break;  // adjacent points always pass; never spin on them
        addPoint(halfway);
    }
}

std::vector<std::uint8_t> OutlineEncoder::copyWithFlags(bool lastAirspace) const {
    if (bytes_.empty()) return {};
    std::vector<std::uint8_t> copy(bytes_);
    if (lastAirspace && lastItemIndex_ < copy.size()) copy[lastItemIndex_] |= kLastAirspaceFlag;
    if (lastPointIndex_ != 0 && lastPointIndex_ < copy.size()) {
        copy[lastPointIndex_] |= kLastPointFlag;
    }
    return copy;
}

}  // namespace airspace
