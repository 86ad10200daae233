// Parse-and-encode throughput of the airspace loader, and its peak memory.
//
//   bench_parse            generates a 20 MB OpenAir file with a realistic mix of polygons
//                          (some of thousands of points), circles and arcs, and measures it
//   bench_parse FILE       measures a given file, for instance a national file from the field
//   bench_parse --write FILE  only writes the generated file (to time quillon list on it)
//
// The measurement runs in a fresh process so that the peak resident size is the loader's alone,
// not the generator's.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "airspace/AirspaceFile.h"
#include "tests/airspace/OpenAirGenerator.h"

namespace {

constexpr std::size_t kGeneratedBytes = 20u << 20;
constexpr int kRounds = 5;
constexpr double kMegabyte = 1024.0 * 1024.0;

double cpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

int measure(const std::string& path) {
    double best = 1e9;
    double bestCpu = 1e9;
    std::size_t records = 0;
    std::size_t encoded = 0;
    std::size_t bytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        const double cpuStarted = cpuSeconds();
        const auto started = std::chrono::steady_clock::now();
        const airspace::LoadResult result = airspace::loadAirspaceFile(path);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        bestCpu = std::min(bestCpu, cpuSeconds() - cpuStarted);
        if (result.status != airspace::LoadStatus::Ok) {
            std::fprintf(stderr, "bench_parse: cannot read %s: %s\n", path.c_str(),
                         result.systemErrorText.c_str());
            return 1;
        }
        best = std::min(best, took.count());
        records = result.records.size();
        encoded = 0;
        for (const auto& record : result.records) encoded += record.encodedSize();
    }
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    bytes = static_cast<std::size_t>(file.tellg());

    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("file            %s\n", path.c_str());
    std::printf("size            %.1f MB\n", bytes / kMegabyte);
    std::printf("airspaces       %zu (%zu encoded bytes)\n", records, encoded);
    std::printf("load and encode %.3f s (best of %d)\n", best, kRounds);
    std::printf("throughput      %.1f MB/s\n", bytes / kMegabyte / best);
    // On a shared machine the wall clock also counts other processes' turns.
    std::printf("cpu time        %.3f s, %.1f MB/s of cpu time\n", bestCpu,
                bytes / kMegabyte / bestCpu);
    std::printf("peak memory     %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}

bool writeGenerated(const char* path) {
    std::string text;
    text.reserve(kGeneratedBytes + (1u << 20));
    airspace::testing::OpenAirGenerator(2026).appendUntil(text, kGeneratedBytes);
    std::ofstream file(path, std::ios::binary);
    file << text;
    return file.good();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write") return writeGenerated(argv[2]) ? 0 : 1;
    if (argc == 2) return measure(argv[1]);
    if (argc != 1) {
        std::fprintf(stderr, "usage: bench_parse [FILE | --write FILE]\n");
        return 2;
    }

    char path[] = "/tmp/quillon-bench-XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0) {
        std::perror("bench_parse: mkstemp");
        return 1;
    }
    ::close(fd);
    if (!writeGenerated(path)) {
        std::fprintf(stderr, "bench_parse: cannot write %s\n", path);
        ::unlink(path);
        return 1;
    }

    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/proc/self/exe", argv[0], path, static_cast<char*>(nullptr));
        std::perror("bench_parse: exec");
        std::_Exit(1);
    }
    int status = 1;
    if (child > 0) ::waitpid(child, &status, 0);
    ::unlink(path);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
