// What fits into the instrument from a national-size file, with and without simplification, and
// how long the selection takes.
//
//   bench_select               generates a national file (bench/NationalAirspace.h) and measures
//   bench_select FILE LAT,LON  measures a given file around a take-off point
//   bench_select --write FILE  only writes the generated file (for screenshots and quillon select)
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/Selection.h"
#include "bench/NationalAirspace.h"

namespace {

constexpr double kRadiusKm = 50.0;

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

int measure(const std::string& name, const std::string& text, airspace::LatLon point) {
    auto started = std::chrono::steady_clock::now();
    const std::vector<airspace::AirspaceRecord> records = airspace::parseAirspaces(text);
    const double loadTime = seconds(started);
    airspace::SelectionCriteria criteria;
    criteria.near = point;
    criteria.radiusKm = kRadiusKm;
    started = std::chrono::steady_clock::now();
    const auto matches = airspace::matchAirspaces(records, criteria);
    const double matchTime = seconds(started);

    std::size_t plainBytes = 0;
    for (const auto& record : records) plainBytes += record.encodedSize();
    std::printf(
        "%s: %zu airspaces, %zu bytes encoded, %zu within %.0f km of %.3f,%.3f "
        "(load %.3f s, match %.3f s)\n",
        name.c_str(), records.size(), plainBytes, matches.size(), kRadiusKm, point.lat, point.lon,
        loadTime, matchTime);

    // The largest outline of the file.
    std::size_t largest = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].encodedSize() > records[largest].encodedSize()) largest = i;
    }
    for (const double tolerance : {0.0, 100.0, 250.0}) {
        started = std::chrono::steady_clock::now();
        std::vector<std::size_t> sizes(records.size(), 0);
        std::size_t matchedBytes = 0;
        for (const auto& match : matches) {
            sizes[match.index] =
                airspace::simplifiedAirspace(records[match.index], tolerance).encodedSize();
            matchedBytes += sizes[match.index];
        }
        const airspace::FitResult fit = airspace::fitToBudget(matches, sizes);
        const double fitTime = seconds(started);
        const std::size_t largestBytes =
            airspace::simplifiedAirspace(records[largest], tolerance).encodedSize();
        std::printf(
            "  tolerance %3.0f m: %zu of %zu fit into %zu bytes (%zu bytes used, %zu "
            "matched bytes), %zu left out; largest polygon (%zu points) %zu bytes; "
            "simplify+fit %.3f s\n",
            tolerance, fit.selected.size(), matches.size(), airspace::kDeviceCapacity, fit.bytes,
            matchedBytes, fit.leftOut.size(),
            records[largest].elements.empty() ? 0 : records[largest].elements[0].points.size(),
            largestBytes, fitTime);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write") {
        std::ofstream out(argv[2], std::ios::binary);
        out << airspace::bench::NationalAirspace().file();
        return out.good() ? 0 : 1;
    }
    if (argc == 3) {
        const auto point = airspace::parseLatLon(argv[2]);
        if (!point) {
            std::fprintf(stderr, "bench_select: %s is no point\n", argv[2]);
            return 2;
        }
        return measure(argv[1], airspace::bench::readWholeFile(argv[1]), *point);
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: bench_select [FILE LAT,LON | --write FILE]\n");
        return 2;
    }
    return measure("generated national file", airspace::bench::NationalAirspace().file(),
                   {46.0, 8.0});
}
