#include "tests/zonesend/ZonesendTestSupport.h"

#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "zonesend/Strings.h"

namespace zstest {

namespace {

std::string minutes(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

std::string triangleText(const std::string& name, int offset) {
    const std::string a = minutes(offset % 50);
    const std::string b = minutes(offset % 50 + 5);
    return "AC R\nAN " + name + "\nAL GND\nAH FL50\nDP 47:" + a + ":00 N 008:" + a +
           ":00 E\nDP 47:" + b + ":00 N 008:" + a + ":00 E\nDP 47:" + b + ":00 N 008:" + b +
           ":00 E\n";
}

std::string zigzagRingText(const std::string& name, int points, double radiusKm, double zigzagKm,
                           int repeatEvery) {
    std::string text = "AC R\nAN " + name + "\nAL GND\nAH FL100\n";
    for (int i = 0; i < points; ++i) {
        const double a = i * 2 * 3.14159265358979 / points;
        const double r = radiusKm + zigzagKm * ((i % 2) ? 1 : -1);
        const double lat = 46.1 + r * std::sin(a) / 111.2;
        const double lon = 7.1 + r * std::cos(a) / (111.2 * std::cos(46.1 * 3.14159265 / 180));
        char line[64];
        std::snprintf(line, sizeof line, "DP %02d:%06.3f N %03d:%06.3f E\n", static_cast<int>(lat),
                      (lat - static_cast<int>(lat)) * 60, static_cast<int>(lon),
                      (lon - static_cast<int>(lon)) * 60);
        text += line;
        if (repeatEvery > 0 && i % repeatEvery == 0) text += line;
    }
    return text;
}

std::string squareText(const std::string& name, const std::string& type, int minutesNorth,
                       const std::string& floor) {
    const std::string south = "46:" + minutes(minutesNorth) + ":00 N ";
    const std::string north = "46:" + minutes(minutesNorth + 1) + ":00 N ";
    return "AC " + type + "\nAN " + name + "\nAL " + floor + "\nAH FL195\nDP " + south +
           "007:00:00 E\nDP " + north + "007:00:00 E\nDP " + north + "007:01:00 E\nDP " + south +
           "007:01:00 E\n";
}

std::string circleText(const std::string& name) {
    return "AC C\nAN " + name + "\nAL GND\nAH 3000ft\nV X=47:00:00 N 008:00:00 E\nDC 2\n";
}

std::string arcText(const std::string& name) {
    return "AC D\nAN " + name +
           "\nAL GND\nAH FL100\nV X=47:30:00 N 008:30:00 E\nDP 47:20:00 N 008:20:00 E\n"
           "DA 10,270,0\nDP 47:40:00 N 008:30:00 E\n";
}

std::string brokenText(const std::string& name) {
    // An arc before any centre line ends the reading: listed, but without an encoding.
    return "AC Q\nAN " + name + "\nAL GND\nAH FL50\nDA 10,270,0\n";
}

TempDir::TempDir() {
    char pattern[] = "/tmp/zonesend-test-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    path_ = made != nullptr ? made : "";
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& contents) const {
    const std::string file = path_ + "/" + name;
    std::ofstream(file, std::ios::binary) << contents;
    return file;
}

PortDir::PortDir() {
    ::setenv("KORVALIS_PORT_DIR", dir_.path().c_str(), 1);
}

PortDir::~PortDir() {
    ::unsetenv("KORVALIS_PORT_DIR");
}

void PortDir::add(unsigned number) const {
    std::error_code ignored;
    std::filesystem::create_symlink("/dev/null", path() + "/COM" + std::to_string(number), ignored);
}

void PortDir::remove(unsigned number) const {
    std::error_code ignored;
    std::filesystem::remove(path() + "/COM" + std::to_string(number), ignored);
}

StoreSim::StoreSim(const std::vector<std::string>& extraArgs) {
    ::setenv("KORVALIS_PORT_DIR", dir_.path().c_str(), 1);
    std::vector<std::string> args = {"--port-dir", dir_.path(),
                                     "--com",      std::to_string(kCom),
                                     "--role",     "store",
                                     "--quiet",    "--dump",
                                     "--report",   dir_.path() + "/report.txt",
                                     "--log",      dir_.path() + "/log.txt"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    static const quillon_sim::RoleInfo kRoles[] = {quillon_sim::StoreRoleInfo()};
    started_ = running_.Start(kRoles, args, error_);
}

StoreSim::~StoreSim() {
    stop();
    ::unsetenv("KORVALIS_PORT_DIR");
}

void StoreSim::stop() {
    running_.Stop();
}

std::vector<std::string> StoreSim::reportLines() const {
    return readLines(dir_.path() + "/report.txt");
}

std::vector<std::string> StoreSim::logLines() const {
    return readLines(dir_.path() + "/log.txt");
}

bool StoreSim::uploadReported(std::size_t n) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        std::size_t reported = 0;
        for (const std::string& line : reportLines()) {
            reported += line.find("bytes: ") != std::string::npos ? 1 : 0;
        }
        if (reported >= n) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::vector<std::uint8_t> StoreSim::receivedBytes() const {
    std::vector<std::uint8_t> bytes;
    const std::string marker = "bytes: ";
    for (const std::string& line : reportLines()) {
        const auto at = line.find(marker);
        if (at == std::string::npos) continue;
        bytes.clear();
        std::istringstream in(line.substr(at + marker.size()));
        std::string byte;
        while (in >> byte)
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
    }
    return bytes;
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char part[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(part, sizeof part, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += part;
    }
    return text;
}

StringsInstalled::StringsInstalled(seriallink::Language language)
    : table_(zonesend::makeStringTable(language)) {
    seriallink::InstallStringTable(&table_);
}

StringsInstalled::~StringsInstalled() {
    seriallink::InstallStringTable(nullptr);
}

}  // namespace zstest
