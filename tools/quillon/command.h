// The subcommands of the quillon command-line tool.
//
// Each subcommand is a file cmd_<name>.cpp that defines its entry point and registers it with a
// file-scope CommandRegistration, so main() needs no list of them:
//
//     namespace {
//     int runList(const std::vector<std::string>& args) { ... }
//     const quillon::CommandRegistration reg{"list", "list FILE", "Show the airspaces of FILE",
//                                            runList};
//     }  // namespace
//
// An entry point gets the arguments after the subcommand's name and returns the exit status:
// 0 on success, 1 when the job failed, 2 for a usage error. Errors go to std::cerr as one line
// starting with "quillon: ".
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quillon {

using CommandMain = std::function<int(const std::vector<std::string>& args)>;

struct Command {
    std::string name;
    std::string usage;    // e.g. "list FILE"
    std::string summary;  // one line for --help
    CommandMain run;
};

// All registered subcommands, sorted by name.
const std::vector<Command>& commands();

struct CommandRegistration {
    CommandRegistration(std::string name, std::string usage, std::string summary, CommandMain run);
};

// Prints "quillon: <message>" to std::cerr and returns the given status, for one-line exits.
int fail(const std::string& message, int status = 1);

}  // namespace quillon
