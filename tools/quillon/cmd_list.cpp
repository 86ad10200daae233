// quillon list FILE: the airspace list exactly as the setup dialog shows it, with the totals.
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

void printJson(const std::string& path, const std::vector<airspace::AirspaceRecord>& records) {
    std::size_t totalBytes = 0;
    quillon::JsonWriter json(std::cout);
    json.beginObject().key("file").value(path).key("airspaces").beginArray();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& record = records[i];
        json.beginObject().key("index").value(i);
        json.key("class").value(record.airspaceClass).key("name").value(record.name);
        json.key("floor").value(record.floor).key("ceiling").value(record.ceiling);
        json.key("size").value(record.encodedSize()).endObject();
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
    if (args.size() != 1) {
        return quillon::usageError("list", quillon::text("usage: quillon list FILE [--index]",
                                                         "Aufruf: quillon list DATEI [--index]",
                                                         "usage : quillon list FICHIER [--index]"));
    }
    airspace::LoadResult result;
    if (!quillon::loadAirspaces(args[0], result)) return quillon::kExitFailure;
    // A file without any airspace (a photo, a HEX file) is listed, empty, and is a failure.
    const int status = result.records.empty() ? quillon::kExitFailure : quillon::kExitOk;
    if (quillon::settings().json) {
        printJson(args[0], result.records);
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
    return std::cout.good() ? status : quillon::kExitFailure;
}

}  // namespace

quillon::Command quillon::listCommand() {
    return {"list",
            "list FILE [--index]",
            text("List the airspaces of an OpenAir FILE as the setup dialog does, with the total "
                 "bytes and blocks",
                 "Die Lufträume einer OpenAir-DATEI wie der Einstellungsdialog auflisten, mit den "
                 "Bytes und Blöcken insgesamt",
                 "Lister les espaces aériens d'un FICHIER OpenAir comme la fenêtre de "
                 "configuration, avec le total d'octets et de blocs"),
            runList,
            {{"--index", text("put each line's index (0 = first) in front of it",
                              "den Index jeder Zeile (0 = erste) davor setzen",
                              "placer l'indice de chaque ligne (0 = la première) devant elle")}},
            {"quillon list alps.txt", "quillon list --json alps.txt"},
            Json::Yes};
}
