// Generates OpenAir text in the many shapes real files take: polygons large and small in all four
// hemispheres, circles, arcs by angle in both directions and by points, seconds and decimal
// minutes, CR LF or LF, comments anywhere, lower-case keywords, label and style lines the parser
// skips, and names in ASCII, Latin-1 or UTF-8. Deterministic for a given seed.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

namespace airspace::testing {

struct GeneratorOptions {
    bool crlf = true;
    enum class Names { Ascii, Latin1, Utf8 } names = Names::Ascii;
    double lowerCaseKeywords = 0.0;  // probability per line
    double comments = 0.05;          // probability of a comment per line
    double decimalMinutes = 0.3;     // probability per coordinate
    int hemisphere = -1;             // 0 NE, 1 NW, 2 SE, 3 SW; -1 any
    int largePolygonEvery = 200;     // one polygon of thousands of points every this many
};

class OpenAirGenerator {
public:
    explicit OpenAirGenerator(std::uint32_t seed, GeneratorOptions options = {})
        : random_(seed), options_(options) {}

    // Appends airspaces until `text` holds at least `bytes` bytes. Returns the airspaces added.
    std::size_t appendUntil(std::string& text, std::size_t bytes) {
        std::size_t count = 0;
        while (text.size() < bytes) {
            appendAirspace(text);
            ++count;
        }
        return count;
    }

    void appendAirspaces(std::string& text, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) appendAirspace(text);
    }

