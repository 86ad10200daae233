// quillon-sim: the Quillon on a pseudo-terminal, for tests, benchmarks and demonstrations.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "tools/sim/Simulator.h"

namespace {

// The roles quillon-sim plays, as its usage lists them. A new role adds one line here.
const quillon_sim::RoleInfo kRoles[] = {
    quillon_sim::StoreRoleInfo(),
    quillon_sim::LoaderRoleInfo(),
};

quillon_sim::Simulator* g_running = nullptr;

void OnSignal(int) {
    if (g_running) g_running->Stop();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << quillon_sim::SimUsage(kRoles);
            return 0;
        }
    }
    quillon_sim::SimOptions options;
    std::string error;
    if (!quillon_sim::ParseSimArgs(kRoles, args, options, error)) {
        std::cerr << "quillon-sim: " << error << "\n\n" << quillon_sim::SimUsage(kRoles);
        return 2;
    }
    quillon_sim::Simulator simulator(std::move(options));
    if (!simulator.Start(error)) {
        std::cerr << "quillon-sim: " << error << '\n';
        return 1;
    }
    g_running = &simulator;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    simulator.Run();
    g_running = nullptr;
    return 0;
}
