#include "airspace/AirspaceRecord.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

#include "airspace/OutlineBuilder.h"

namespace airspace {
namespace {

// Radii beyond this are no airspace; refusing them also keeps every outline within reach of the
// step test's refinement.
constexpr float kMaxRadiusNm = 1000.0f;

constexpr std::size_t kClassColumn = 5;
constexpr std::size_t kNameColumn = 20;
constexpr std::size_t kHeightColumn = 10;
constexpr std::size_t kSizeColumn = 4;
constexpr std::size_t kHeaderSizeColumn = 8;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimStart(std::string_view s) {
    std::size_t start = 0;
    while (start < s.size() && isBlank(s[start])) ++start;
    return s.substr(start);
}

std::string_view trim(std::string_view s) {
    s = trimStart(s);
    std::size_t end = s.size();
    while (end > 0 && isBlank(s[end - 1])) --end;
    return s.substr(0, end);
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool keywordIs(std::string_view keyword, const char (&expected)[3]) {
    return keyword.size() == 2 && upper(keyword[0]) == expected[0] &&
           upper(keyword[1]) == expected[1];
}

bool isScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads numbers and separators the way "%f" and a scanf pattern do, locale-independent: the
// decimal point is always ".", whatever the user's language.
class FloatScanner {
public:
    explicit FloatScanner(std::string_view text) : text_(text) {}

    void skipSpace() {
        while (pos_ < text_.size() && isScanSpace(text_[pos_])) ++pos_;
    }

    [[nodiscard]] bool literal(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }

    // A number too large for a float reads as infinity and one too small as zero, as "%f" would
    // store them.
    [[nodiscard]] bool readFloat(float& value) {
        skipSpace();
        const char* begin = text_.data() + pos_;
        const char* end = text_.data() + text_.size();
        bool negative = false;
        if (begin != end && (*begin == '+' || *begin == '-')) {
            negative = *begin == '-';
            ++begin;
        }
        if (begin == end || *begin == '+' || *begin == '-') return false;
        auto format = std::chars_format::general;
        if (end - begin > 2 && begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X')) {
            format = std::chars_format::hex;
            begin += 2;
        }
        float parsed = 0.0f;
        const auto [stop, error] = std::from_chars(begin, end, parsed, format);
        if (error == std::errc::invalid_argument) {
            if (format != std::chars_format::hex) return false;
            parsed = 0.0f;  // "0x" without hex digits is the number 0
            pos_ = static_cast<std::size_t>(begin - 1 - text_.data());
        } else {
            if (error == std::errc::result_out_of_range) parsed = outOfRange(begin, end, format);
            pos_ = static_cast<std::size_t>(stop - text_.data());
        }
        value = negative ? -parsed : parsed;
        return true;
    }

private:
    // The float that a number beyond the float range becomes: 0 when its magnitude is below 1
    // (an angle of 1e-50 is an angle of 0), infinity otherwise.
    static float outOfRange(const char* begin, const char* end, std::chars_format format) {
        long double wide = 0.0L;
        const auto [stop, error] = std::from_chars(begin, end, wide, format);
        return error == std::errc{} && std::fabs(wide) < 1.0L ? 0.0f : INFINITY;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool validRadius(float radius) {
    return std::isfinite(radius) && radius > 0.0f && radius <= kMaxRadiusNm;
}

// The variable of a "V X=..." or "V D=..." line: its one-character name and its value. False for
// lines that are not a variable assignment.
bool readVariable(std::string_view line, char& name, std::string_view& value) {
    line = trimStart(line);
    if (line.empty() || upper(line[0]) != 'V') return false;
    const std::string_view rest = trim(line.substr(1));
    if (rest.empty()) return false;
    const std::string_view assignment = trim(rest.substr(1));
    if (assignment.empty() || assignment[0] != '=') return false;
    name = upper(rest[0]);
    value = trimStart(assignment.substr(1));
    return true;
}

// Byte length of the UTF-8 sequence that starts with `lead` in a valid string.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

// `text` cut to and padded with blanks to `width` characters; see listLine for what a character
// is.
void appendColumn(std::string& line, std::string_view text, std::size_t width, bool utf8) {
    std::size_t bytes = 0;
    std::size_t characters = 0;
    while (bytes < text.size() && characters < width) {
        bytes += utf8 ? sequenceLength(static_cast<unsigned char>(text[bytes])) : 1;
        ++characters;
    }
    line.append(text.substr(0, bytes));
    line.append(width - characters, ' ');
}

// The four text columns that the list lines and their header share, each followed by a blank.
// The caller decides whether columns count UTF-8 characters or bytes (see listLine).
std::string textColumns(std::string_view classText, std::string_view nameText,
                        std::string_view floorText, std::string_view ceilingText, bool utf8) {
    std::string line;
    line.reserve(kClassColumn + kNameColumn + 2 * kHeightColumn + kSizeColumn + 16);
    appendColumn(line, classText, kClassColumn, utf8);
    line += ' ';
    appendColumn(line, nameText, kNameColumn, utf8);
    line += ' ';
    appendColumn(line, floorText, kHeightColumn, utf8);
    line += ' ';
    appendColumn(line, ceilingText, kHeightColumn, utf8);
    line += ' ';
    return line;
}

}  // namespace

bool OutlineElement::addPointText(std::string_view text) {
    const auto point = parsePointText(text);
    if (!point) return false;
    points.push_back(*point);
    return true;
}

std::optional<GeoPoint> OutlineElement::firstPoint() {
    cursor_ = 0;
    return nextPoint();
}

std::optional<GeoPoint> OutlineElement::nextPoint() {
    if (cursor_ >= points.size()) return std::nullopt;
    return points[cursor_++];
}

AirspaceRecord::AirspaceRecord(std::string_view text) {
    // Parser state for this airspace only: the centre and direction carry over from one arc or
    // circle to the next, and start afresh with every airspace.
    std::string centre;
    std::int8_t direction = 1;
    std::size_t current = 0;  // index of the element that takes further "DP" points
    bool arcLast = false;
    bool noRunYet = true;

    auto startElement = [&](ElementKind kind) -> OutlineElement& {
        current = elements.size();
        return elements.emplace_back(kind);
    };

    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trimStart(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;

        const std::string_view keyword = line.substr(0, 2);
        const std::string_view value = line.size() > 2 ? trim(line.substr(2)) : std::string_view{};

        if (keywordIs(keyword, "AC")) {
            airspaceClass = value;
        } else if (keywordIs(keyword, "AN")) {
            name = value;
        } else if (keywordIs(keyword, "AH")) {
            ceiling = value;
        } else if (keywordIs(keyword, "AL")) {
            floor = value;
        } else if (keywordIs(keyword, "DP")) {
            // Consecutive points form one run; a point after an arc starts a new one.
            if (arcLast || noRunYet) {
                startElement(ElementKind::PointRun).addPointText(value);
                if (arcLast) {
                    arcLast = false;
                } else {
                    noRunYet = false;
                }
            } else {
                elements[current].addPointText(value);
            }
        } else if (keywordIs(keyword, "DA")) {
            if (centre.empty()) return;
            float radius = 0.0f;
            float startAngle = 0.0f;
            float endAngle = 0.0f;
            FloatScanner scan(value);
            if (!scan.readFloat(radius)) return;
            scan.skipSpace();
            if (!scan.literal(',') || !scan.readFloat(startAngle)) return;
            scan.skipSpace();
            if (!scan.literal(',') || !scan.readFloat(endAngle)) return;
            if (!validRadius(radius) || !std::isfinite(startAngle) || !std::isfinite(endAngle)) {
                return;
            }
            OutlineElement& arc = startElement(ElementKind::AngleArc);
            arc.addPointText(centre);
            arc.startAngle = startAngle;
            arc.endAngle = endAngle;
            arc.direction = direction;
            arc.radius = radius;
            arcLast = true;
        } else if (keywordIs(keyword, "DB")) {
            if (centre.empty()) return;
            const std::size_t comma = value.find(',');
            if (comma == std::string_view::npos) return;
            OutlineElement& arc = startElement(ElementKind::PointArc);
            arc.addPointText(centre);
            arc.addPointText(trim(value.substr(0, comma)));
            arc.addPointText(trim(value.substr(comma + 1)));
            arc.direction = direction;
            arcLast = true;
        } else if (keywordIs(keyword, "DC")) {
            float radius = 0.0f;
            FloatScanner scan(value);
            if (!scan.readFloat(radius) || !validRadius(radius)) return;
            if (centre.empty()) return;
            OutlineElement& circle = startElement(ElementKind::Circle);
            circle.addPointText(centre);
            circle.radius = radius;
        } else {
            char variable = 0;
            std::string_view variableValue;
            if (readVariable(line, variable, variableValue)) {
                if (variable == 'X') centre = variableValue;
                if (variable == 'D') direction = variableValue == "-" ? -1 : 1;
            }
        }
    }
    encoder = buildOutline(elements);
}

std::size_t AirspaceRecord::encodedSize() const {
    return encoder ? encoder->length() : 0;
}

std::vector<std::uint8_t> AirspaceRecord::encodedBytes(bool lastAirspace) const {
    return encoder ? encoder->copyWithFlags(lastAirspace) : std::vector<std::uint8_t>{};
}

std::span<const std::uint8_t> AirspaceRecord::storedBytes() const {
    return encoder ? encoder->bytes() : std::span<const std::uint8_t>{};
}

std::string AirspaceRecord::listLine() const {
    const bool utf8 = isValidUtf8(airspaceClass) && isValidUtf8(name) && isValidUtf8(floor) &&
                      isValidUtf8(ceiling);
    std::string line = textColumns(airspaceClass, name, floor, ceiling, utf8);
    const std::string size = std::to_string(encodedSize());
    line += size;
    if (size.size() < kSizeColumn) line.append(kSizeColumn - size.size(), ' ');
    return line;
}

std::string airspaceListHeader(std::string_view classWord, std::string_view nameWord,
                               std::string_view floorWord, std::string_view ceilingWord,
                               std::string_view sizeWord) {
    const bool utf8 = isValidUtf8(classWord) && isValidUtf8(nameWord) && isValidUtf8(floorWord) &&
                      isValidUtf8(ceilingWord) && isValidUtf8(sizeWord);
    std::string line = textColumns(classWord, nameWord, floorWord, ceilingWord, utf8);
    appendColumn(line, sizeWord, kHeaderSizeColumn, utf8);
    return line;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80;   // bounds of the second byte, excluding overlong forms,
        unsigned char high = 0xBF;  // surrogates and values above U+10FFFF
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + length > bytes.size()) return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < 0x80 || next > 0xBF) return false;
        }
        i += length;
    }
    return true;
}

}  // namespace airspace
