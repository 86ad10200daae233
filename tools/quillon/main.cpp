// quillon: the command line for the Quillon's airspace and firmware jobs.
#include <string>
#include <vector>

#include "tools/quillon/command.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as on Linux, line ends included, so that output compares and pipes alike
    // everywhere.
    (void)_setmode(_fileno(stdout), _O_BINARY);
    (void)_setmode(_fileno(stderr), _O_BINARY);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    // The language first: the commands' summaries and option texts are made in it.
    if (const auto failed = quillon::takeLanguageOption(args)) return *failed;
    // Every subcommand, in the order the overview lists them. A new command adds one line here
    // and its declaration in command.h.
    // clang-format off
    const quillon::Command commands[] = {
        quillon::listCommand(),
        quillon::encodeCommand(),
        quillon::checkCommand(),
        quillon::selectCommand(),
        quillon::portsCommand(),
        quillon::sendCommand(),
        quillon::previewCommand(),
        quillon::mapCommand(),
        quillon::flashCommand(),
    };
    // clang-format on
    return quillon::runCommandLine(commands, args);
}
