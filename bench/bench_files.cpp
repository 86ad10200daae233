// Loading several national files together against loading one, on openAIP-style OpenAir 2.0
// exports of about 2 MB each (bench/NationalAirspace.h) that share their border zones.
//
//   bench_files                 writes three such files to a scratch folder and measures
//   bench_files --write DIR     only writes them, as DIR/north.openair, centre.openair and
//                               south.openair (to time quillon list and select on them)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "bench/NationalAirspace.h"

namespace {

constexpr std::size_t kFileBytes = 2u << 20;
constexpr int kSharedBorderZones = 60;
constexpr int kRounds = 15;  // the best of them: the machine may be shared

std::vector<std::string> writeFiles(const std::string& folder) {
    std::vector<std::string> paths;
    std::uint32_t seed = 11;
    for (const char* name : {"north", "centre", "south"}) {
        const std::string path = folder + "/" + name + ".openair";
        std::ofstream(path, std::ios::binary)
            << airspace::bench::NationalAirspace(seed++).openAipFile(kFileBytes,
                                                                     kSharedBorderZones);
        paths.push_back(path);
    }
    return paths;
}

double bestSeconds(const std::vector<std::string>& paths, airspace::FilesLoadResult& last) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        last = {};  // freeing the last round's records is no part of this one
        const auto started = std::chrono::steady_clock::now();
        last = airspace::loadAirspaceFiles(paths);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        best = std::min(best, took.count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write") {
        for (const std::string& path : writeFiles(argv[2])) std::printf("%s\n", path.c_str());
        return 0;
    }
    char folder[] = "/tmp/bench_files.XXXXXX";
    if (::mkdtemp(folder) == nullptr) return 1;
    const std::vector<std::string> paths = writeFiles(folder);

    airspace::FilesLoadResult one;
    airspace::FilesLoadResult three;
    const double oneTime = bestSeconds({paths[0]}, one);
    const double threeTime = bestSeconds(paths, three);
    // The same three read one after the other and not put together: the cost of reading alone.
    double apart = 0.0;
    for (const std::string& path : paths) {
        airspace::FilesLoadResult single;
        apart += bestSeconds({path}, single);
    }
    std::printf("one file:    %zu airspaces, %.3f s\n", one.records.size(), oneTime);
    std::printf("three files: %zu airspaces (%zu listed once), %.3f s = %.2f x one file\n",
                three.records.size(), three.duplicates, threeTime, threeTime / oneTime);
    std::printf("the three read apart, one after the other: %.3f s\n", apart);
    for (const std::string& path : paths) std::remove(path.c_str());
    ::rmdir(folder);
    return three.status == airspace::LoadStatus::Ok ? 0 : 1;
}
