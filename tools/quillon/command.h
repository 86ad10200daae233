// The subcommands of the quillon command-line tool, and the conventions they share.
//
// Each subcommand is a file cmd_<name>.cpp that returns its description from a function
// quillon::<name>Command(); the table in tools/quillon/main.cpp lists them:
//
//     quillon::Command quillon::listCommand() {
//         return {"list", "list FILE", "Show the airspaces of FILE", runList,
//                 {{"--index", "number the lines"}}, {"quillon list alps.txt"}, Json::Yes};
//     }
//
// An entry point gets the arguments after the subcommand's name and returns the exit status
// (kExitOk, kExitFailure, kExitUsage). Errors go to std::cerr as one line starting with
// "quillon: ". The options every command shares (--help, -q, -v, --json) are taken out of the
// arguments before the entry point runs; it reads them from settings().
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

using CommandMain = std::function<int(const std::vector<std::string>& args)>;

struct OptionHelp {
    std::string spelling;  // e.g. "--port NAME"
    std::string help;
};

// Whether a command can give its result as JSON (--json).
enum class Json { No, Yes };

struct Command {
    std::string name;
    std::string usage;    // e.g. "list FILE"
    std::string summary;  // one line for the overview
    CommandMain run;
    std::vector<OptionHelp> options = {};
    std::vector<std::string> examples = {};
    Json json = Json::No;
};

// What the shared options chose for the command that runs.
struct Settings {
    int verbosity = 0;  // -1 with -q, 1 with -v
    bool json = false;  // --json: the result as one JSON document on standard output
    [[nodiscard]] bool quiet() const { return verbosity < 0; }
    [[nodiscard]] bool verbose() const { return verbosity > 0; }
};
[[nodiscard]] const Settings& settings();

// Takes --lang CODE (or --lang=CODE) out of args and makes the command line speak that
// language; the exit status when the code names no language. Done before the commands' texts
// are made, and again (harmlessly) by runCommandLine.
[[nodiscard]] std::optional<int> takeLanguageOption(std::vector<std::string>& args);

// Runs the command line (without the program's name) against the table of commands.
[[nodiscard]] int runCommandLine(std::span<const Command> commands,
                                 const std::vector<std::string>& args);

// The help of one command: usage, options (its own and the shared ones), examples, exit codes.
void printCommandHelp(const Command& command, std::ostream& out);

// Prints "quillon: <message>" to std::cerr and returns the given status, for one-line exits.
int fail(const std::string& message, int status = kExitFailure);
// A usage error of the command: the message as one line; returns kExitUsage.
int usageError(std::string_view command, const std::string& message);

// The command's own table entries, in tools/quillon/cmd_<name>.cpp.
Command checkCommand();
Command encodeCommand();
Command flashCommand();
Command listCommand();
Command mapCommand();
Command portsCommand();
Command previewCommand();
Command selectCommand();
Command sendCommand();

}  // namespace quillon
