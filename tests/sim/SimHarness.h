// quillon-sim run in-process on its own thread, attached in a fresh port directory, its log and
// report written to files there.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/seriallink/PtyPair.h"
#include "tools/sim/Simulator.h"

namespace quillon_sim::testing {

// Both roles: the simulator tests play either.
inline const RoleInfo kTestRoles[] = {StoreRoleInfo(), LoaderRoleInfo()};

class SimHarness {
public:
    // args: role and fault options; --port-dir, --com, --log, --report and --quiet are added.
    [[nodiscard]] bool Start(std::vector<std::string> args, std::uint32_t com = 3) {
        args.insert(args.end(), {"--port-dir", dir_.path(), "--com", std::to_string(com), "--log",
                                 LogPath(), "--report", ReportPath(), "--quiet"});
        std::string error;
        if (!running_.Start(kTestRoles, args, error)) {
            ADD_FAILURE() << error;
            return false;
        }
        return true;
    }

    void Stop() { running_.Stop(); }

    [[nodiscard]] std::string LogPath() const { return dir_.path() + "/sim.log"; }
    [[nodiscard]] std::string ReportPath() const { return dir_.path() + "/report.txt"; }
    [[nodiscard]] std::string Log() const { return Read(LogPath()); }
    [[nodiscard]] std::string Report() const { return Read(ReportPath()); }
    [[nodiscard]] const seriallink::testing::PortDir& dir() const { return dir_; }
    [[nodiscard]] Simulator& sim() { return running_.sim(); }

private:
    static std::string Read(const std::string& path) {
        std::ifstream file(path);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    seriallink::testing::PortDir dir_;
    SimulatorThread running_;  // declared last: stops before the port directory goes
};

}  // namespace quillon_sim::testing
