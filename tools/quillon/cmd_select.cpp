// quillon select FILE... [options]: which airspaces of the files matter near a take-off, and which
// of them fit into the instrument, as a table or as JSON. Its indexes are those send --select
// takes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/FitPlan.h"
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
    "[--simplify 100m|auto[:MAX]] [--clip [MARGIN]] [--pin 3,17] [--exclude 9] [--prefer CTR,R,P]";

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

std::string distanceText(const airspace::PlannedAirspace& planned) {
    if (!planned.distanceKm) return "-";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", *planned.distanceKm);
    return buffer;
}

// What the plan did to one airspace, in words after its line ("shares 12, 250 m, cut, 2 pieces");
// empty when nothing, so that a plain fit prints its lines as it always did.
std::string planNote(const airspace::PlannedAirspace& planned) {
    using quillon::text;
    std::vector<std::string> notes;
    if (planned.pinned) notes.push_back(text("always", "immer", "toujours"));
    if (planned.excluded) notes.push_back(text("never", "nie", "jamais"));
    if (planned.sharedWith) {
        notes.push_back(text("shares ", "teilt ", "contour de ") +
                        std::to_string(*planned.sharedWith));
    }
    if (planned.toleranceMetres > 0.0) {
        char metres[32];
        std::snprintf(metres, sizeof metres, "%g m", planned.toleranceMetres);
        notes.push_back(metres);
    }
    if (planned.clipped) notes.push_back(text("cut", "geschnitten", "découpé"));
    if (planned.pieces > 1) {
        notes.push_back(std::to_string(planned.pieces) + text(" pieces", " Teile", " morceaux"));
    }
    if (!planned.keptOriginal.empty()) {
        notes.push_back(text("original kept: ", "Original behalten: ", "original gardé : ") +
                        planned.keptOriginal);
    }
    std::string note;
    for (const std::string& part : notes) note += (note.empty() ? "" : ", ") + part;
    return note;
}

// The size of its line: its outlines as they would be sent, before any sharing.
std::size_t sizeOf(const airspace::PlannedAirspace& planned) {
    return planned.excluded ? planned.plainBytes : planned.outlineBytes;
}

void printTable(const std::vector<airspace::AirspaceRecord>& records,
                const quillon::SelectionOptions& options, const airspace::FitPlan& plan) {
    using quillon::text;
    std::size_t typeWidth = 4;
    std::size_t nameWidth = 4;
    std::size_t floorWidth = 5;
    std::size_t ceilingWidth = 7;
    for (const auto& planned : plan.airspaces) {
        const auto& r = records[planned.index];
        typeWidth = std::max(typeWidth, columnsOf(airspace::airspaceType(r)));
        nameWidth = std::max(nameWidth, columnsOf(r.name) + (r.notamOnly ? 2 : 0));
        floorWidth = std::max(floorWidth, columnsOf(r.floor));
        ceilingWidth = std::max(ceilingWidth, columnsOf(r.ceiling));
    }
    char lead[48];
    std::snprintf(lead, sizeof lead, "%5s %8s  ", text("Index", "Index", "Index").c_str(),
                  text("km", "km", "km").c_str());
    std::cout << lead << padded(text("Type", "Typ", "Type"), typeWidth) << "  "
              << padded(text("Name", "Name", "Nom"), nameWidth) << "  "
              << padded(text("Floor", "Boden", "Plancher"), floorWidth) << "  "
              << padded(text("Ceiling", "Decke", "Plafond"), ceilingWidth) << "  "
              << text("Size", "Größe", "Taille")
              << (options.fit ? text("  Kept", "  Behalten", "  Gardé") : "") << '\n';
    for (const auto& planned : plan.airspaces) {
        const auto& r = records[planned.index];
        std::snprintf(lead, sizeof lead, "%5zu %8s  ", planned.index,
                      distanceText(planned).c_str());
        std::cout << lead << padded(airspace::airspaceType(r), typeWidth) << "  "
                  << padded(r.name + (r.notamOnly ? " !" : ""), nameWidth) << "  "
                  << padded(r.floor + (planned.floorUnknown ? "?" : ""), floorWidth) << "  "
                  << padded(r.ceiling, ceilingWidth) << "  ";
        char size[16];
        std::snprintf(size, sizeof size, "%5zu", sizeOf(planned));
        std::cout << size;
        if (options.fit) {
            std::cout << "  "
                      << (planned.selected ? text("yes", "ja", "oui") : text("no", "nein", "non"));
        }
        const std::string note = planNote(planned);
        if (!note.empty()) std::cout << "  " << note;
        std::cout << '\n';
    }
    const std::size_t unknown =
        static_cast<std::size_t>(std::count_if(plan.airspaces.begin(), plan.airspaces.end(),
                                               [](const auto& p) { return p.floorUnknown; }));
    std::cout << quillon::planSummary(plan) << '\n';
    const std::size_t notamOnly = static_cast<std::size_t>(
        std::count_if(plan.airspaces.begin(), plan.airspaces.end(),
                      [&](const auto& p) { return records[p.index].notamOnly; }));
    if (notamOnly > 0) {
        std::cout << notamOnly
                  << text(" active only when a NOTAM says so: check the NOTAMs (marked !)\n",
                          " nur aktiv, wenn ein NOTAM es sagt: NOTAMs prüfen (mit ! markiert)\n",
                          " actifs seulement par NOTAM : consultez les NOTAM (marqués !)\n");
    }
    if (unknown > 0) {
        std::cout << unknown
                  << text(" kept although their floor could not be read (marked ?)\n",
                          " behalten, obwohl ihre Untergrenze nicht lesbar ist (mit ? markiert)\n",
                          " gardés bien que leur plancher soit illisible (marqués ?)\n");
    }
}

