// quillon-sim: plays the instrument over a pseudo-terminal attached as DIR/COM<N>.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tools/sim/Role.h"

namespace quillon_sim {

struct FaultOptions {
    bool silent = false;         // never answer
    long long silentFirst = 0;   // leave the first n answers out
    bool garbage = false;        // every answer inverted bit by bit
    long long garbageFirst = 0;  // the first n answers inverted
    double dropFraction = 0.0;   // leave out this fraction of answers, at random
    std::uint64_t seed = 1;      // for dropFraction
    std::vector<std::pair<std::uint32_t, int>> refuse;  // unit K refused the first T times
    long long vanishAfter = -1;  // accepted units after which the port disappears; -1 never
};

struct SimOptions {
    std::string portDir;
    std::uint32_t com = 0;
    std::string role;
    RoleFactory makeRole;  // the factory of the role named, from the table ParseSimArgs was given
    RoleOptions roleOptions;
    FaultOptions faults;
    bool pace = false;       // take as long as the bytes would on a wire (10 bits a byte)
    std::string logPath;     // exchange log; empty: standard error
    std::string reportPath;  // report file, appended; empty: none
    bool quiet = false;      // no log on standard error, no report on standard output
};

// Parses the command line (without the program name) for a simulator that plays one of roles.
// false with error for a usage error.
[[nodiscard]] bool ParseSimArgs(RoleTable roles, const std::vector<std::string>& args,
                                SimOptions& out, std::string& error);
[[nodiscard]] std::string SimUsage(RoleTable roles);

class Simulator {
public:
    explicit Simulator(SimOptions options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Makes the role, creates the pseudo-terminal and the link DIR/COM<N>. false with error.
    [[nodiscard]] bool Start(std::string& error);
    // Serves until Stop() or until the port vanished; removes the link on the way out.
    void Run();
    // Ends Run from any thread (or a signal handler).
    void Stop();
    [[nodiscard]] std::string LinkPath() const;
    // True once a --vanish-after fault has pulled the port.
    [[nodiscard]] bool Vanished() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The simulator serving on a thread of its own, for tests that run it inside their process.
class SimulatorThread {
public:
    SimulatorThread() = default;
    ~SimulatorThread() { Stop(); }
    SimulatorThread(const SimulatorThread&) = delete;
    SimulatorThread& operator=(const SimulatorThread&) = delete;

    // Parses args as the command line does, attaches the port and starts serving on the
    // thread. false with error when the options or the attaching fail.
    [[nodiscard]] bool Start(RoleTable roles, const std::vector<std::string>& args,
                             std::string& error);
    // Ends serving and waits for the thread; the port's link is gone afterwards.
    void Stop();
    [[nodiscard]] Simulator& sim() { return *sim_; }

private:
    std::unique_ptr<Simulator> sim_;
    std::thread thread_;
};

}  // namespace quillon_sim
