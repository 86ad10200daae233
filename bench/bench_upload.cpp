// The cost of the upload's own work per exchange: a full store upload through AirspaceUpload
// against quillon-sim pacing a 57600 baud wire, beside a bare client that sends the same frames
// back to back through the same simulator and only waits for each acknowledgement. Both figures
// come from one run, so the load of the machine touches both alike.
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "seriallink/AirspacePort.h"
#include "seriallink/Messages.h"
#include "seriallink/SerialBackend.h"
#include "seriallink/SerialPort.h"
#include "tools/sim/Role.h"
#include "tools/sim/Simulator.h"
#include "zonesend/AirspaceUpload.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t kRate = 57600;
constexpr const char* kPort = "COM5";

class NoBoxes : public seriallink::MessageOwner {
public:
    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest&) override {
        return seriallink::MessageAnswer::Ok;
    }
};

// Circles near one another until the store is as full as whole airspaces make it.
std::vector<airspace::AirspaceRecord> fillTheStore() {
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += "AC D\nAN Circle " + std::to_string(i) + "\nV X=46:" + std::to_string(10 + i % 40) +
                ":00 N 007:" + std::to_string(10 + i / 40) + ":00 E\nDC 1\n";
    }
    std::vector<airspace::AirspaceRecord> all = airspace::parseAirspaces(text);
    std::vector<airspace::AirspaceRecord> kept;
    std::size_t bytes = 0;
    for (auto& record : all) {
        if (bytes + record.encodedSize() > airspace::kDeviceCapacity) break;
        bytes += record.encodedSize();
        kept.push_back(std::move(record));
    }
    return kept;
}

double uploadSeconds(const std::vector<airspace::AirspaceRecord>& records) {
    zonesend::UploadSelection selection;
    for (const auto& record : records) selection.airspaces.push_back(&record);
    NoBoxes boxes;
    bool sending = false;
    zonesend::AirspaceUpload upload(&boxes, sending);
    const auto start = Clock::now();
    const bool ok = upload.run(selection, kPort, kRate) == zonesend::UploadOutcome::Succeeded;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return ok ? seconds : -1.0;
}

// The same wire traffic with nothing between the frames: the query, then every block.
double bareClientSeconds(std::size_t blocks) {
    auto port = seriallink::MakePlatformBackend();
    const auto start = Clock::now();
    if (port->Open(seriallink::DevicePathForPort(kPort)) != seriallink::OpenStatus::Ok) return -1;
    seriallink::LineSettings line;
    if (!port->GetLineSettings(line)) return -1;
    line.baudRate = kRate;
    line.dataBits = 8;
    line.parity = seriallink::Parity::None;
    line.stopBits = seriallink::StopBits::One;
    if (!port->SetLineSettings(line) || !port->SetTimeouts({0, 0, 1000, 0, 0})) return -1;
    auto exchange = [&](const std::vector<std::uint8_t>& payload, std::size_t replyLength) {
        const auto frame = seriallink::airspaceport::MakeFrame(payload);
        std::size_t done = 0;
        if (!port->Write(frame.data(), frame.size(), done) || done != frame.size()) return false;
        std::vector<std::uint8_t> reply(replyLength);
        return port->Read(reply.data(), reply.size(), done) && done == replyLength;
    };
    bool ok = exchange({'n'}, 3);
    for (std::size_t block = 0; ok && block < blocks; ++block) {
        std::vector<std::uint8_t> payload(16, 0);
        payload[0] = 'N';
        payload[1] = block + 1 == blocks ? 0xF7 : static_cast<std::uint8_t>(block);
        ok = exchange(payload, 1);
    }
    (void)port->Close();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return ok ? seconds : -1.0;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("bench_upload." + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ::setenv("KORVALIS_PORT_DIR", dir.c_str(), 1);
    quillon_sim::SimulatorThread sim;
    static const quillon_sim::RoleInfo kRoles[] = {quillon_sim::StoreRoleInfo()};
    std::string error;
    if (!sim.Start(
            kRoles,
            {"--port-dir", dir.string(), "--com", "5", "--role", "store", "--quiet", "--pace"},
            error)) {
        std::fprintf(stderr, "bench_upload: %s\n", error.c_str());
        return 1;
    }
    const auto records = fillTheStore();
    std::size_t bytes = 0;
    for (const auto& record : records) bytes += record.encodedSize();
    const std::size_t blocks = airspace::blocksFor(bytes);
    std::printf("%zu airspaces, %zu bytes, %zu blocks at %u baud, paced\n", records.size(), bytes,
                blocks, kRate);
    double upload = 1e9;
    double bare = 1e9;
    for (int round = 0; round < rounds; ++round) {  // the best of each, against noise
        const double u = uploadSeconds(records);
        const double b = bareClientSeconds(blocks);
        if (u < 0 || b < 0) {
            std::fprintf(stderr, "bench_upload: a transfer failed\n");
            return 1;
        }
        upload = std::min(upload, u);
        bare = std::min(bare, b);
    }
    std::printf("upload   %.3f s\nbare     %.3f s\nratio    %.3f\n", upload, bare, upload / bare);
    sim.Stop();
    std::filesystem::remove_all(dir);
    return 0;
}