void printJson(const std::vector<std::string>& paths, const airspace::FilesLoadResult& loaded,
               const quillon::SelectionOptions& options, const airspace::FitPlan& plan) {
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
    json.key("matched").value(plan.matched);
    auto indexes = [&](const char* name, const std::vector<std::size_t>& list) {
        json.key(name).beginArray();
        for (const std::size_t i : list) json.value(i);
        json.endArray();
    };
    // Whole metres: exact enough for a pilot, and no float formatting in the document.
    auto metres = [](double value) { return static_cast<long long>(std::llround(value)); };
    indexes("selected", plan.selected);
    indexes("left_out", plan.leftOut);
    json.key("bytes").value(plan.bytes).key("blocks").value(plan.blocks());
    json.key("budget");
    if (options.fit) {
        json.value(options.budget);
    } else {
        json.null();
    }
    json.key("tolerance_m").value(metres(plan.toleranceMetres));
    std::vector<std::size_t> unknown;
    for (const auto& p : plan.airspaces) {
        if (p.floorUnknown) unknown.push_back(p.index);
    }
    indexes("unknown_floor", unknown);
    json.key("airspaces").beginArray();
    for (const auto& planned : plan.airspaces) {
        const auto& r = records[planned.index];
        json.beginObject().key("index").value(planned.index).key("distance_m");
        if (planned.distanceKm) {
            json.value(metres(*planned.distanceKm * 1000.0));
        } else {
            json.null();
        }
        json.key("class").value(r.airspaceClass);
        json.key("name").value(r.name).key("floor").value(r.floor).key("ceiling").value(r.ceiling);
        json.key("size").value(sizeOf(planned)).key("plain_size").value(planned.plainBytes);
        json.key("selected").value(planned.selected);
        json.key("floor_unknown").value(planned.floorUnknown);
        json.key("pinned").value(planned.pinned).key("excluded").value(planned.excluded);
        json.key("sent_bytes").value(planned.sentBytes).key("shared_with");
        if (planned.sharedWith) {
            json.value(*planned.sharedWith);
        } else {
            json.null();
        }
        json.key("tolerance_m").value(metres(planned.toleranceMetres));
        json.key("clipped").value(planned.clipped).key("pieces").value(planned.pieces);
        json.key("kept_original");
        if (planned.keptOriginal.empty()) {
            json.null();
        } else {
            json.value(planned.keptOriginal);
        }
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
                "select", quillon::text("unexpected argument '", "unerwartetes Argument '",
                                        "argument inattendu '") +
                              args[i] + "'\n" + kUsage);
        }
        files.push_back(args[i]);
    }
    if (files.empty()) return quillon::usageError("select", kUsage);

    airspace::FilesLoadResult loaded;
    if (!quillon::loadAirspaces(files, loaded)) return quillon::kExitFailure;
    const std::string problem = quillon::selectionOptionsProblem(options, loaded.records.size());
    if (!problem.empty()) return quillon::usageError("select", problem);
    const airspace::FitPlan plan = quillon::planSelection(loaded.records, options);
    if (quillon::settings().json) {
        printJson(files, loaded, options, plan);
    } else {
        printTable(loaded.records, options, plan);
    }
    return std::cout.good() ? quillon::kExitOk : quillon::kExitFailure;
}

}  // namespace

quillon::Command quillon::selectCommand() {
    return {"select",
            "select FILE... [--near LAT,LON] [--radius 50km] [--type R,P,CTR] [--below FL100] "
            "[--name TEXT] [--date DAY] [--no-notam-only] [--fit [BYTES]] "
            "[--simplify 100m|auto[:MAX]] [--clip [MARGIN]] [--pin 3,17] [--exclude 9] "
            "[--prefer CTR,R,P]",
            text("Choose the airspaces of FILEs near a take-off, of some types, below a height or "
                 "active on a day, and fit them into the instrument",
                 "Lufträume der DATEIen nahe einem Startplatz, nach Typ, unter einer Höhe oder an "
                 "einem Tag aktiv wählen und in das Gerät einpassen",
                 "Choisir les espaces aériens des FICHIERs autour d'un décollage, de certains "
                 "types, sous une hauteur ou actifs un jour donné, et les faire tenir dans "
                 "l'instrument"),
            runSelect,
            selectionOptionHelp(),
            {"quillon select alps.txt --near 46.7,7.6 --radius 50km --below FL100 --fit",
             "quillon select nz.txt --near -41.3,174.8 --type R,P,CTR --fit --json",
             "quillon select alps.txt --near 46.7,7.6 --fit --simplify auto --clip --pin 12",
             "quillon select FR.txt CH.txt IT.txt --near 45.9,6.9 --date today --fit"},
            Json::Yes};
}
