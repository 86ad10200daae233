#include "tools/quillon/command.h"

#include <cstddef>
#include <iostream>
#include <optional>

#include "tools/quillon/texts.h"

#ifndef QUILLON_VERSION
#define QUILLON_VERSION "unknown"
#endif

namespace quillon {
namespace {

Settings g_settings;
std::optional<seriallink::Language> g_chosenLanguage;

void printOverview(std::span<const Command> commands, std::ostream& out) {
    out << text(
        "Usage: quillon COMMAND [ARGS...]\n"
        "Airspace and firmware jobs for the Korvalis Quillon.\n\nCommands:\n",
        "Aufruf: quillon BEFEHL [ARGUMENTE...]\n"
        "Luftraum- und Firmware-Aufgaben für den Korvalis Quillon.\n\nBefehle:\n",
        "Usage : quillon COMMANDE [ARGUMENTS...]\nEspaces aériens et firmware du Korvalis "
        "Quillon.\n\nCommandes :\n");
    for (const auto& command : commands) {
        out << "  " << command.usage << "\n      " << command.summary << '\n';
    }
    out << text(
        "\n  quillon help COMMAND   the options and examples of COMMAND (or COMMAND --help)"
        "\n  quillon --version      show the version"
        "\n  --lang en|de|fr        the language of the texts (else the locale's)\n",
        "\n  quillon help BEFEHL    Optionen und Beispiele zu BEFEHL (oder BEFEHL --help)"
        "\n  quillon --version      die Version zeigen"
        "\n  --lang en|de|fr        die Sprache der Texte (sonst die des Locale)\n",
        "\n  quillon help COMMANDE  les options et exemples de COMMANDE (ou COMMANDE --help)"
        "\n  quillon --version      afficher la version"
        "\n  --lang en|de|fr        la langue des textes (sinon celle de la locale)\n");
}

const Command* findCommand(std::span<const Command> commands, std::string_view name) {
    for (const auto& command : commands) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

void printOption(std::ostream& out, const std::string& spelling, const std::string& help) {
    std::string head = "  " + spelling;
    if (head.size() < 24) {
        head.resize(24, ' ');
    } else {
        head += "\n" + std::string(24, ' ');
    }
    out << head << help << '\n';
}

}  // namespace

seriallink::Language language() {
    static const seriallink::Language user = seriallink::UserLanguage();
    return g_chosenLanguage.value_or(user);
}

const Settings& settings() {
    return g_settings;
}

void printCommandHelp(const Command& command, std::ostream& out) {
    out << text("Usage: quillon ", "Aufruf: quillon ", "Usage : quillon ") << command.usage << "\n"
        << command.summary << "\n\n"
        << text("Options:\n", "Optionen:\n", "Options :\n");
    for (const auto& option : command.options) printOption(out, option.spelling, option.help);
    if (command.json == Json::Yes) {
        printOption(out, "--json",
                    text("the result as JSON on standard output",
                         "das Ergebnis als JSON auf der Standardausgabe",
                         "le résultat en JSON sur la sortie standard"));
    }
    printOption(out, "-q, --quiet",
                text("only errors", "nur Fehler ausgeben", "seulement les erreurs"));
    printOption(out, "-v, --verbose", text("more detail", "ausführlicher", "plus de détails"));
    printOption(out, "-h, --help",
                text("show this help", "diese Hilfe zeigen", "afficher cette aide"));
    if (!command.examples.empty()) {
        out << text("\nExamples:\n", "\nBeispiele:\n", "\nExemples :\n");
        for (const auto& example : command.examples) out << "  " << example << '\n';
    }
    out << text("\nExit status: 0 done, 1 failed, 2 wrong usage.\n",
                "\nRückgabewert: 0 erledigt, 1 fehlgeschlagen, 2 falscher Aufruf.\n",
                "\nCode de retour : 0 fait, 1 échec, 2 mauvais usage.\n");
}

std::optional<int> takeLanguageOption(std::vector<std::string>& given) {
    // --lang may stand anywhere before "--"; every text after it, help included, is in that
    // language.
    std::vector<std::string> args;
    std::optional<int> failed;
    for (std::size_t i = 0; i < given.size(); ++i) {
        const std::string& arg = given[i];
        if (arg == "--") {
            args.insert(args.end(), given.begin() + static_cast<std::ptrdiff_t>(i), given.end());
            break;
        }
        if (arg != "--lang" && arg.rfind("--lang=", 0) != 0) {
            args.push_back(arg);
            continue;
        }
        const std::string code =
            arg == "--lang" ? (i + 1 < given.size() ? given[++i] : "") : arg.substr(7);
        if (const auto chosen = seriallink::LanguageOfCode(code)) {
            g_chosenLanguage = *chosen;
        } else if (!failed) {
            failed = fail(
                text("--lang takes en, de or fr, not '", "--lang erwartet en, de oder fr, nicht '",
                     "--lang prend en, de ou fr, pas '") +
                    code + "'",
                kExitUsage);
        }
    }
    given = std::move(args);
    return failed;
}

int runCommandLine(std::span<const Command> commands, const std::vector<std::string>& given) {
    g_settings = Settings{};
    std::vector<std::string> args = given;
    if (const auto failed = takeLanguageOption(args)) return *failed;
    if (args.empty()) {
        printOverview(commands, std::cerr);
        return kExitUsage;
    }
    const std::string& first = args[0];
    if (first == "--version" || first == "-V") {
        std::cout << "quillon " << QUILLON_VERSION << '\n';
        return kExitOk;
    }
    if (first == "--help" || first == "-h" || (first == "help" && args.size() == 1)) {
        printOverview(commands, std::cout);
        return kExitOk;
    }
    if (first == "help") {
        const Command* command = findCommand(commands, args[1]);
        if (command == nullptr || args.size() > 2) {
            return fail(
                text("no such command '", "unbekannter Befehl '", "commande inexistante '") +
                    args[1] +
                    text("' (see quillon --help)", "' (siehe quillon --help)",
                         "' (voir quillon --help)"),
                kExitUsage);
        }
        printCommandHelp(*command, std::cout);
        return kExitOk;
    }
    const Command* command = findCommand(commands, first);
    if (command == nullptr) {
        return fail(text("unknown command '", "unbekannter Befehl '", "commande inconnue '") +
                        first +
                        text("' (see quillon --help)", "' (siehe quillon --help)",
                             "' (voir quillon --help)"),
                    kExitUsage);
    }

    // The shared options may stand anywhere before "--"; what follows "--" is the command's.
    std::vector<std::string> own;
    bool optionsEnd = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd) {
            own.push_back(arg);
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "--help" || arg == "-h") {
            printCommandHelp(*command, std::cout);
            return kExitOk;
        } else if (arg == "-q" || arg == "--quiet") {
            g_settings.verbosity = -1;
        } else if (arg == "-v" || arg == "--verbose") {
            g_settings.verbosity = 1;
        } else if (arg == "--json") {
            if (command->json == Json::No) {
                return usageError(command->name, text("--json is not an option of ",
                                                      "--json ist keine Option von ",
                                                      "--json n'est pas une option de ") +
                                                     command->name);
            }
            g_settings.json = true;
        } else {
            own.push_back(arg);
        }
    }
    return command->run(own);
}

int fail(const std::string& message, int status) {
    std::cerr << "quillon: " << message << '\n';
    return status;
}

int usageError(std::string_view command, const std::string& message) {
    // One line like every error; the command's help is one "quillon help" away.
    (void)command;
    return fail(message, kExitUsage);
}

}  // namespace quillon
