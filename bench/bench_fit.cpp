// The fit around a take-off, as `quillon select --fit --simplify auto --clip` makes it: how long
// it takes on a national-size file, how much memory, and how many of the matched airspaces each
// way of fitting keeps.
//
//   bench_fit                   generated national files (bench/NationalAirspace.h) with the
//                               faults of real ones, four take-offs: one of about 2 MB with some
//                               50 airspaces within 50 km of each, as national files have, and
//                               one twice as large and as dense
//   bench_fit FILE LAT,LON...   a file of your own around the given take-offs
//   bench_fit --write FILE      writes the 2 MB generated file, to look at with quillon select
//   bench_fit --openaip         a generated openAIP-style export of about 2 MB instead (polygons
//                               only, its control zones written as polygons of circles), around
//                               the same four take-offs
//
// Each take-off gets one line per way of fitting: the airspaces kept of those matched within
// 50 km, the bytes used, the tolerance, and how many were simplified, cut and shared.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "airspace/AirspaceFile.h"
#include "airspace/FitPlan.h"
#include "bench/NationalAirspace.h"

namespace {

constexpr double kRadiusKm = 50.0;

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The process's peak resident memory in MB (0 where the system does not say).
double peakMegabytes() {
#ifndef _WIN32
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0) return static_cast<double>(usage.ru_maxrss) / 1024.0;
#endif
    return 0.0;
}

struct Way {
    const char* name;
    double tolerance;
    bool automatic;
    bool clip;
};

constexpr Way kWays[] = {
    {"0 m", 0, false, false},        {"100 m", 100, false, false}, {"250 m", 250, false, false},
    {"auto", 0, true, false},        {"0 m cut", 0, false, true},  {"100 m cut", 100, false, true},
    {"250 m cut", 250, false, true}, {"auto cut", 0, true, true},
};

void measure(const std::string& name, const std::string& text,
             const std::vector<airspace::LatLon>& takeOffs) {
    const auto started = std::chrono::steady_clock::now();
    const std::vector<airspace::AirspaceRecord> records = airspace::parseAirspaces(text);
    const double loadTime = seconds(started);
    std::printf("%s: %zu bytes of text, %zu airspaces (read in %.3f s)\n", name.c_str(),
                text.size(), records.size(), loadTime);

    double slowest = 0.0;
    for (const airspace::LatLon& takeOff : takeOffs) {
        std::printf("  take-off %.3f,%.3f, %.0f km:\n", takeOff.lat, takeOff.lon, kRadiusKm);
        for (const Way& way : kWays) {
            airspace::FitOptions options;
            options.criteria.near = takeOff;
            options.criteria.radiusKm = kRadiusKm;
            options.fit = true;
            options.toleranceMetres = way.tolerance;
            options.autoTolerance = way.automatic;
            options.clip = way.clip;
            // The fastest of three runs: what the fit costs, not what else the machine did.
            airspace::FitPlan plan;
            double planTime = 0.0;
            for (int run = 0; run < 3; ++run) {
                const auto planned = std::chrono::steady_clock::now();
                plan = airspace::planFit(records, options);
                const double time = seconds(planned);
                planTime = run == 0 ? time : std::min(planTime, time);
            }
            if (way.automatic && way.clip) slowest = std::max(slowest, planTime);
            std::size_t simplified = 0, cut = 0, shared = 0, kept = 0;
            for (const auto& a : plan.airspaces) {
                if (!a.selected) continue;
                simplified += a.toleranceMetres > 0 ? 1 : 0;
                cut += a.clipped ? 1 : 0;
                shared += a.sharedWith ? 1 : 0;
                kept += a.keptOriginal.empty() ? 0 : 1;
            }
            std::printf(
                "    %-10s kept %3zu of %3zu, %5zu bytes, tolerance %3.0f m; %2zu simplified, "
                "%2zu cut, %2zu shared, %2zu original kept; %.3f s\n",
                way.name, plan.selected.size(), plan.matched, plan.bytes, plan.toleranceMetres,
                simplified, cut, shared, kept, planTime);
        }
    }
    std::printf(
        "  select --fit --simplify auto --clip: read %.3f s + fit %.3f s (slowest take-off) = "
        "%.3f s; peak memory %.1f MB\n",
        loadTime, slowest, loadTime + slowest, peakMegabytes());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write") {
        // The generated file itself, to look at with `quillon select`.
        std::ofstream(argv[2], std::ios::binary)
            << airspace::bench::NationalAirspace().fileWithDefects(800, 6, 1);
        return 0;
    }
    const std::vector<airspace::LatLon> takeOffs{
        {46.0, 8.0}, {45.2, 6.3}, {47.3, 9.9}, {44.6, 7.4}};
    if (argc == 2 && std::string(argv[1]) == "--openaip") {
        measure("generated openAIP export",
                airspace::bench::NationalAirspace().openAipFile(std::size_t{2} << 20), takeOffs);
        return 0;
    }
    if (argc >= 3) {
        std::vector<airspace::LatLon> takeOffs;
        for (int i = 2; i < argc; ++i) {
            const auto point = airspace::parseLatLon(argv[i]);
            if (!point) {
                std::fprintf(stderr, "bench_fit: %s is no point\n", argv[i]);
                return 2;
            }
            takeOffs.push_back(*point);
        }
        measure(argv[1], airspace::bench::readWholeFile(argv[1]), takeOffs);
        return 0;
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: bench_fit [FILE LAT,LON... | --write FILE | --openaip]\n");
        return 2;
    }
    measure("generated national file with defects",
            airspace::bench::NationalAirspace().fileWithDefects(800, 6, 1), takeOffs);
    measure("generated national file with defects, twice as dense",
            airspace::bench::NationalAirspace().fileWithDefects(1600, 12, 1), takeOffs);
    return 0;
}
