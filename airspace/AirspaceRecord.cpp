#include "airspace/AirspaceRecord.h"

#include <cstddef>
#include <string>

#include "airspace/AirspaceReader.h"

namespace airspace {
namespace {

constexpr std::size_t kClassColumn = 5;
constexpr std::size_t kNameColumn = 20;
constexpr std::size_t kHeightColumn = 10;
constexpr std::size_t kSizeColumn = 4;
constexpr std::size_t kHeaderSizeColumn = 8;

// Length of the well-formed UTF-8 sequence at `i` (no overlong forms, surrogates or values above
// U+10FFFF), 0 when the bytes there are none.
std::size_t sequenceAt(std::string_view bytes, std::size_t i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;  // bounds of the second byte
    unsigned char high = 0xBF;
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
        return 0;
    }
    if (i + length > bytes.size()) return 0;
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    if (second < low || second > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if (next < 0x80 || next > 0xBF) return 0;
    }
    return length;
}

struct Column {
    std::string_view text;
    std::size_t width;
};

// `text` cut to and padded with blanks to `width` characters. Counting UTF-8 characters, the cut
// ends early at a byte that starts no valid sequence; false then, when that byte lies within the
// width, that is when the column as cut is not what the text says. Counting bytes, always true.
bool appendColumn(std::string& line, Column column, bool utf8) {
    const std::string_view text = column.text;
    std::size_t bytes = 0;
    std::size_t characters = 0;
    bool clean = true;
    while (bytes < text.size() && characters < column.width) {
        const std::size_t length = utf8 ? sequenceAt(text, bytes) : 1;
        if (length == 0) {
            clean = false;
            break;
        }
        bytes += length;
        ++characters;
    }
    line.append(text.substr(0, bytes));
    line.append(column.width - characters, ' ');
    return clean;
}

// The columns, each followed by a blank but the last when `blankAfterLast` is false. A display
// decodes a line as UTF-8 when it is valid and as Latin-1 otherwise, so the columns count UTF-8
// characters when the texts as cut are valid UTF-8, and bytes otherwise. Should the byte-counted
// line happen to be valid UTF-8 all the same (a bad byte beyond the cut of one column, a UTF-8
// character within another), it would be shown as UTF-8 with that column short: then the UTF-8
// columns are used, each ending before its first bad byte.
template <std::size_t N>
std::string columns(const Column (&all)[N], bool blankAfterLast) {
    std::string line;
    line.reserve(kClassColumn + kNameColumn + 2 * kHeightColumn + kHeaderSizeColumn + 16);
    auto build = [&](bool utf8) {
        line.clear();
        bool clean = true;
        for (std::size_t i = 0; i < N; ++i) {
            clean &= appendColumn(line, all[i], utf8);
            if (i + 1 < N || blankAfterLast) line += ' ';
        }
        return clean;
    };
    if (build(true)) return line;
    const std::string utf8Line = line;
    build(false);
    return isValidUtf8(line) ? utf8Line : line;
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
    AirspaceReader reader;
    reader.begin(*this);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        reader.readLine(text.substr(pos, end - pos));
        pos = end + 1;
    }
    reader.finish();
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
    const Column texts[] = {{airspaceClass, kClassColumn},
                            {name, kNameColumn},
                            {floor, kHeightColumn},
                            {ceiling, kHeightColumn}};
    std::string line = columns(texts, true);
    const std::string size = std::to_string(encodedSize());
    line += size;
    if (size.size() < kSizeColumn) line.append(kSizeColumn - size.size(), ' ');
    return line;
}

std::string airspaceListHeader(std::string_view classWord, std::string_view nameWord,
                               std::string_view floorWord, std::string_view ceilingWord,
                               std::string_view sizeWord) {
    const Column words[] = {{classWord, kClassColumn},
                            {nameWord, kNameColumn},
                            {floorWord, kHeightColumn},
                            {ceilingWord, kHeightColumn},
                            {sizeWord, kHeaderSizeColumn}};
    return columns(words, false);
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = sequenceAt(bytes, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

}  // namespace airspace
