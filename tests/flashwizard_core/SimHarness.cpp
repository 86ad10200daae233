#include "tests/flashwizard_core/SimHarness.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "flashwizard/core/WizardStrings.h"
#include "seriallink/HexFile.h"

namespace fwtest {

flashwizard::LoaderTiming FastTiming() {
    return flashwizard::LoaderTiming::Scaled(20);
}

LoaderSim::LoaderSim(const std::vector<std::string>& args) {
    char pattern[] = "/tmp/fwcore-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    dir_ = made != nullptr ? made : "";
    ::setenv("KORVALIS_PORT_DIR", dir_.c_str(), 1);

    std::vector<std::string> all = {"--port-dir",
                                    dir_,
                                    "--com",
                                    "7",
                                    "--role",
                                    "loader",
                                    "--quiet",
                                    "--report",
                                    dir_ + "/report.txt",
                                    "--log",
                                    dir_ + "/log.txt",
                                    "--image",
                                    dir_ + "/image.hex"};
    all.insert(all.end(), args.begin(), args.end());
    static const quillon_sim::RoleInfo kRoles[] = {quillon_sim::LoaderRoleInfo()};
    started_ = running_.Start(kRoles, all, error_);
}

LoaderSim::~LoaderSim() {
    Stop();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void LoaderSim::Stop() {
    running_.Stop();
}

std::vector<std::string> LoaderSim::ReportLines() const {
    return ReadLines(dir_ + "/report.txt");
}

std::vector<std::string> LoaderSim::ImageLines() const {
    return ReadLines(dir_ + "/image.hex");
}

void RecordingReport::SetStatus(unsigned id, const std::vector<int>& numbers) {
    std::string call = "status " + std::to_string(id);
    for (int n : numbers) call += " " + std::to_string(n);
    Add(call);
}

void RecordingReport::SetProgress(int position, int total) {
    counter.Set(position, total);
    counterTexts.push_back(counter.Text());
    Add("progress " + std::to_string(position) + " " + std::to_string(total));
}

std::vector<std::string> RecordingReport::Statuses() const {
    std::vector<std::string> statuses;
    for (const std::string& call : calls) {
        if (call.rfind("status ", 0) == 0) statuses.push_back(call.substr(7));
    }
    return statuses;
}

bool RecordingReport::Has(const std::string& call) const {
    for (const std::string& c : calls) {
        if (c == call) return true;
    }
    return false;
}

std::map<unsigned, unsigned char> HexData(const std::vector<std::string>& lines) {
    std::map<unsigned, unsigned char> data;
    for (const std::string& line : lines) {
        std::string bytes;
        if (line.size() < 11 || !seriallink::HexToBytes(std::string_view(line).substr(1), bytes)) {
            continue;
        }
        const auto count = static_cast<unsigned char>(bytes[0]);
        const unsigned address =
            static_cast<unsigned char>(bytes[1]) << 8 | static_cast<unsigned char>(bytes[2]);
        if (bytes[3] != 0) continue;
        for (unsigned i = 0; i < count; ++i) {
            data[address + i] = static_cast<unsigned char>(bytes[4 + i]);
        }
    }
    return data;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::string SamplePath(const std::string& name) {
    return std::string(QUILLON_SOURCE_DIR) + "/samples/" + name;
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
    // One folder per process: test programs of several builds may run at the same time.
    const auto dir =
        std::filesystem::temp_directory_path() / ("fwcore-files-" + std::to_string(::getpid()));
    static const struct RemoveAtExit {
        std::filesystem::path path;
        ~RemoveAtExit() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder{dir};
    std::filesystem::create_directories(dir);
    const auto path = dir / name;
    std::ofstream(path, std::ios::trunc) << text;
    return path.string();
}

}  // namespace fwtest
