// quillon: the command line for the Quillon's airspace and firmware jobs.
#include <string>
#include <vector>

#include "tools/quillon/command.h"

namespace {

// Every subcommand, in the order the overview lists them. A new command adds one line here and
// its declaration in command.h.
// clang-format off
const quillon::Command kCommands[] = {
    quillon::listCommand(),
    quillon::encodeCommand(),
    quillon::checkCommand(),
    quillon::portsCommand(),
#if QUILLON_HAVE_ZONESEND_CORE && QUILLON_HAVE_ZONESEND_PREVIEW
    quillon::sendCommand(),
#endif
#if QUILLON_HAVE_ZONESEND_PREVIEW
    quillon::previewCommand(),
#endif
#if QUILLON_HAVE_FLASHWIZARD_CORE
    quillon::flashCommand(),
#endif
};
// clang-format on

}  // namespace

int main(int argc, char** argv) {
    return quillon::runCommandLine(kCommands, std::vector<std::string>(argv + 1, argv + argc));
}
