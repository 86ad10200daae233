// Shared pieces of zonesend's tests: airspace texts of known sizes, temporary files and port
// directories, and the airspace store of quillon-sim on a pseudo-terminal inside the test.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "airspace/AirspaceRecord.h"
#include "seriallink/Messages.h"
#include "tools/sim/Simulator.h"
#include "zonesend/AirspaceSetupApp.h"

namespace zstest {

// One OpenAir airspace each, with the encoded size they are known to have.
[[nodiscard]] std::string triangleText(const std::string& name, int offset = 0);  // 14 bytes
[[nodiscard]] std::string circleText(const std::string& name);                    // 8 bytes
[[nodiscard]] std::string arcText(const std::string& name);                       // 21 bytes
[[nodiscard]] std::string brokenText(const std::string& name);                    // 0 bytes
// A square of one minute of arc whose south edge lies `minutesNorth` (0 to 58) north of 46N 7E,
// with its class and floor; 18 bytes.
[[nodiscard]] std::string squareText(const std::string& name, const std::string& type,
                                     int minutesNorth, const std::string& floor);
// A class R ring of `points` DP points around 46.1N 7.1E, `radiusKm` across half, zig-zagging
// `zigzagKm` in and out as traced borders do; with `repeatEvery`, every such point is written
// twice.
[[nodiscard]] std::string zigzagRingText(const std::string& name, int points, double radiusKm,
                                         double zigzagKm, int repeatEvery = 0);
inline constexpr std::size_t kSquareSize = 18;
inline constexpr std::size_t kTriangleSize = 14;
inline constexpr std::size_t kCircleSize = 8;
inline constexpr std::size_t kArcSize = 21;

// A profile store in memory.
class MemoryProfile : public zonesend::ProfileStore {
public:
    std::map<std::string, std::string> texts;
    std::map<std::string, std::int64_t> numbers;
    std::string readText(const std::string& s, const std::string& n,
                         const std::string& fallback) const override {
        const auto found = texts.find(s + "/" + n);
        return found == texts.end() ? fallback : found->second;
    }
    std::int64_t readInteger(const std::string& s, const std::string& n,
                             std::int64_t fallback) const override {
        const auto found = numbers.find(s + "/" + n);
        return found == numbers.end() ? fallback : found->second;
    }
    void writeText(const std::string& s, const std::string& n, const std::string& v) override {
        texts[s + "/" + n] = v;
    }
    void writeInteger(const std::string& s, const std::string& n, std::int64_t v) override {
        numbers[s + "/" + n] = v;
    }
};

// A fresh temporary directory, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] const std::string& path() const { return path_; }
    // Writes a file in the directory and returns its path.
    std::string write(const std::string& name, const std::string& contents) const;

private:
    std::string path_;
};

// A port directory (KORVALIS_PORT_DIR) whose ports the test adds and removes.
class PortDir {
public:
    PortDir();
    ~PortDir();
    void add(unsigned number) const;  // COM<n> -> /dev/null, a character device
    void remove(unsigned number) const;
    [[nodiscard]] const std::string& path() const { return dir_.path(); }

private:
    TempDir dir_;
};

// quillon-sim's store as COM<n> in its own port directory, which KORVALIS_PORT_DIR then names.
class StoreSim {
public:
    static constexpr unsigned kCom = 5;
    static constexpr const char* kPortName = "COM5";

    explicit StoreSim(const std::vector<std::string>& extraArgs = {});
    ~StoreSim();
    void stop();
    [[nodiscard]] bool started() const { return started_; }
    [[nodiscard]] const std::string& error() const { return error_; }
    [[nodiscard]] const std::string& dir() const { return dir_.path(); }
    // The store's report (one line per upload and airspace, the bytes in hex with --dump).
    [[nodiscard]] std::vector<std::string> reportLines() const;
    // The exchange log, one line per message on the wire.
    [[nodiscard]] std::vector<std::string> logLines() const;
    // The bytes of the last completed upload, from the "bytes:" line of the report.
    [[nodiscard]] std::vector<std::uint8_t> receivedBytes() const;
    // The store writes its report of an upload just after its last answer: true once the n-th
    // upload is in the report, false after 5 s without it.
    [[nodiscard]] bool uploadReported(std::size_t n) const;

private:
    TempDir dir_;
    quillon_sim::SimulatorThread running_;
    bool started_ = false;
    std::string error_;
};

[[nodiscard]] std::vector<std::string> readLines(const std::string& path);
[[nodiscard]] std::string hex(const std::vector<std::uint8_t>& bytes);

// Installs a string table for the life of the object and restores none afterwards.
class StringsInstalled {
public:
    explicit StringsInstalled(seriallink::Language language);
    ~StringsInstalled();

private:
    seriallink::StringTable table_;
};

}  // namespace zstest
