#include "tools/quillon/command.h"

#include <algorithm>
#include <iostream>

namespace quillon {
namespace {

std::vector<Command>& registry() {
    static std::vector<Command> all;
    return all;
}

}  // namespace

const std::vector<Command>& commands() {
    auto& all = registry();
    std::sort(all.begin(), all.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    return all;
}

CommandRegistration::CommandRegistration(std::string name, std::string usage, std::string summary,
                                         CommandMain run) {
    registry().push_back({std::move(name), std::move(usage), std::move(summary), std::move(run)});
}

int fail(const std::string& message, int status) {
    std::cerr << "quillon: " << message << '\n';
    return status;
}

}  // namespace quillon
