// quillon check FILE: what a pilot needs to know about a file before sending or flashing it.
// OpenAir: every line that stopped an airspace, every coordinate that added no point, every
// airspace without bytes, compiler-style. Intel HEX: the first line the wizard would refuse.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "airspace/Selection.h"
#include "seriallink/HexFile.h"
#include "tools/quillon/command.h"
#include "tools/quillon/input.h"
#include "tools/quillon/json.h"
#include "tools/quillon/texts.h"

namespace {

using airspace::ReadProblemKind;

const char* kindKey(ReadProblemKind kind) {
    switch (kind) {
        case ReadProblemKind::StoppedParse:
            return "stopped-parse";
        case ReadProblemKind::PointIgnored:
            return "point-ignored";
        case ReadProblemKind::NoBytes:
            return "no-bytes";
        case ReadProblemKind::UnknownLine:
            return "unknown-line";
        case ReadProblemKind::NoAirspace:
            return "no-airspace";
        case ReadProblemKind::BadValue:
            return "bad-value";
        case ReadProblemKind::FormatRule:
            return "format-rule";
    }
    return "unknown";
}

std::string noAirspaceText() {
    return quillon::text("no airspace found (is this an OpenAir file?)",
                         "kein Luftraum gefunden (ist das eine OpenAir-Datei?)",
                         "aucun espace aérien trouvé (est-ce bien un fichier OpenAir ?)");
}

int checkHex(const std::string& path) {
    std::vector<std::string> lines;
    const seriallink::HexVerdict verdict = seriallink::ReadHexFile(path, lines);
    if (quillon::settings().json) {
        quillon::JsonWriter json(std::cout);
        json.beginObject().key("file").value(path).key("format").value("hex");
        json.key("ok").value(verdict.ok());
        if (verdict.ok()) {
            json.key("records").value(lines.size());
        } else {
            json.key("problem").value(quillon::hexProblemKey(verdict.problem));
            json.key("line").value(verdict.line);
            json.key("what").value(quillon::hexProblemText({verdict.problem, 0}));
        }
        json.endObject();
    } else if (verdict.ok()) {
        if (!quillon::settings().quiet()) {
            std::cout << path
                      << quillon::text(": valid firmware, ", ": gültige Firmware, ",
                                       " : firmware valide, ")
                      << lines.size()
                      << quillon::text(" records\n", " Datensätze\n", " enregistrements\n");
        }
    } else {
        const bool missingEnd = verdict.problem == seriallink::HexProblem::MissingEnd;
        std::cout << path;
        if (verdict.line != 0 && !missingEnd) std::cout << ':' << verdict.line;
        std::cout << ": "
                  << quillon::hexProblemText(
                         {verdict.problem, missingEnd ? verdict.line : std::size_t{0}})
                  << '\n';
    }
    return verdict.ok() ? quillon::kExitOk : quillon::kExitFailure;
}

int checkOpenAir(const std::string& path) {
    airspace::LoadResult loaded;
    // The check lists the missing airspace among its problems: no second warning.
    if (!quillon::loadAirspaces(path, loaded, false)) return quillon::kExitFailure;
    std::ifstream file(path, std::ios::binary);
    const std::string contents((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    airspace::OpenAirHeader header;
    std::vector<airspace::ReadProblem> problems = airspace::checkAirspaceText(contents, &header);
    bool noAirspace = false;
    for (const auto& problem : problems) noAirspace |= problem.kind == ReadProblemKind::NoAirspace;
    if (loaded.records.empty() && !noAirspace) {
        problems.push_back({0, ReadProblemKind::NoAirspace, "", noAirspaceText()});
    }

    // Keywords the reader does not use are legal OpenAir: shown with -v, never a failure. What
    // breaks a rule of OpenAir 2.0 only is a warning: the instrument reads it all the same.
    const bool showUnknown = quillon::settings().verbose();
    std::size_t counted = 0;
    std::size_t warnings = 0;
    for (const auto& problem : problems) {
        counted += problem.kind != ReadProblemKind::UnknownLine &&
                   problem.kind != ReadProblemKind::FormatRule;
        warnings += problem.kind == ReadProblemKind::FormatRule;
    }

    if (quillon::settings().json) {
        quillon::JsonWriter json(std::cout);
        json.beginObject().key("file").value(path).key("format").value("openair");
        json.key("airspaces").value(loaded.records.size());
        json.key("version");
        if (header.version.empty()) {
            json.null();
        } else {
            json.value(header.version);
        }
        json.key("ok").value(counted == 0).key("warnings").value(warnings);
        json.key("problems").beginArray();
        for (const auto& problem : problems) {
            if (problem.kind == ReadProblemKind::UnknownLine && !showUnknown) continue;
            json.beginObject().key("line").value(problem.line);
            json.key("kind").value(kindKey(problem.kind));
            json.key("airspace").value(problem.airspaceName);
            json.key("what").value(problem.what).endObject();
        }
        json.endArray().endObject();
        return counted == 0 ? quillon::kExitOk : quillon::kExitFailure;
    }

    std::ostringstream out;
    if (!header.version.empty() && !quillon::settings().quiet()) {
        out << path << ": OpenAir " << header.version;
        if (!header.writtenBy.empty()) {
            out << quillon::text(", written by ", ", geschrieben von ", ", écrit par ")
                << header.writtenBy;
        }
        out << '\n';
    }
    for (const auto& problem : problems) {
        if (problem.kind == ReadProblemKind::UnknownLine && !showUnknown) continue;
        out << path;
        if (problem.line != 0) out << ':' << problem.line;
        out << ": ";
        if (problem.kind == ReadProblemKind::NoAirspace) {
            out << quillon::text("warning: ", "Warnung: ", "attention : ") << noAirspaceText()
                << '\n';
            continue;
        }
        if (problem.kind == ReadProblemKind::FormatRule) {
            out << quillon::text("warning: ", "Warnung: ", "attention : ");
        }
        if (!problem.airspaceName.empty()) out << problem.airspaceName << ": ";
        out << problem.what << '\n';
    }
    if (counted == 0 && !quillon::settings().quiet()) {
        out << path << quillon::text(": ", ": ", " : ") << loaded.records.size()
            << quillon::text(" airspaces, no problems found", " Lufträume, keine Probleme gefunden",
                             " espaces aériens, aucun problème trouvé");
        if (warnings > 0) {
            out << " (" << warnings
                << quillon::text(" warnings)", " Warnungen)", " avertissements)");
        }
        out << '\n';
    }
    std::cout << out.str();
    return counted == 0 ? quillon::kExitOk : quillon::kExitFailure;
}

int runCheck(const std::vector<std::string>& args) {
    if (args.size() != 1 || (!args[0].empty() && args[0][0] == '-' && args[0] != "-")) {
        return quillon::usageError(
            "check", quillon::text("usage: quillon check FILE", "Aufruf: quillon check DATEI",
                                   "usage : quillon check FICHIER"));
    }
    return quillon::looksLikeHex(args[0]) ? checkHex(args[0]) : checkOpenAir(args[0]);
}

}  // namespace

quillon::Command quillon::checkCommand() {
    return {
        "check",
        "check FILE",
        text("Check an OpenAir or Intel HEX FILE and name every line the programs would stumble "
             "over",
             "Eine OpenAir- oder Intel-HEX-DATEI prüfen und jede Zeile nennen, über die die "
             "Programme stolpern würden",
             "Vérifier un FICHIER OpenAir ou Intel HEX et citer chaque ligne qui poserait problème "
             "aux programmes"),
        runCheck,
        {},
        {"quillon check alps.txt", "quillon check -v alps.txt",
         "quillon check --json firmware.hex"},
        Json::Yes};
}
