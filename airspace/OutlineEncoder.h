// The instrument's byte encoding of one airspace outline.
//
// Layout, every number most significant byte first:
//   start point    6 bytes: latitude and longitude, 24-bit two's complement each
//   delta point    4 bytes: flags in bits 7 (last airspace) and 6 (last point), bit 5 clear,
//                  13-bit dLat in the rest of the first two bytes, 16-bit dLon in the last two
//   circle command 2 bytes: 0x30 | e >> 8, e & 0xFF (the whole outline is a 16-gon, edge e)
//   arc command    3 bytes: 0x60 (clockwise) or 0x70 | e >> 8, e & 0xFF, sector << 4 | edges
// The flags are never stored: they are set only in the copies handed out for an upload or a
// preview, where the instrument needs them to find the end of an outline and of the whole upload.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "airspace/GeoPoint.h"

namespace airspace {

inline constexpr std::size_t kStartPointSize = 6;
inline constexpr std::size_t kDeltaPointSize = 4;
inline constexpr std::size_t kCircleCommandSize = 2;
inline constexpr std::size_t kArcCommandSize = 3;
inline constexpr std::uint8_t kLastAirspaceFlag = 0x80;
inline constexpr std::uint8_t kLastPointFlag = 0x40;
inline constexpr std::uint8_t kCircleCommand = 0x30;
inline constexpr std::uint8_t kArcCommandClockwise = 0x60;
inline constexpr std::uint8_t kArcCommandCounterClockwise = 0x70;
// Largest 16-gon edge a circle or arc command can hold, in hundredths of a nautical mile.
inline constexpr std::int32_t kMaxCommandEdge = 4095;
// Largest north-south step a delta point can hold (13-bit field, the encoder keeps to +-4095).
inline constexpr std::int32_t kMaxStepLat = 4095;
// Largest east-west step in longitude units (16-bit field).
inline constexpr std::int32_t kMaxStepLon = 32767;
// Largest east-west step in distance units, after scaling by the cosine of the latitude.
inline constexpr double kMaxStepDistance = 4095.0;
// The start point holds 24-bit numbers; every point of an outline must fit them.
inline constexpr std::int32_t kMaxCoordinate = (1 << 23) - 1;
inline constexpr std::int32_t kMinCoordinate = -(1 << 23);
// An outline beyond this is refused rather than kept: the instrument holds 3192 bytes in all, and
// only a pathological file (a million points, steps across the globe) comes near it.
inline constexpr std::size_t kMaxEncodedSize = std::size_t{4} << 20;

// Why an outline could not be represented.
enum class EncodeFailure {
    None,
    BeyondRange,  // a point outside the 24-bit range of the start point
    TooLarge,     // the encoding would pass kMaxEncodedSize
    Refinement,   // an arc whose vertices never come close enough for one step (near the poles)
};

class OutlineEncoder {
public:
    OutlineEncoder() = default;
    virtual ~OutlineEncoder() = default;
    OutlineEncoder(const OutlineEncoder&) = default;
    OutlineEncoder& operator=(const OutlineEncoder&) = default;
    OutlineEncoder(OutlineEncoder&&) noexcept = default;
    OutlineEncoder& operator=(OutlineEncoder&&) noexcept = default;

    // Empties the bytes and writes `start` as the start point.
    void begin(GeoPoint start);
    // Appends the step to `point` as one or more delta points: a step that fails the step test
    // is halved (toward zero) until every part passes. A point equal to the last one adds
    // nothing; the first point of an empty encoding begins it.
    void addPoint(GeoPoint point);
    void appendCircleCommand(std::int32_t edge);
    // direction +1 is clockwise on the map. Does not move the last point: the delta point after
    // the command is measured from the vertex before it.
    void appendArcCommand(int direction, std::int32_t edge, int sector, int edgeCount);
    // Adds midpoints until the closing edge back to the start point passes the step test. The
    // closing edge itself is never stored.
    void close();

    // True when the step from a to b can be stored as one delta point.
    [[nodiscard]] static bool stepTest(GeoPoint a, GeoPoint b);

    [[nodiscard]] std::size_t length() const { return bytes_.size(); }
    [[nodiscard]] std::span<const std::uint8_t> bytes() const { return bytes_; }
    // A copy of the bytes with the last-point flag on the last delta point and, for the last
    // airspace of an upload, the last-airspace flag on the last item. Empty when there are no
    // bytes.
    [[nodiscard]] std::vector<std::uint8_t> copyWithFlags(bool lastAirspace) const;

    // Set when the outline cannot be represented (a point beyond the 24-bit range, an encoding
    // beyond kMaxEncodedSize). Once set, every further operation is ignored.
    [[nodiscard]] bool failed() const { return failed_; }
    [[nodiscard]] EncodeFailure failure() const { return failure_; }
    // Marks the outline as one that cannot be represented: the bytes are dropped and every
    // further operation is ignored.
    void refuse(EncodeFailure why = EncodeFailure::BeyondRange);
    // Drops every byte; used for outlines the instrument could not read back (failed ones, or a
    // start point alone, which has no item that could carry the end flags).
    void discard();

    [[nodiscard]] GeoPoint firstPoint() const { return first_; }
    [[nodiscard]] GeoPoint lastPoint() const { return last_; }
    [[nodiscard]] std::uint32_t lastItemIndex() const { return lastItemIndex_; }
    [[nodiscard]] std::uint32_t lastPointIndex() const { return lastPointIndex_; }

private:
    void appendDelta(GeoPoint point);
    [[nodiscard]] bool fits(GeoPoint point) const;
    [[nodiscard]] bool reserve(std::size_t extra);

    std::vector<std::uint8_t> bytes_;
    GeoPoint first_;
    GeoPoint last_;
    std::uint32_t lastItemIndex_ = 0;
    std::uint32_t lastPointIndex_ = 0;
    bool failed_ = false;
    EncodeFailure failure_ = EncodeFailure::None;
};

}  // namespace airspace
