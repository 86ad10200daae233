// quillon: the command line for the Quillon's airspace and firmware jobs.
#include <string>
#include <utility>
#include <vector>

#include "tools/quillon/command.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "shell/win32/Text.h"
#endif

namespace {

#ifdef _WIN32
UINT g_consoleCodePage = 0;

void restoreConsoleCodePage() {
    SetConsoleOutputCP(g_consoleCodePage);
}

bool isConsole(DWORD handle) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(handle), &mode) != 0;
}

// Every text is written as UTF-8. A console shows it as such only while its output code page is
// UTF-8; otherwise "Lufträume" comes out as "Luftr├ñume". The console's own page is put back at
// the end, for whatever runs in it next. The C library writes unbuffered output to a console
// byte by byte, which splits every letter beyond ASCII: the console streams are buffered, and
// flushed where the commands flush (standard error is tied to standard output).
void useUtf8Console() {
    const bool out = isConsole(STD_OUTPUT_HANDLE);
    const bool err = isConsole(STD_ERROR_HANDLE);
    if (!out && !err) return;
    if (out) (void)std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    if (err) (void)std::setvbuf(stderr, nullptr, _IOFBF, 1 << 12);
    const UINT current = GetConsoleOutputCP();
    if (current == 0 || current == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;
    g_consoleCodePage = current;
    std::atexit(restoreConsoleCodePage);
}
#endif

// Every subcommand, in the order the overview lists them, in the language asked for: the
// commands' summaries and option texts are made in it. A new command adds one line here and its
// declaration in command.h.
int run(std::vector<std::string> args) {
    if (const auto failed = quillon::takeLanguageOption(args)) return *failed;
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

}  // namespace

#ifdef _WIN32
// The arguments as the system has them, in UTF-16, so that "-o Karte-ü.png" names that file
// whatever the code page; the program works in UTF-8 throughout.
int wmain(int argc, wchar_t** argv) {
    // The same bytes as on Linux, line ends included, so that output compares and pipes alike
    // everywhere.
    (void)_setmode(_fileno(stdout), _O_BINARY);
    (void)_setmode(_fileno(stderr), _O_BINARY);
    useUtf8Console();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(shell::win32::Narrow(argv[i]));
    return run(std::move(args));
}
#else
int main(int argc, char** argv) {
    return run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
