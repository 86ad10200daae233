// quillon select FILE... [options]: which airspaces of the files matter near a take-off, and which
// of them fit into the instrument, as a table or as JSON. Its indexes are those send --select
// takes.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/Selection.h"
#include "tools/quillon/command.h"
#include "tools/quillon/input.h"
#include "tools/quillon/json.h"
#include "tools/quillon/selection_options.h"
#include "tools/quillon/texts.h"

namespace {

const char* kUsage =
    "usage: quillon select FILE... [--near LAT,LON] [--radius 50km] [--type R,P,CTR] "
    "[--below FL100] [--name TEXT] [--date DAY] [--no-notam-only] [--fit [BYTES]] "
    "[--simplify 100m]";

// Columns on a terminal: UTF-8 characters when the text is UTF-8, bytes otherwise.
std::size_t columnsOf(const std::string& text) {
    if (!airspace::isValidUtf8(text)) return text.size();
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string padded(const std::string& text, std::size_t width) {
    const std::size_t columns = columnsOf(text);
    return columns >= width ? text : text + std::string(width - columns, ' ');
}

std::string distanceText(const airspace::AirspaceMatch& match) {
    if (!match.distanceKm) return "-";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", *match.distanceKm);
    return buffer;
}

bool isIn(const std::vector<std::size_t>& sorted, std::size_t index) {
    return std::binary_search(sorted.begin(), sorted.end(), index);
}

void printTable(const std::vector<airspace::AirspaceRecord>& records,
                const quillon::SelectionOptions& options,
                const quillon::SelectionOutcome& outcome) {
    using quillon::text;
    std::size_t typeWidth = 4;
    std::size_t nameWidth = 4;
    std::size_t floorWidth = 5;
    std::size_t ceilingWidth = 7;
    for (const auto& match : outcome.matches) {
        const auto& r = records[match.index];
        typeWidth = std::max(typeWidth, columnsOf(airspace::airspaceType(r)));
        nameWidth = std::max(nameWidth, columnsOf(r.name) + (match.notamOnly ? 2 : 0));
        floorWidth = std::max(floorWidth, columnsOf(r.floor));
        ceilingWidth = std::max(ceilingWidth, columnsOf(r.ceiling));
    }
    char lead[48];
    std::snprintf(lead, sizeof lead, "%5s %8s  ", text("Index", "Index").c_str(),
                  text("km", "km").c_str());
    std::cout << lead << padded(text("Type", "Typ"), typeWidth) << "  "
              << padded(text("Name", "Name"), nameWidth) << "  "
              << padded(text("Floor", "Boden"), floorWidth) << "  "
              << padded(text("Ceiling", "Decke"), ceilingWidth) << "  " << text("Size", "Größe")
              << (options.fit ? text("  Kept", "  Behalten") : "") << '\n';
    for (const auto& match : outcome.matches) {
        const auto& r = records[match.index];
        std::snprintf(lead, sizeof lead, "%5zu %8s  ", match.index, distanceText(match).c_str());
        std::cout << lead << padded(airspace::airspaceType(r), typeWidth) << "  "
                  << padded(r.name + (match.notamOnly ? " !" : ""), nameWidth) << "  "
                  << padded(r.floor + (match.floorUnknown ? "?" : ""), floorWidth) << "  "
                  << padded(r.ceiling, ceilingWidth) << "  ";
        char size[16];
        std::snprintf(size, sizeof size, "%5zu", r.encodedSize());
        std::cout << size;
        if (options.fit) {
            std::cout << "  "
                      << (isIn(outcome.fit.selected, match.index) ? text("yes", "ja")
                                                                  : text("no", "nein"));
        }
        std::cout << '\n';
    }
    const std::size_t unknown =
        static_cast<std::size_t>(std::count_if(outcome.matches.begin(), outcome.matches.end(),
                                               [](const auto& m) { return m.floorUnknown; }));
    std::cout << outcome.matches.size() << text(" matched, ", " passend, ")
              << outcome.fit.selected.size() << text(" selected", " ausgewählt");
    if (options.fit) {
        std::cout << ", " << outcome.fit.leftOut.size()
                  << text(" left out for lack of space", " mangels Platz weggelassen");
    }
    std::cout << "; " << outcome.fit.bytes << text(" bytes, ", " Bytes, ") << outcome.fit.blocks()
              << text(" blocks of ", " Blöcke von ") << airspace::kDeviceBlockCount << '\n';
    const std::size_t notamOnly = static_cast<std::size_t>(std::count_if(
        outcome.matches.begin(), outcome.matches.end(), [](const auto& m) { return m.notamOnly; }));
    if (notamOnly > 0) {
        std::cout << notamOnly
                  << text(" active only when a NOTAM says so: check the NOTAMs (marked !)\n",
                          " nur aktiv, wenn ein NOTAM es sagt: NOTAMs prüfen (mit ! markiert)\n");
    }
    if (unknown > 0) {
        std::cout << unknown
                  << text(" kept although their floor could not be read (marked ?)\n",
                          " behalten, obwohl ihre Untergrenze nicht lesbar ist (mit ? markiert)\n");
    }
}

void printJson(const std::vector<std::string>& paths, const airspace::FilesLoadResult& loaded,
               const quillon::SelectionOptions& options, const quillon::SelectionOutcome& outcome) {
    const std::vector<airspace::AirspaceRecord>& records = loaded.records;
    quillon::JsonWriter json(std::cout);
    json.beginObject().key("file").value(paths[0]);
    quillon::writeFilesJson(json, paths, loaded);
    json.key("date");
    if (options.criteria.activeDuring) {
        json.value(airspace::flyingDatesText(*options.criteria.activeDuring));
    } else {
        json.null();
    }
    json.key("matched").value(outcome.matches.size());
    auto indexes = [&](const char* name, const std::vector<std::size_t>& list) {
        json.key(name).beginArray();
        for (const std::size_t i : list) json.value(i);
        json.endArray();
    };
    indexes("selected", outcome.fit.selected);
    indexes("left_out", outcome.fit.leftOut);
    json.key("bytes").value(outcome.fit.bytes).key("blocks").value(outcome.fit.blocks());
    json.key("budget");
    if (options.fit) {
        json.value(options.budget);
    } else {
        json.null();
    }
    std::vector<std::size_t> unknown;
    for (const auto& m : outcome.matches) {
        if (m.floorUnknown) unknown.push_back(m.index);
    }
    indexes("unknown_floor", unknown);
    json.key("airspaces").beginArray();
    for (const auto& match : outcome.matches) {
        const auto& r = records[match.index];
        // Whole metres: exact enough for a pilot, and no float formatting in the document.
        json.beginObject().key("index").value(match.index).key("distance_m");
        if (match.distanceKm) {
            json.value(static_cast<long long>(*match.distanceKm * 1000.0 + 0.5));
        } else {
            json.null();
        }
        json.key("class").value(r.airspaceClass);
        json.key("name").value(r.name).key("floor").value(r.floor).key("ceiling").value(r.ceiling);
        json.key("size")
            .value(r.encodedSize())
            .key("plain_size")
            .value(outcome.plainSizes[match.index]);
        json.key("selected").value(isIn(outcome.fit.selected, match.index));
        json.key("floor_unknown").value(match.floorUnknown);
        quillon::writeAirspaceFacts(json, r, paths);
        json.endObject();
    }
    json.endArray().endObject();
}

int runSelect(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    quillon::SelectionOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string error;
        switch (quillon::readSelectionOption(args, i, options, error)) {
            case quillon::OptionRead::Taken:
                continue;
            case quillon::OptionRead::Bad:
                return quillon::usageError("select", error);
            case quillon::OptionRead::NotMine:
                break;
        }
        if (args[i].rfind("--", 0) == 0) {
            return quillon::usageError(
                "select", quillon::text("unexpected argument '", "unerwartetes Argument '") +
                              args[i] + "'\n" + kUsage);
        }
        files.push_back(args[i]);
    }
    if (files.empty()) return quillon::usageError("select", kUsage);

    airspace::FilesLoadResult loaded;
    if (!quillon::loadAirspaces(files, loaded)) return quillon::kExitFailure;
    const quillon::SelectionOutcome outcome = quillon::applySelection(loaded.records, options);
    if (quillon::settings().json) {
        printJson(files, loaded, options, outcome);
    } else {
        printTable(loaded.records, options, outcome);
    }
    return std::cout.good() ? quillon::kExitOk : quillon::kExitFailure;
}

}  // namespace

quillon::Command quillon::selectCommand() {
    return {"select",
            "select FILE... [--near LAT,LON] [--radius 50km] [--type R,P,CTR] [--below FL100] "
            "[--name TEXT] [--date DAY] [--no-notam-only] [--fit [BYTES]] [--simplify 100m]",
            text("Choose the airspaces of FILEs near a take-off, of some types, below a height or "
                 "active on a day, and fit them into the instrument",
                 "Lufträume der DATEIen nahe einem Startplatz, nach Typ, unter einer Höhe oder an "
                 "einem Tag aktiv wählen und in das Gerät einpassen"),
            runSelect,
            selectionOptionHelp(),
            {"quillon select alps.txt --near 46.7,7.6 --radius 50km --below FL100 --fit",
             "quillon select nz.txt --near -41.3,174.8 --type R,P,CTR --fit --json",
             "quillon select FR.txt CH.txt IT.txt --near 45.9,6.9 --date today --fit"},
            Json::Yes};
}
