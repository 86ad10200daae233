// quillon: the command line for the Quillon's airspace and firmware jobs.
#include <string>
#include <vector>

#include "tools/quillon/command.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// Every subcommand, in the order the overview lists them. A new command adds one line here and
// its declaration in command.h.
// clang-format off
const quillon::Command kCommands[] = {
    quillon::listCommand(),
    quillon::encodeCommand(),
    quillon::checkCommand(),
    quillon::selectCommand(),
    quillon::portsCommand(),
    quillon::sendCommand(),
#ifndef _WIN32
    // The preview and the map are drawn with Qt, which the Windows build does not have.
    quillon::previewCommand(),
    quillon::mapCommand(),
#endif
    quillon::flashCommand(),
};
// clang-format on

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as on Linux, line ends included, so that output compares and pipes alike
    // everywhere.
    (void)_setmode(_fileno(stdout), _O_BINARY);
    (void)_setmode(_fileno(stderr), _O_BINARY);
#endif
    return quillon::runCommandLine(kCommands, std::vector<std::string>(argv + 1, argv + argc));
}
