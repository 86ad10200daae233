// quillon: the command line for the Quillon's airspace and firmware jobs.
#include <iostream>
#include <string>
#include <vector>

#include "tools/quillon/command.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

void printHelp(std::ostream& out) {
    out << "Usage: quillon COMMAND [ARGS...]\n"
           "Airspace and firmware jobs for the Korvalis Quillon.\n\nCommands:\n";
    for (const auto& command : quillon::commands()) {
        out << "  " << command.usage << "\n      " << command.summary << '\n';
    }
    out << "\n  quillon --help     show this text\n";
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as on Linux, line ends included, so that output compares and pipes alike
    // everywhere.
    (void)_setmode(_fileno(stdout), _O_BINARY);
    (void)_setmode(_fileno(stderr), _O_BINARY);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printHelp(std::cerr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(std::cout);
        return 0;
    }
    for (const auto& command : quillon::commands()) {
        if (command.name == args[0]) {
            return command.run(std::vector<std::string>(args.begin() + 1, args.end()));
        }
    }
    return quillon::fail("unknown command '" + args[0] + "' (see quillon --help)", 2);
}
