// quillon list FILE...: the airspace list exactly as the setup dialog shows it, with the totals.
#include <algorithm>
#include <cstddef>
#include <iostream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceRecord.h"
#include "tools/quillon/command.h"
#include "tools/quillon/input.h"
#include "tools/quillon/json.h"
#include "tools/quillon/texts.h"

namespace {

void printJson(const std::vector<std::string>& paths, const airspace::FilesLoadResult& loaded) {
    const std::vector<airspace::AirspaceRecord>& records = loaded.records;
    std::size_t totalBytes = 0;
    quillon::JsonWriter json(std::cout);
    json.beginObject().key("file").value(paths[0]);
    quillon::writeFilesJson(json, paths, loaded);
    json.key("airspaces").beginArray();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& record = records[i];
        json.beginObject().key("index").value(i);
        json.key("class").value(record.airspaceClass).key("name").value(record.name);
        json.key("floor").value(record.floor).key("ceiling").value(record.ceiling);
        json.key("size").value(record.encodedSize());
        quillon::writeAirspaceFacts(json, record, paths);
        json.endObject();
        totalBytes += record.encodedSize();
    }
    json.endArray();
    json.key("bytes").value(totalBytes).key("blocks").value(airspace::blocksFor(totalBytes));
    json.endObject();
}

int runList(const std::vector<std::string>& given) {
    std::vector<std::string> args;
    bool numbered = false;
    for (const std::string& arg : given) {
        if (arg == "--index") {
            numbered = true;
        } else {
            args.push_back(arg);
        }
    }
    if (args.empty()) {
        return quillon::usageError("list",
                                   quillon::text("usage: quillon list FILE... [--index]",
                                                 "Aufruf: quillon list DATEI... [--index]",
                                                 "usage : quillon list FICHIER... [--index]"));
    }
    airspace::FilesLoadResult result;
    if (!quillon::loadAirspaces(args, result)) return quillon::kExitFailure;
    // Files without any airspace (a photo, a HEX file) are listed, empty, and are a failure.
    const int status = result.records.empty() ? quillon::kExitFailure : quillon::kExitOk;
    if (quillon::settings().json) {
        printJson(args, result);
        return std::cout.good() ? status : quillon::kExitFailure;
    }

    // The index, as send --select and preview take it, in a column of its own in front.
    const std::size_t width =
        std::to_string(result.records.empty() ? 0 : result.records.size() - 1).size();
    auto indexColumn = [&](const std::string& index) {
        return numbered ? std::string(width - std::min(width, index.size()), ' ') + index + ' '
                        : std::string();
    };
    std::size_t totalBytes = 0;
    std::cout << indexColumn("") << airspace::airspaceListHeader() << '\n';
    for (std::size_t i = 0; i < result.records.size(); ++i) {
        const auto& record = result.records[i];
        std::cout << indexColumn(std::to_string(i)) << record.listLine() << '\n';
        totalBytes += record.encodedSize();
    }
    std::cout << result.records.size()
              << (result.records.size() == 1 ? " airspace, " : " airspaces, ") << totalBytes
              << " bytes, " << airspace::blocksFor(totalBytes) << " blocks\n";
    // With several files: where the lines came from, and what was listed once.
    if (args.size() > 1) {
        std::size_t first = 0;
        for (std::size_t file = 0; file < args.size(); ++file) {
            const auto from = static_cast<std::size_t>(
                std::count_if(result.records.begin(), result.records.end(),
                              [&](const auto& r) { return r.fileIndex == file; }));
            std::cout << args[file] << ": ";
            if (from == 0) {
                std::cout << quillon::text("no lines", "keine Zeilen", "aucune ligne");
            } else {
                std::cout << quillon::text("lines ", "Zeilen ", "lignes ") << first << "-"
                          << first + from - 1;
            }
            std::cout << " (" << result.counts[file]
                      << quillon::text(" airspaces", " Lufträume", " espaces aériens");
            if (result.counts[file] > from) {
                std::cout << ", " << result.counts[file] - from
                          << quillon::text(" already in an earlier file",
                                           " schon in einer früheren Datei",
                                           " déjà dans un fichier précédent");
            }
            std::cout << ")\n";
            first += from;
        }
    }
    return std::cout.good() ? status : quillon::kExitFailure;
}

}  // namespace

quillon::Command quillon::listCommand() {
    return {"list",
            "list FILE... [--index]",
            text("List the airspaces of OpenAir FILEs as the setup dialog does, with the total "
                 "bytes and blocks; an airspace in several files is listed once",
                 "Die Lufträume von OpenAir-DATEIen wie der Einstellungsdialog auflisten, mit den "
                 "Bytes und Blöcken insgesamt; ein Luftraum in mehreren Dateien einmal",
                 "Lister les espaces aériens de FICHIERs OpenAir comme la fenêtre de "
                 "configuration, avec le total d'octets et de blocs ; un espace présent dans "
                 "plusieurs fichiers n'est listé qu'une fois"),
            runList,
            {{"--index", text("put each line's index (0 = first) in front of it",
                              "den Index jeder Zeile (0 = erste) davor setzen",
                              "placer l'indice de chaque ligne (0 = la première) devant elle")}},
            {"quillon list alps.txt", "quillon list --json alps.txt",
             "quillon list --index FR.txt CH.txt IT.txt"},
            Json::Yes};
}
