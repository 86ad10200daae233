// A national-size OpenAir file for measuring and for screenshots: about 1,600 airspaces over a
// country of some 450 by 250 km (around 44-48 N, 5-11 E), in the mix real national files have.
// Control zones and small restricted areas as circles and polygons, terminal areas as large
// polygons with arcs, glider sectors, TMZ/RMZ with "AY" types, and a few nature parks whose
// borders follow rivers and ridges with 5,000 to 10,000 points. Heights in the forms the field
// uses, a few unreadable. Fictional: every name says so. Deterministic for a given seed.
//
// fileWithDefects() adds, after the same airspaces, the faults real national files have: outlines
// that touch themselves (a figure-eight pinch, a border that meets itself around a hole), repeated
// points, spikes, zig-zags, an outline of 8,000 points 20 m apart that crosses itself, stacked
// airspaces sharing one outline at several heights, and far-reaching ones (an FIR over the whole
// country, parks reaching more than 100 km). Each defect can also be had alone, for tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace airspace::bench {

// A whole file as it is on disk, for the benches that measure a pilot's own file.
inline std::string readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class NationalAirspace {
public:
    explicit NationalAirspace(std::uint32_t seed = 1) : random_(seed) {}

    // The whole file: `count` airspaces, of which `parks` are the many-point ones.
    std::string file(int count = 1600, int parks = 12) {
        std::string text =
            "* Fictional national airspace, generated for measurements.\r\n"
            "* NOT FOR NAVIGATION.\r\n\r\n";
        for (int i = 0; i < count; ++i) {
            const int kind = i < parks ? 0 : uniform(1, 100);
            airspace(text, i, kind);
        }
        return text;
    }

    // The same file followed by `rounds` rounds of defective airspaces (each round one of every
    // kind, stacked ones counted once), placed by their own random numbers so that the first
    // part is exactly file(count, parks).
    std::string fileWithDefects(int count = 1600, int parks = 12, int rounds = 1) {
        std::string text = file(count, parks);
        std::mt19937 places(random_() ^ 0x5eedu);
        int serial = count;
        for (int round = 0; round < rounds; ++round) {
            for (int kind = 0; kind < kDefectKinds; ++kind) {
                const double lat = std::uniform_real_distribution<double>(44.5, 47.5)(places);
                const double lon = std::uniform_real_distribution<double>(5.5, 10.5)(places);
                text += defectiveAirspace(static_cast<Defect>(kind), serial++, lat, lon,
                                          static_cast<std::uint32_t>(places()));
            }
        }
        return text;
    }

    enum class Defect {
        FigureEightPinch,  // two lobes meeting at one point, passed twice
        MeetsItself,       // a border round a hole, joined to it by a cut both ways along
        RepeatedPoints,    // points doubled, and a stretch of 60 points walked back and again
        Spikes,            // out and back along the same line, kilometres long
        ZigZag,            // every point 40 m off the line, to either side in turn
        Crossing8000,      // 8,400 points about 20 m apart, a figure of eight crossing itself
        Stacked,           // three airspaces, one outline, three heights
        FarReaching,       // an FIR over the whole country
        LongPark,          // a park reaching 120 km, 4,000 points
    };
    static constexpr int kDefectKinds = 9;

    // One defective airspace (or, for Stacked, three) around lat, lon, as OpenAir text.
    static std::string defectiveAirspace(Defect kind, int serial, double lat, double lon,
                                         std::uint32_t seed) {
        std::mt19937 random(seed);
        std::normal_distribution<double> noise(0.0, 0.004);  // km
        std::vector<std::pair<double, double>> km;           // east, north
        auto ring = [&](double cx, double cy, double r, double from, double to, int points) {
            for (int i = 0; i < points; ++i) {
                const double a = from + (to - from) * i / points;
                const double wobble = 1.0 + 0.06 * std::sin(7 * a) + 0.02 * std::sin(19 * a);
                km.emplace_back(cx + r * wobble * std::cos(a) + noise(random),
                                cy + r * wobble * std::sin(a) + noise(random));
            }
        };
        const char* cls = "R";
        const char* type = nullptr;
        std::string name;
        switch (kind) {
            case Defect::FigureEightPinch:
                // Both lobes start and end at the origin, exactly.
                ring(-4.0, 0.0, 4.0, 0.0, 2 * kPi, 900);
                km.emplace_back(0.0, 0.0);
                ring(4.0, 0.0, 4.0, kPi, 3 * kPi, 900);
                km.front() = {0.0, 0.0};
                name = "PINCH";
                break;
            case Defect::MeetsItself: {
                ring(0.0, 0.0, 9.0, 0.0, 2 * kPi, 1500);
                const std::pair<double, double> outer = km.front();
                const std::size_t mark = km.size();
                ring(0.0, 0.0, 3.0, 2 * kPi, 0.0, 500);  // the hole, the other way round
                const std::pair<double, double> inner = km[mark];
                km.push_back(inner);  // back along the cut to where the border began
                km.push_back(outer);
                cls = "P";
                type = "PARK";
                name = "PARK WITH A LAKE";
                break;
            }
            case Defect::RepeatedPoints: {
                ring(0.0, 0.0, 7.0, 0.0, 2 * kPi, 2400);
                std::vector<std::pair<double, double>> doubled;
                for (std::size_t i = 0; i < km.size(); ++i) {
                    doubled.push_back(km[i]);
                    if (i % 10 == 0) doubled.push_back(km[i]);
                    if (i == 1200) {
                        for (std::size_t j = 0; j < 60; ++j) doubled.push_back(km[i - j]);
                        for (std::size_t j = 60; j-- > 0;) doubled.push_back(km[i - j]);
                    }
                }
                km = doubled;
                name = "REPEATS";
                break;
            }
            case Defect::Spikes: {
                ring(0.0, 0.0, 6.0, 0.0, 2 * kPi, 2000);
                for (std::size_t i = 250; i < km.size(); i += 500) {
                    const auto base = km[i];
                    const double length = 1.0 + 0.5 * static_cast<double>(i / 500);
                    const double a = std::atan2(base.second, base.first);
                    km.insert(
                        km.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                        {{base.first + length * std::cos(a), base.second + length * std::sin(a)},
                         base});
                }
                name = "SPIKES";
                break;
            }
            case Defect::ZigZag:
                ring(0.0, 0.0, 5.0, 0.0, 2 * kPi, 1600);
                for (std::size_t i = 0; i < km.size(); ++i) {
                    const double a = std::atan2(km[i].second, km[i].first);
                    const double side = i % 2 ? 0.04 : -0.04;
                    km[i].first += side * std::cos(a);
                    km[i].second += side * std::sin(a);
                }
                name = "ZIGZAG";
                break;
            case Defect::Crossing8000: {
                // A figure of eight (x = A sin t, y = A sin t cos t), 168 km round.
                const int points = 8400;
                const double size = 40.0;
                for (int i = 0; i < points; ++i) {
                    const double t = 2 * kPi * i / points;
                    km.emplace_back(
                        size * std::sin(t) + noise(random),
                        size * std::sin(t) * std::cos(t) + 3.0 * std::sin(9 * t) + noise(random));
                }
                cls = "P";
                type = "PARK";
                name = "RIVER PARK";
                break;
            }
            case Defect::Stacked:
                ring(0.0, 0.0, 6.0, 0.0, 2 * kPi, 40);
                cls = "C";
                type = "TMA";
                name = "STACKED TMA";
                break;
            case Defect::FarReaching:
                ring(0.0, 0.0, 200.0, 0.0, 2 * kPi, 300);
                cls = "FIR";
                type = "FIR";
                name = "FIR";
                break;
            case Defect::LongPark:
                for (int i = 0; i < 4000; ++i) {
                    const double t = 2 * kPi * i / 4000;
                    km.emplace_back(60.0 * std::cos(t) + noise(random),
                                    8.0 * std::sin(t) + 2.0 * std::sin(11 * t) + noise(random));
                }
                cls = "P";
                type = "PARK";
                name = "LONG PARK";
                break;
        }
        const double cosLat = std::cos(lat * kPi / 180);
        std::string body;
        for (const auto& [east, north] : km) {
            body += "DP " + point(lat + north / 111.2, lon + east / 111.2 / cosLat) + "\r\n";
        }
        std::string text;
        const int layers = kind == Defect::Stacked ? 3 : 1;
        for (int layer = 0; layer < layers; ++layer) {
            text += std::string("AC ") + cls + "\r\n";
            if (type != nullptr) text += std::string("AY ") + type + "\r\n";
            text += "AN FICTIONAL " + name + " " + std::to_string(serial) +
                    (layers > 1 ? " " + std::to_string(layer + 1) : "") + "\r\n";
            text += layers > 1 ? "AL FL" + std::to_string(65 + 30 * layer) + "\r\n" : "AL GND\r\n";
            text +=
                layers > 1 ? "AH FL" + std::to_string(95 + 30 * layer) + "\r\n" : "AH FL195\r\n";
            text += body + "\r\n";
        }
        return text;
    }

    // A national file as openAIP exports it in OpenAir 2.0, of at least `bytes` bytes: the
    // header, "AC" holding the class only (with "UNCLASSIFIED" in the older exports' way), "AY" in
    // both the short forms and openAIP's long spellings, "AI" identifiers, "AF"/"AG" on some,
    // "AX" on a few, "AA" on the seasonal zones (closed, open at either end, "T24:00Z", with and
    // without seconds, a few bare "AA NONE"), closed polygons only with seconds sometimes written
    // as 60, and no line end after the last line. The first `shared` airspaces are the border
    // zones: the same in every file made with the same `shared`, as neighbouring countries'
    // exports both hold them.
    std::string openAipFile(std::size_t bytes, int shared = 0) {
        std::string text =
            "* VERSION: 2.0\n"
            "* WRITTEN_BY: openAIP\n"
            "* Fictional national airspace, generated for measurements. NOT FOR NAVIGATION.\n\n";
        std::mt19937 border(4242);
        for (int i = 0; i < shared; ++i) openAipAirspace(text, border, 900000 + i);
        for (int serial = 0; text.size() < bytes; ++serial) {
            openAipAirspace(text, random_, serial);
        }
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }

private:
    static constexpr double kPi = 3.141592653589793;

    // openAIP writes whole seconds, and a value that rounds up to 60 as 60.
    static std::string dmsHalf(double degrees, char positive, char negative, int width) {
        const char letter = degrees < 0 ? negative : positive;
        const double a = std::fabs(degrees);
        const int d = static_cast<int>(a);
        const int m = static_cast<int>((a - d) * 60.0);
        const int sec = static_cast<int>(std::lround(((a - d) * 60.0 - m) * 60.0));
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%0*d:%02d:%02d %c", width, d, m, sec, letter);
        return buffer;
    }

    void openAipAirspace(std::string& text, std::mt19937& rng, int serial) {
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(rng);
        };
        const auto between = [&](double low, double high) {
            return std::uniform_real_distribution<double>(low, high)(rng);
        };
        static const char* const kTypes[] = {
            "CTR", "TMA",        "R",    "RESTRICTED",     "Q",    "DANGER",
            "P",   "PROHIBITED", "GSEC", "GLIDING_SECTOR", "ASRA", "AERIAL_SPORTING_RECREATIONAL",
            "TMZ", "RMZ",        "FIS",  "FIS_SECTOR",     "OFR",  "OVERFLIGHT_RESTRICTION",
            "TRA", "NONE"};
        static const char* const kClasses[] = {"D", "C", "E", "G", "UNC", "UNCLASSIFIED"};
        const std::string type = kTypes[pick(0, 19)];
        const bool controlled = type == "CTR" || type == "TMA";
        const std::string cls = controlled ? kClasses[pick(0, 2)] : kClasses[pick(3, 5)];
        auto out = [&](const std::string& content) { text += content + "\n"; };
        out("AC " + cls);
        out("AY " + type);
        out("AN FICTIONAL " + type + " " + std::to_string(serial));
        char id[32];
        std::snprintf(id, sizeof id, "%08x%08x%08x", static_cast<unsigned>(rng()),
                      static_cast<unsigned>(rng()), static_cast<unsigned>(serial));
        out(std::string("AI ") + id);
        if (controlled || pick(0, 4) == 0) {
            char frequency[16];
            std::snprintf(frequency, sizeof frequency, "%d.%03d", pick(118, 136), pick(0, 39) * 25);
            out(std::string("AF ") + frequency);
            out(controlled ? "AG FICTIONAL TOWER" : "AG FICTIONAL INFORMATION");
        }
        if (pick(0, 30) == 0)
            out("AX " + std::to_string(pick(4, 7)) + std::to_string(pick(0, 7)) +
                std::to_string(pick(0, 7)) + std::to_string(pick(0, 7)));
        const int activation = pick(0, 99);
        if (activation < 2) {
            out("AA NONE");
        } else if (activation < 8) {
            // A seasonal wildlife zone, as openAIP writes it.
            out("AA 2026-0" + std::to_string(pick(1, 4)) + "-01T00:01:00Z/2026-0" +
                std::to_string(pick(6, 9)) + "-30T23:59:00Z");
        } else if (activation < 10) {
            out("AA 2026-07-" + std::to_string(pick(10, 19)) + "T08:00Z/NONE");
        } else if (activation < 12) {
            out("AA NONE/2026-07-" + std::to_string(pick(10, 19)) + "T24:00Z");
        } else if (activation < 14) {
            const std::string day = std::to_string(pick(10, 19));
            out("AA 2026-07-" + day + "T09:00Z/2026-07-" + day + "T12:00Z");
            out("AA 2026-07-" + day + "T14:00Z/2026-07-" + day + "T17:30Z");
        }
        out(std::string("AL ") +
            (pick(0, 2) == 0 ? "GND" : std::to_string(pick(1, 9) * 500) + "ft MSL"));
        out(std::string("AH ") + (pick(0, 1) == 0 ? "FL" + std::to_string(pick(65, 195))
                                                  : std::to_string(pick(2, 19) * 500) + "ft MSL"));
        // Polygons only, closed: the first point again at the end.
        const double lat = between(44.0, 48.0);
        const double lon = between(5.0, 11.0);
        const bool large = pick(0, 150) == 0;
        int points = large ? pick(1500, 4000) : pick(4, 60);
        double radius =
            (type.rfind("FIS", 0) == 0 ? between(40.0, 90.0) : between(1.0, 15.0)) / 111.2;
        // Control zones and a third of the restricted, danger and prohibited areas are circles,
        // written as openAIP writes them: a point every 5 to 10 degrees on a circle of 2 to 10
        // km. (Made from the numbers drawn above, so that every other airspace stays as it was.)
        const bool restricted = type == "R" || type == "RESTRICTED" || type == "Q" ||
                                type == "DANGER" || type == "P" || type == "PROHIBITED";
        const bool circle = type == "CTR" || (restricted && serial % 3 == 0);
        double startAngle = 0.0;
        if (circle) {
            points = 360 / (5 + points % 6);
            radius = (2.0 + (radius * 111.2 - 1.0) * 8.0 / 14.0) / 111.2;
            startAngle = 2 * kPi * (serial % 36) / 36.0;
        }
        const double cosLat = std::cos(lat * kPi / 180);
        std::string first;
        for (int i = 0; i < points; ++i) {
            const double a = startAngle + 2 * kPi * i / points;
            const double r = circle ? radius : radius * (1.0 + 0.1 * std::sin(3 * a + serial));
            const std::string dp = "DP " + dmsHalf(lat + r * std::cos(a), 'N', 'S', 2) + " " +
                                   dmsHalf(lon + r * std::sin(a) / cosLat, 'E', 'W', 3);
            if (i == 0) first = dp;
            out(dp);
        }
        out(first);
        out("");
    }

    int uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    double real(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }

    void line(std::string& text, const std::string& content) { text += content + "\r\n"; }

    static std::string half(double degrees, char positive, char negative, int width) {
        const char letter = degrees < 0 ? negative : positive;
        const double a = std::fabs(degrees);
        const int d = static_cast<int>(a);
        const double minutes = (a - d) * 60.0;
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%0*d:%06.3f %c", width, d, minutes, letter);
        return buffer;
    }
    static std::string point(double lat, double lon) {
        return half(lat, 'N', 'S', 2) + " " + half(lon, 'E', 'W', 3);
    }

    std::string floorText() {
        static const char* const kFloors[] = {"GND",         "GND",       "SFC",    "1000ft AGL",
                                              "2500ft AMSL", "FL65",      "FL 95",  "3500 ft MSL",
                                              "1500m",       "600 m AGL", "5500ft", "see NOTAM"};
        return kFloors[uniform(0, 11)];
    }
    std::string ceilingText() {
        static const char* const kCeilings[] = {"FL95", "FL100",       "FL125",       "FL195",
                                                "UNL",  "4500ft AMSL", "2000 ft AGL", "FL 65"};
        return kCeilings[uniform(0, 7)];
    }

    // A smooth wavy outline around a centre: a few lobes and some finer wiggles.
    void wavy(std::string& text, double lat, double lon, double radiusKm, int points) {
        double phase[6];
        double amplitude[6];
        for (int k = 0; k < 6; ++k) {
            phase[k] = real(0, 2 * kPi);
            amplitude[k] = real(0.0, 0.12) / (1 + k);
        }
        const double cosLat = std::cos(lat * kPi / 180);
        for (int i = 0; i <= points; ++i) {
            const double a = 2 * kPi * (i % points) / points;
            double r = 1.0;
            for (int k = 0; k < 6; ++k) r += amplitude[k] * std::sin((k + 2) * a + phase[k]);
            r *= radiusKm / 111.2;
            line(text, "DP " + point(lat + r * std::cos(a), lon + r * std::sin(a) / cosLat));
        }
    }

    void airspace(std::string& text, int serial, int kind) {
        const double lat = real(44.0, 48.0);
        const double lon = real(5.0, 11.0);
        const char* type = nullptr;
        const char* cls = "R";
        if (kind == 0) {
            cls = "P";
            type = "PARK";
        } else if (kind <= 15) {
            cls = "CTR";
        } else if (kind <= 30) {
            cls = "C";
            type = "TMA";
        } else if (kind <= 50) {
            cls = "R";
        } else if (kind <= 60) {
            cls = "Q";
        } else if (kind <= 70) {
            cls = "GP";
        } else if (kind <= 80) {
            cls = "E";
            type = kind % 2 ? "TMZ" : "RMZ";
        } else if (kind <= 90) {
            cls = "D";
        } else {
            cls = "W";
        }
        line(text, std::string("AC ") + cls);
        if (type != nullptr) line(text, std::string("AY ") + type);
        line(text, "AN FICTIONAL " + std::string(type ? type : cls) + " " + std::to_string(serial) +
                       (serial % 3 == 0 ? " Valley of the Long Name" : ""));
        line(text, "AL " + (kind == 0 ? std::string("GND") : floorText()));
        line(text, "AH " + ceilingText());
        if (kind == 0) {
            wavy(text, lat, lon, real(6.0, 14.0), uniform(5000, 10000));
        } else if (kind <= 15 && kind % 2) {
            line(text, "V X=" + point(lat, lon));
            line(text, "DC " + std::to_string(uniform(3, 8)));
        } else if (kind <= 30) {
            // A terminal area: a large polygon with an arc along one side.
            line(text, "V X=" + point(lat, lon));
            line(text, "V D=+");
            line(text, "DP " + point(lat + 0.3, lon - 0.4));
            line(text, "DA 20,300,60");
            wavy(text, lat - 0.05, lon, real(15.0, 30.0), uniform(20, 80));
        } else if (kind <= 50 && kind % 3 == 0) {
            line(text, "V X=" + point(lat, lon));
            line(text, "DC " + std::to_string(uniform(1, 3)));
        } else {
            wavy(text, lat, lon, real(1.0, 12.0), uniform(4, 60));
        }
        line(text, "");
    }

    std::mt19937 random_;
};

}  // namespace airspace::bench
