#include "airspace/GeoPoint.h"

#include <cstddef>
#include <cstdint>

namespace airspace {
namespace {

// Seconds beyond nine digits are no coordinate; refusing them keeps every sum within 32 bits.
constexpr int kMaxSecondsDigits = 9;
// Decimal minutes count to a thousandth of a minute; further digits are ignored.
constexpr int kMaxFractionDigits = 3;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whitespace as "%d" skips it.
bool isScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Reads a whole number the way "%d" does (leading whitespace, optional sign, digits), taking at
// most `maxDigits` digits into the value. With `ignoreExtraDigits` further digits are consumed and
// dropped; otherwise more digits than that fail the read.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    [[nodiscard]] bool readInt(std::int64_t& value, int maxDigits, bool ignoreExtraDigits) {
        while (pos_ < text_.size() && isScanSpace(text_[pos_])) ++pos_;
        bool negative = false;
        if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
            negative = text_[pos_] == '-';
            ++pos_;
        }
        int digits = 0;
        std::int64_t magnitude = 0;
        while (pos_ < text_.size() && isDigit(text_[pos_])) {
            if (digits < maxDigits) {
                magnitude = magnitude * 10 + (text_[pos_] - '0');
            } else if (!ignoreExtraDigits) {
                return false;
            }
            ++digits;
            ++pos_;
        }
        if (digits == 0) return false;
        value = negative ? -magnitude : magnitude;
        return true;
    }

    [[nodiscard]] bool literal(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

int degreeDigits(std::string_view t) {
    if (isDigit(t[0]) && t[1] == ':') return 1;
    if (isDigit(t[0]) && isDigit(t[1]) && t[2] == ':') return 2;
    if (isDigit(t[0]) && isDigit(t[1]) && isDigit(t[2]) && t[3] == ':') return 3;
    return 0;
}

bool digitAt(std::string_view t, std::size_t i) {
    return i < t.size() && isDigit(t[i]);
}

bool isLatitudeLetter(char c) {
    return c == 'N' || c == 'S' || c == 'n' || c == 's';
}

// Between the latitude's letter and the longitude.
bool isPointSeparator(char c) {
    return c == '\t' || c == ' ' || c == ',';
}

}  // namespace

std::optional<std::int32_t> parseAngleText(std::string_view text, char positive, char negative) {
    constexpr std::size_t kShortestText = 7;  // "8:30.5N"
    if (text.size() < kShortestText) return std::nullopt;
    const int d = degreeDigits(text);
    if (d == 0) return std::nullopt;

    constexpr int kDegreeDigits = 3;
    constexpr int kMinuteDigits = 2;  // two characters, possibly a sign or a blank
    Scanner scan(text);
    std::int64_t degrees = 0;
    std::int64_t minutes = 0;
    std::int64_t magnitude = 0;
    const char separator = text[static_cast<std::size_t>(d) + 3];
    if (separator == ':') {
        std::int64_t seconds = 0;
        if (!scan.readInt(degrees, kDegreeDigits, false) || !scan.literal(':') ||
            !scan.readInt(minutes, kMinuteDigits, false) || !scan.literal(':') ||
            !scan.readInt(seconds, kMaxSecondsDigits, false)) {
            return std::nullopt;
        }
        magnitude = degrees * kUnitsPerDegree + minutes * kUnitsPerMinute +
                    (seconds * kUnitsPerMinute) / 60;
    } else if (separator == '.') {
        std::int64_t fraction = 0;
        if (!scan.readInt(degrees, kDegreeDigits, false) || !scan.literal(':') ||
            !scan.readInt(minutes, kMinuteDigits, false) || !scan.literal('.') ||
            !scan.readInt(fraction, kMaxFractionDigits, true)) {
            return std::nullopt;
        }
        // The fraction's scale comes from the digits right after the point, and a fourth digit
        // position is not looked at: ".5" is 50, ".25" is 25, ".126" rounds up to 13.
        const std::size_t first = static_cast<std::size_t>(d) + 4;
        std::int64_t scale = 1;
        for (std::size_t i = first; i < first + kMaxFractionDigits; ++i) {
            if (digitAt(text, i)) scale *= 10;
        }
        const std::size_t roundingDigit = first + 2;
        const int roundUp = (digitAt(text, roundingDigit) && text[roundingDigit] >= '5') ? 1 : 0;
        magnitude = degrees * kUnitsPerDegree + minutes * kUnitsPerMinute +
                    (fraction * kUnitsPerMinute) / scale + roundUp;
    } else {
        return std::nullopt;
    }

    const char letter = upper(text.back());
    if (letter == upper(positive)) return static_cast<std::int32_t>(magnitude);
    if (letter == upper(negative)) return static_cast<std::int32_t>(-magnitude);
    return std::nullopt;
}

std::optional<GeoPoint> GeoPoint::fromText(std::string_view lonText, std::string_view latText) {
    const auto lon = parseAngleText(lonText, 'E', 'W');
    const auto lat = parseAngleText(latText, 'N', 'S');
    if (!lon || !lat) return std::nullopt;
    return GeoPoint(*lon, *lat);
}

std::optional<GeoPoint> parsePointText(std::string_view text) {
    std::size_t letter = 0;
    while (letter < text.size() && !isLatitudeLetter(text[letter])) ++letter;
    if (letter == text.size()) return std::nullopt;
    std::size_t lonStart = letter + 1;
    while (lonStart < text.size() && isPointSeparator(text[lonStart])) ++lonStart;
    return GeoPoint::fromText(text.substr(lonStart), text.substr(0, letter + 1));
}

}  // namespace airspace
