// Places as pilots write them, and distances on the earth from a take-off to an airspace's outline.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "airspace/OutlineDecoder.h"
#include "airspace/Selection.h"

namespace airspace {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRadiansPerDegree = kPi / 180.0;
constexpr double kMetresPerKm = 1000.0;

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isHemisphere(char c) {
    c = upper(c);
    return c == 'N' || c == 'S' || c == 'E' || c == 'W';
}

// A signed decimal number taking all of `text`.
bool wholeNumber(std::string_view text, double& value) {
    if (text.empty()) return false;
    if (text[0] == '+') text.remove_prefix(1);
    if (text.empty() || text[0] == '+') return false;
    const auto [stop, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    return error == std::errc() && stop == text.data() + text.size() && std::isfinite(value);
}

// "46.7", "-41.3", "46:42:00", "46:42.5", "46°42'00" (the marks already turned into colons):
// degrees with optional minutes and seconds, only the last part with a fraction.
bool readAngle(std::string_view text, double& degrees) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ':') text.remove_suffix(1);
    std::array<double, 3> parts{};
    std::size_t count = 0;
    while (!text.empty()) {
        if (count == parts.size()) return false;
        const std::size_t colon = text.find(':');
        const std::string_view part = text.substr(0, colon);
        if (part.empty() || part[0] == '-' || part[0] == '+') return false;
        if (!wholeNumber(part, parts[count])) return false;
        // Only the last part may have a fraction, and minutes and seconds stay below 60.
        if (colon != std::string_view::npos && part.find('.') != std::string_view::npos) {
            return false;
        }
        if (count > 0 && parts[count] >= 60.0) return false;
        ++count;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    if (count == 0) return false;
    degrees = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
    if (negative) degrees = -degrees;
    return true;
}

struct Half {
    double degrees = 0.0;
    char letter = 0;  // N, S, E, W or 0
};

struct Vector3 {
    double x, y, z;
};

Vector3 unitVector(double latDegrees, double lonDegrees) {
    const double lat = latDegrees * kRadiansPerDegree;
    const double lon = lonDegrees * kRadiansPerDegree;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

Vector3 cross(Vector3 a, Vector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(Vector3 a, Vector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double norm(Vector3 a) {
    return std::sqrt(dot(a, a));
}

// The angle between two unit vectors, accurate for small and large angles alike.
double angleBetween(Vector3 a, Vector3 b) {
    return std::atan2(norm(cross(a, b)), dot(a, b));
}

// Angle from p to the great-circle arc from a to b (the shorter way).
double angleToArc(Vector3 p, Vector3 a, Vector3 b) {
    const Vector3 n = cross(a, b);
    const double length = norm(n);
    const double toEnds = std::min(angleBetween(p, a), angleBetween(p, b));
    if (length < 1e-15) return toEnds;
    const Vector3 unit{n.x / length, n.y / length, n.z / length};
    const double above = dot(p, unit);
    const Vector3 c{p.x - above * unit.x, p.y - above * unit.y, p.z - above * unit.z};
    if (norm(c) < 1e-15) return toEnds;
    // c is the foot of p on the whole great circle; it counts only between a and b.
    if (dot(cross(a, c), n) < 0.0 || dot(cross(c, b), n) < 0.0) return toEnds;
    return std::min(toEnds, angleBetween(p, c));
}

double degreesOf(std::int32_t units) {
    return static_cast<double>(units) / kUnitsPerDegree;
}

// Longitude difference brought into -180 .. 180, so that an outline across the 180th meridian
// stays in one piece around the point.
double longitudeOffset(double lon, double from) {
    double d = std::fmod(lon - from, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d < -180.0) d += 360.0;
    return d;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The typographic marks for minutes and seconds in UTF-8: prime, double prime and the
// apostrophe and closing quote that word processors put in their place.
bool isTypographicMark(std::string_view text, std::size_t i) {
    if (i + 2 >= text.size() || text[i] != '\xE2' || text[i + 1] != '\x80') return false;
    const char last = text[i + 2];
    return last == '\xB2' || last == '\xB3' || last == '\x99' || last == '\x9D';
}

std::optional<LatLon> parseLatLonWith(std::string_view text, bool decimalComma) {
    // Degree, minute and second marks read as colons; blanks, commas and semicolons separate.
    std::string s;
    s.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xB0') {  // UTF-8 degree sign
            s += ':';
            ++i;
        } else if (isTypographicMark(text, i)) {
            s += ':';
            i += 2;
        } else if (c == '\xB0' || c == '\'' || c == '"') {
            s += ':';
        } else if (c == ',' && decimalComma && i > 0 && isDigit(text[i - 1]) &&
                   i + 1 < text.size() && isDigit(text[i + 1])) {
            s += '.';
        } else if (c == ',' || c == ';' || c == '\t') {
            s += ' ';
        } else {
            s += c;
        }
    }
    std::vector<Half> halves;
    std::size_t pos = 0;
    while (pos < s.size()) {
        while (pos < s.size() && s[pos] == ' ') ++pos;
        std::size_t end = pos;
        while (end < s.size() && s[end] != ' ') ++end;
        std::string_view token(s.data() + pos, end - pos);
        pos = end;
        if (token.empty()) continue;
        char letter = 0;
        if (isHemisphere(token.front())) {
            letter = upper(token.front());
            token.remove_prefix(1);
        } else if (isHemisphere(token.back())) {
            letter = upper(token.back());
            token.remove_suffix(1);
        }
        while (!token.empty() && token.back() == ':') token.remove_suffix(1);
        if (token.empty()) {
            // A letter of its own belongs to the number before it ("46:42:00 N").
            if (letter == 0 || halves.empty() || halves.back().letter != 0) return std::nullopt;
            halves.back().letter = letter;
            continue;
        }
        Half half;
        if (!readAngle(token, half.degrees)) return std::nullopt;
        half.letter = letter;
        halves.push_back(half);
    }
    if (halves.size() != 2) return std::nullopt;

    auto isLatitude = [](char letter) { return letter == 'N' || letter == 'S'; };
    Half first = halves[0];
    Half second = halves[1];
    if (first.letter != 0 && second.letter != 0 &&
        isLatitude(first.letter) == isLatitude(second.letter)) {
        return std::nullopt;
    }
    if ((first.letter != 0 && !isLatitude(first.letter)) ||
        (second.letter != 0 && isLatitude(second.letter))) {
        std::swap(first, second);
    }
    for (Half* half : {&first, &second}) {
        if (half->letter == 0) continue;
        if (half->degrees < 0.0) return std::nullopt;  // "-46.7S" says it twice
        if (half->letter == 'S' || half->letter == 'W') half->degrees = -half->degrees;
    }
    if (std::fabs(first.degrees) > 90.0 || std::fabs(second.degrees) > 180.0) return std::nullopt;
    return LatLon{first.degrees, second.degrees};
}

}  // namespace

// A comma is first read as a separator ("46.7,7.6"); only where that gives no point is a comma
// between two digits read as a decimal comma ("45,2 N 5,7 E").
std::optional<LatLon> parseLatLon(std::string_view text) {
    if (auto point = parseLatLonWith(text, false)) return point;
    return parseLatLonWith(text, true);
}

std::optional<double> parseDistanceKm(std::string_view text, bool zeroAllowed) {
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t') s += upper(c);
    }
    struct Unit {
        std::string_view text;
        double km;
    };
    static constexpr std::array<Unit, 4> kUnits = {
        {{"KM", 1.0}, {"NM", kKmPerNauticalMile}, {"M", 1.0 / kMetresPerKm}, {"", 1.0}}};
    for (const Unit& unit : kUnits) {
        if (!std::string_view(s).ends_with(unit.text)) continue;
        double value = 0.0;
        if (!wholeNumber(std::string_view(s).substr(0, s.size() - unit.text.size()), value)) {
            continue;
        }
        const bool zero = value == 0.0 && !std::signbit(value);
        if (!(value > 0.0) && !(zero && zeroAllowed)) return std::nullopt;
        return value * unit.km;
    }
    return std::nullopt;
}

double greatCircleKm(LatLon a, LatLon b) {
    return angleBetween(unitVector(a.lat, a.lon), unitVector(b.lat, b.lon)) * kEarthRadiusKm;
}

double distanceToOutlineKm(const std::vector<GeoPoint>& outline, LatLon point, double beyondKm) {
    if (outline.empty()) return 0.0;
    // A cheap lower bound first: no point of the outline is nearer than its latitude band.
    double minLat = degreesOf(outline[0].lat);
    double maxLat = minLat;
    for (const GeoPoint& p : outline) {
        minLat = std::min(minLat, degreesOf(p.lat));
        maxLat = std::max(maxLat, degreesOf(p.lat));
    }
    const double bandKm = std::max({0.0, minLat - point.lat, point.lat - maxLat}) *
                          kRadiansPerDegree * kEarthRadiusKm;
    if (bandKm > beyondKm) return bandKm;

    // Inside (even-odd rule, longitudes taken around the point): 0.
    bool inside = false;
    const std::size_t n = outline.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const double yi = degreesOf(outline[i].lat) - point.lat;
        const double yj = degreesOf(outline[j].lat) - point.lat;
        if ((yi > 0.0) == (yj > 0.0)) continue;
        const double xi = longitudeOffset(degreesOf(outline[i].lon), point.lon);
        const double xj = longitudeOffset(degreesOf(outline[j].lon), point.lon);
        if (xi + (xj - xi) * (0.0 - yi) / (yj - yi) > 0.0) inside = !inside;
    }
    if (inside) return 0.0;

    const Vector3 p = unitVector(point.lat, point.lon);
    Vector3 previous = unitVector(degreesOf(outline[n - 1].lat), degreesOf(outline[n - 1].lon));
    double nearest = kPi;
    for (const GeoPoint& vertex : outline) {
        const Vector3 v = unitVector(degreesOf(vertex.lat), degreesOf(vertex.lon));
        nearest = std::min(nearest, angleToArc(p, previous, v));
        previous = v;
    }
    return nearest * kEarthRadiusKm;
}

std::optional<double> distanceToAirspaceKm(const AirspaceRecord& airspace, LatLon point) {
    const std::vector<GeoPoint> outline = decodeOutlinePoints(airspace);
    if (outline.empty()) return std::nullopt;
    return distanceToOutlineKm(outline, point, INFINITY);
}

}  // namespace airspace
