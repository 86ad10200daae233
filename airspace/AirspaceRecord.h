// One airspace as read from an OpenAir file: its four list texts, its outline elements and the
// instrument's encoding of that outline.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "airspace/Activation.h"
#include "airspace/GeoPoint.h"
#include "airspace/OutlineEncoder.h"

namespace airspace {

// The instrument's airspace store: 228 blocks of 14 bytes.
inline constexpr std::size_t kDeviceBlockSize = 14;
inline constexpr std::size_t kDeviceBlockCount = 228;
inline constexpr std::size_t kDeviceCapacity = kDeviceBlockSize * kDeviceBlockCount;  // 3192

// Whole blocks needed for `bytes` bytes of encodings.
[[nodiscard]] constexpr std::size_t blocksFor(std::size_t bytes) {
    return (bytes + kDeviceBlockSize - 1) / kDeviceBlockSize;
}

enum class ElementKind : std::int32_t { Circle = 1, AngleArc = 2, PointArc = 3, PointRun = 4 };

// One piece of an outline: a circle ("DC": points = [centre]), an arc by angles ("DA": [centre]),
// an arc by points ("DB": [centre, start, end]) or a run of consecutive "DP" points. A point text
// that does not parse adds no point, so any of these lists may be shorter; the outline builder
// skips an element whose points are missing.
class OutlineElement {
public:
    explicit OutlineElement(ElementKind elementKind) : kind(elementKind) {}
    virtual ~OutlineElement() = default;
    OutlineElement(const OutlineElement&) = default;
    OutlineElement& operator=(const OutlineElement&) = default;
    OutlineElement(OutlineElement&&) noexcept = default;
    OutlineElement& operator=(OutlineElement&&) noexcept = default;

    // Parses a point text ("47:30:00 N 008:30:00 E") and appends it. False, and nothing added,
    // when the text has no N/S letter or either half does not fit the coordinate syntax.
    bool addPointText(std::string_view text);

    // Walking the points: firstPoint() restarts at point 0, nextPoint() goes on; both return
    // nothing past the end.
    [[nodiscard]] std::optional<GeoPoint> firstPoint();
    [[nodiscard]] std::optional<GeoPoint> nextPoint();

    ElementKind kind;
    std::int8_t direction = 0;  // +1 clockwise, -1 counter-clockwise; arcs only
    float startAngle = 0.0f;    // "DA" bearings in degrees, as written
    float endAngle = 0.0f;
    float radius = 0.0f;  // "DC" and "DA", nautical miles as written
    std::vector<GeoPoint> points;

private:
    std::size_t cursor_ = 0;
};

class AirspaceRecord {
public:
    // `text` is one airspace: its lines, each already trimmed, separated by line feeds, the "AC"
    // line first. Never fails: a malformed "DA", "DB" or "DC" line, or one before any centre
    // ("V X=") line, ends the reading of this airspace; what was read stays, but the record then
    // has no encoding (size 0).
    explicit AirspaceRecord(std::string_view text);
    // An empty record, as the file reader starts one before its lines are read.
    AirspaceRecord() = default;
    virtual ~AirspaceRecord() = default;
    AirspaceRecord(const AirspaceRecord&) = default;
    AirspaceRecord& operator=(const AirspaceRecord&) = default;
    AirspaceRecord(AirspaceRecord&&) noexcept = default;
    AirspaceRecord& operator=(AirspaceRecord&&) noexcept = default;

    // The list box line: class, name, floor, ceiling cut and padded to 5, 20, 10 and 10
    // characters, then the size left-aligned in at least 4. When the four texts as cut are valid
    // UTF-8 (a bad byte beyond a column's cut does not count), a character is a UTF-8 sequence
    // (never split, counted as one column); otherwise a character is a byte (Latin-1). Should
    // the byte-counted line still be valid UTF-8, the UTF-8 columns are kept, each ending before
    // its first bad byte. So the line is aligned whenever it is shown as UTF-8 if it is valid
    // UTF-8 and as Latin-1 otherwise.
    [[nodiscard]] std::string listLine() const;

    // Size of the encoding in bytes; 0 when there is none.
    [[nodiscard]] std::size_t encodedSize() const;
    // A copy of the encoding with its end flags (see OutlineEncoder::copyWithFlags); empty when
    // there is no encoding. The copy belongs to the caller.
    [[nodiscard]] std::vector<std::uint8_t> encodedBytes(bool lastAirspace) const;
    // The stored bytes, without flags.
    [[nodiscard]] std::span<const std::uint8_t> storedBytes() const;
    // True when the parse stopped early at a malformed line and no encoder was built.
    [[nodiscard]] bool parseStopped() const { return !encoder.has_value(); }

    std::string airspaceClass;  // "AC"
    std::string name;           // "AN"
    std::string ceiling;        // "AH"
    std::string floor;          // "AL"
    // "AY" in its short form ("GLIDING_SECTOR" reads as "GSEC"), where the file has it; else,
    // for a long spelling in "AC" ("UNCLASSIFIED"), that one's short form. Never in the list line.
    std::string type;
    std::string frequency;    // "AF"
    std::string station;      // "AG"
    std::string transponder;  // "AX", the transponder code
    std::string identifier;   // "AI", openAIP's stable identifier
    // "AA" intervals, as written; none means always active, unless notamOnly.
    std::vector<Activation> activations;
    bool notamOnly = false;  // a bare "AA NONE": active only when a NOTAM says so
    // Of a list of files loaded together: the one it came from, and the later ones that hold the
    // same airspace again (listed once). 0 and none for a single file.
    std::size_t fileIndex = 0;
    std::vector<std::size_t> alsoInFiles;
    std::vector<OutlineElement> elements;
    std::optional<OutlineEncoder> encoder;
};

// The header above the list, in the same columns as listLine. The five words are the same in
// English and German.
[[nodiscard]] std::string airspaceListHeader(std::string_view classWord = "Class",
                                             std::string_view nameWord = "Name",
                                             std::string_view floorWord = "Floor",
                                             std::string_view ceilingWord = "Ceiling",
                                             std::string_view sizeWord = "Size");

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values above
// U+10FFFF). listLine decides by this how it counts characters; a display can decide the same way
// how to decode the line.
[[nodiscard]] bool isValidUtf8(std::string_view bytes);

}  // namespace airspace