    void appendAirspace(std::string& text) {
        ++serial_;
        quadrant_ = hemisphere();
        if (chance(0.1)) line(text, "* ---- airspace " + std::to_string(serial_) + " ----");
        static const char* const kClasses[] = {"A", "B", "C",   "D",  "E", "R",
                                               "Q", "P", "CTR", "GP", "W"};
        keywordLine(text, "AC", kClasses[uniform(0, 10)]);
        keywordLine(text, "AN", name());
        keywordLine(text, "AL",
                    chance(0.4) ? "GND" : std::to_string(uniform(1, 9) * 500) + "ft AMSL");
        keywordLine(text, "AH",
                    chance(0.5) ? "FL" + std::to_string(uniform(50, 195))
                                : std::to_string(uniform(2, 19) * 500) + "ft AMSL");
        if (chance(0.2)) keywordLine(text, "AT", coordinate(centreLat(), centreLon()));
        if (chance(0.1)) line(text, "SP 0,1,255,0,0");

        const double lat = centreLat();
        const double lon = centreLon();
        const int shape = uniform(0, 99);
        if (shape < 55) {
            const bool large =
                options_.largePolygonEvery > 0 && uniform(1, options_.largePolygonEvery) == 1;
            polygon(text, lat, lon, large ? uniform(2000, 6000) : uniform(4, 60));
        } else if (shape < 75) {
            centre(text, lat, lon);
            keywordLine(text, "DC", number(uniform(1, 400) / 10.0));
        } else if (shape < 90) {
            angleArcs(text, lat, lon);
        } else {
            pointArc(text, lat, lon);
        }
        if (chance(0.3)) line(text, "");
    }

private:
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(random_) < p; }
    int uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    double real(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }

    int hemisphere() { return options_.hemisphere >= 0 ? options_.hemisphere : uniform(0, 3); }

    double centreLat() {
        const double lat = real(2.0, 70.0);
        return (quadrant_ & 2) ? -lat : lat;
    }
    double centreLon() {
        const double lon = real(5.0, 170.0);
        return (quadrant_ & 1) ? -lon : lon;
    }

    void line(std::string& text, const std::string& content) {
        text += content;
        if (chance(options_.comments)) text += chance(0.5) ? " * remark" : "*";
        text += options_.crlf ? "\r\n" : "\n";
    }

    void keywordLine(std::string& text, const char* keyword, const std::string& value) {
        std::string k = keyword;
        if (chance(options_.lowerCaseKeywords)) {
            for (char& c : k) c = static_cast<char>(c - 'A' + 'a');
        }
        line(text, k + (chance(0.05) ? "  " : " ") + value);
    }

    std::string name() {
        std::string n = "Area " + std::to_string(serial_);
        switch (options_.names) {
            case GeneratorOptions::Names::Ascii:
                n += chance(0.3) ? " with a rather long descriptive name" : "";
                break;
            case GeneratorOptions::Names::Latin1:
                n += " M\xFCnster \xC4rmel \xDF\xE9";
                break;
            case GeneratorOptions::Names::Utf8:
                n += " M\xC3\xBCnster \xC3\x84rmel \xC3\x9F\xC3\xA9 \xE2\x82\xAC";
                break;
        }
        return n;
    }

    static std::string number(double value) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.1f", value);
        return buffer;
    }

    std::string half(double degrees, char positive, char negative, int degreeDigits) {
        const char letter = degrees < 0 ? negative : positive;
        double a = std::fabs(degrees);
        int d = static_cast<int>(a);
        double minutes = (a - d) * 60.0;
        char buffer[48];
        if (chance(options_.decimalMinutes)) {
            int m = static_cast<int>(minutes);
            int thousandths = static_cast<int>((minutes - m) * 1000.0);
            std::snprintf(buffer, sizeof buffer, "%0*d:%02d.%03d%s%c", degreeDigits, d, m,
                          thousandths, chance(0.5) ? " " : "", letter);
        } else {
            int total = static_cast<int>(minutes * 60.0);
            std::snprintf(buffer, sizeof buffer, "%0*d:%02d:%02d%s%c", degreeDigits, d, total / 60,
                          total % 60, chance(0.7) ? " " : "", letter);
        }
        return buffer;
    }

    // An arc by points separates its two points with a comma, so its points never use one.
    std::string coordinate(double lat, double lon, bool commaAllowed = true) {
        return half(lat, 'N', 'S', 2) + (commaAllowed && chance(0.1) ? "," : " ") +
               half(lon, 'E', 'W', 3);
    }

    void centre(std::string& text, double lat, double lon) {
        line(text, (chance(0.2) ? "v x=" : "V X=") + coordinate(lat, lon));
    }

    void polygon(std::string& text, double lat, double lon, int points) {
        const double radius = real(0.02, points > 100 ? 1.5 : 0.4);
        const double cosLat = std::cos(lat * 3.141592653589793 / 180.0);
        std::string first;
        for (int i = 0; i < points; ++i) {
            const double a = 2 * 3.141592653589793 * i / points;
            const double r = radius * real(0.7, 1.0);
            const std::string c = coordinate(lat + r * std::cos(a), lon + r * std::sin(a) / cosLat);
            if (i == 0) first = c;
            keywordLine(text, "DP", c);
        }
        keywordLine(text, "DP", first);  // closing point, as most files repeat it
    }

    void angleArcs(std::string& text, double lat, double lon) {
        centre(text, lat, lon);
        const double radius = uniform(5, 300) / 10.0;
        const bool clockwise = chance(0.6);
        line(text, clockwise ? "V D=+" : "V D=-");
        const int start = uniform(0, 359);
        const int end = uniform(0, 359);
        keywordLine(text, "DA",
                    number(radius) + "," + std::to_string(start) + "," + std::to_string(end));
        if (chance(0.5)) keywordLine(text, "DP", coordinate(lat, lon));
    }

    void pointArc(std::string& text, double lat, double lon) {
        centre(text, lat, lon);
        const double r = real(0.05, 0.4);
        const double cosLat = std::cos(lat * 3.141592653589793 / 180.0);
        const double a1 = real(0.0, 6.28);
        const double a2 = real(0.0, 6.28);
        line(text, chance(0.5) ? "V D=-" : "V D=+");
        keywordLine(text, "DB",
                    coordinate(lat + r * std::cos(a1), lon + r * std::sin(a1) / cosLat, false) +
                        ", " +
                        coordinate(lat + r * std::cos(a2), lon + r * std::sin(a2) / cosLat, false));
        keywordLine(text, "DP", coordinate(lat, lon));
    }

    std::mt19937 random_;
    GeneratorOptions options_;
    std::size_t serial_ = 0;
    int quadrant_ = 0;  // of the airspace being written: bit 0 west, bit 1 south
};

}  // namespace airspace::testing
