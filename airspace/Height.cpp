// Floor and ceiling texts as files write them, read into heights for filtering.
#include <array>
#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>

#include "airspace/Selection.h"

namespace airspace {
namespace {

constexpr double kFeetPerMetre = 1.0 / 0.3048;
constexpr double kFeetPerFlightLevel = 100.0;

// Upper case with every blank and tab removed: "2500 ft MSL", "2500FT  msl" and "2500ftMSL" read
// alike, and so do "FL 65" and "FL65".
std::string squeezed(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

// A non-negative decimal number at the start of `text`; `rest` is what follows it.
bool readNumber(std::string_view text, double& value, std::string_view& rest) {
    std::size_t end = 0;
    bool point = false;
    bool digit = false;
    while (end < text.size()) {
        const char c = text[end];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        ++end;
    }
    if (!digit) return false;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + end, value);
    if (error != std::errc() || stop != text.data() + end) return false;
    rest = text.substr(end);
    return true;
}

enum class Datum { None, Sea, Ground, Standard, Unknown };

Datum datumOf(std::string_view text) {
    if (text.empty()) return Datum::None;
    if (text == "MSL" || text == "AMSL" || text == "ALT") return Datum::Sea;
    if (text == "AGL" || text == "ASFC" || text == "GND" || text == "SFC" || text == "AGND") {
        return Datum::Ground;
    }
    if (text == "STD") return Datum::Standard;
    return Datum::Unknown;
}

}  // namespace

Height parseHeight(std::string_view text) {
    const std::string s = squeezed(text);
    if (s == "GND" || s == "SFC" || s == "0" || s == "AGL" || s == "ASFC") {
        return {HeightReference::Ground, 0.0};
    }
    // "UNLTD" and "UNLIMITED" are the same as "UNL" to every pilot.
    if (s == "UNL" || s == "UNLIM" || s == "UNLTD" || s == "UNLIMITED") {
        return {HeightReference::Unlimited, 0.0};
    }
    double value = 0.0;
    std::string_view rest;
    if (s.starts_with("FL")) {
        if (!readNumber(std::string_view(s).substr(2), value, rest) || !rest.empty()) return {};
        return {HeightReference::FlightLevel, value * kFeetPerFlightLevel};
    }
    if (!readNumber(s, value, rest)) return {};
    // The unit comes first, then the datum; "1000MSL" is feet above the sea, not metres.
    struct Unit {
        std::string_view text;
        double feet;
    };
    static constexpr std::array<Unit, 4> kUnits = {
        {{"FT", 1.0}, {"F", 1.0}, {"M", kFeetPerMetre}, {"", 1.0}}};
    for (const Unit& unit : kUnits) {
        if (!rest.starts_with(unit.text)) continue;
        const Datum datum = datumOf(rest.substr(unit.text.size()));
        const double feet = value * unit.feet;
        switch (datum) {
            case Datum::None:
            case Datum::Sea:
                return {HeightReference::MeanSeaLevel, feet};
            case Datum::Ground:
                return {HeightReference::Ground, feet};
            case Datum::Standard:
                return {HeightReference::FlightLevel, feet};
            case Datum::Unknown:
                break;
        }
    }
    return {};
}

std::optional<double> parseAltitudeLimitFeet(std::string_view text) {
    const Height height = parseHeight(text);
    if (!height.known() || height.reference == HeightReference::Unlimited) return std::nullopt;
    return height.feet;
}

}  // namespace airspace
