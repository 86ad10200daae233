// Outward simplification and cutting over a whole national-size file with the defects of real
// files: the work of `quillon encode --simplify 250m`, the bytes of the largest outline that
// touches itself at each tolerance, and cutting around four take-offs.
//
//   bench_simplify             generates the file (bench/NationalAirspace.h, fileWithDefects)
//   bench_simplify FILE        measures a given OpenAir file
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#if defined(__unix__)
#include <sys/resource.h>
#endif

#include "airspace/AirspaceFile.h"
#include "airspace/Clip.h"
#include "airspace/OutlineChecks.h"
#include "airspace/OutlineDecoder.h"
#include "airspace/Selection.h"
#include "airspace/Simplify.h"
#include "bench/NationalAirspace.h"

namespace {

// Processor time: on a shared machine the wall clock says more about the neighbours.
struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t processor = std::clock();
};

std::string elapsed(const Stopwatch& since) {
    char text[64];
    std::snprintf(
        text, sizeof text, "%.3f s (%.3f s processor)",
        std::chrono::duration<double>(std::chrono::steady_clock::now() - since.wall).count(),
        static_cast<double>(std::clock() - since.processor) / CLOCKS_PER_SEC);
    return text;
}

long peakMegabytes() {
#if defined(__unix__)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
#else
    return -1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    std::string text;
    if (argc > 1) {
        std::ifstream in(argv[1], std::ios::binary);
        std::ostringstream contents;
        contents << in.rdbuf();
        text = contents.str();
    } else {
        text = airspace::bench::NationalAirspace().fileWithDefects();
    }
    auto started = Stopwatch();
    const std::vector<airspace::AirspaceRecord> records = airspace::parseAirspaces(text);
    std::printf("%zu bytes of OpenAir, %zu airspaces, read in %s\n", text.size(), records.size(),
                elapsed(started).c_str());

    // Everything, as `encode --simplify` does it: each airspace simplified and encoded.
    for (const double tolerance : {100.0, 250.0, 500.0}) {
        started = Stopwatch();
        std::size_t plain = 0;
        std::size_t simple = 0;
        std::size_t kept = 0;
        for (const airspace::AirspaceRecord& record : records) {
            if (record.encodedSize() == 0) continue;
            const airspace::SimplifiedOutline outline =
                airspace::simplifyOutward(record, tolerance);
            plain += record.encodedSize();
            simple += outline.record.encodedBytes(false).size();
            kept += outline.keptOriginal ? 1 : 0;
        }
        std::printf("simplify %3.0f m: %zu -> %zu bytes (%zu kept their original) in %s\n",
                    tolerance, plain, simple, kept, elapsed(started).c_str());
    }

    // The largest outline that touches or crosses itself.
    const airspace::AirspaceRecord* largest = nullptr;
    for (const airspace::AirspaceRecord& record : records) {
        if (record.encodedSize() == 0) continue;
        if (largest != nullptr && record.encodedSize() <= largest->encodedSize()) continue;
        if (airspace::isSimplePolygon(airspace::decodeOutlinePoints(record))) continue;
        largest = &record;
    }
    if (largest != nullptr) {
        std::printf("largest self-touching outline, %s:", largest->name.c_str());
        for (const double tolerance : {0.0, 100.0, 250.0, 500.0}) {
            std::printf(" %.0f m %zu bytes;", tolerance,
                        airspace::simplifyOutward(*largest, tolerance).record.encodedSize());
        }
        std::printf("\n");
    }

    // Cutting to 50 km (and the margin) around four take-offs, then simplifying the pieces.
    const airspace::LatLon takeOffs[] = {{46.5, 7.5}, {45.2, 6.2}, {47.3, 9.8}, {44.6, 8.4}};
    for (const airspace::LatLon& takeOff : takeOffs) {
        Stopwatch started;
        airspace::SelectionCriteria criteria;
        criteria.near = takeOff;
        criteria.radiusKm = 50.0;
        const auto matches = airspace::matchAirspaces(records, criteria);
        const std::string matchTime = elapsed(started);
        started = Stopwatch();
        const airspace::ClipArea area{takeOff, 50.0, airspace::defaultClipMarginKm(50.0)};
        std::size_t plain = 0;
        std::size_t cut = 0;
        std::size_t clipped = 0;
        std::vector<airspace::AirspaceRecord> pieces;
        for (const airspace::AirspaceMatch& match : matches) {
            const airspace::AirspaceRecord& record = records[match.index];
            plain += record.encodedSize();
            airspace::ClipResult result = airspace::clipToArea(record, area);
            clipped += result.clipped ? 1 : 0;
            for (airspace::ClippedOutline& piece : result.pieces) {
                cut += piece.record.encodedSize();
                pieces.push_back(std::move(piece.record));
            }
        }
        const std::string clipTime = elapsed(started);
        std::printf("around %.1f,%.1f: %zu matched in %s, %zu bytes; %zu cut in %s, %zu bytes\n",
                    takeOff.lat, takeOff.lon, matches.size(), matchTime.c_str(), plain, clipped,
                    clipTime.c_str(), cut);
        for (const double tolerance : {50.0, 100.0, 250.0, 500.0}) {
            started = Stopwatch();
            std::size_t cutSimple = 0;
            for (const airspace::AirspaceRecord& piece : pieces) {
                cutSimple += airspace::simplifyOutward(piece, tolerance).record.encodedSize();
            }
            std::printf("    pieces simplified at %3.0f m: %zu bytes in %s\n", tolerance, cutSimple,
                        elapsed(started).c_str());
        }
    }
    std::printf("peak memory %ld MB\n", peakMegabytes());
    return 0;
}
