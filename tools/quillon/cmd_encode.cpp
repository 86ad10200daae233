// quillon encode FILE: every airspace's encoding as the instrument would store it, one per line.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceRecord.h"
#include "airspace/FitPlan.h"
#include "tools/quillon/command.h"
#include "tools/quillon/input.h"
#include "tools/quillon/json.h"
#include "tools/quillon/selection_options.h"
#include "tools/quillon/texts.h"

namespace {

// The stored bytes, without the end flags that only an upload's copy carries.
std::string hexOf(const airspace::AirspaceRecord& record) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const std::uint8_t byte : record.storedBytes()) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

int runEncode(const std::vector<std::string>& given) {
    std::vector<std::string> args;
    quillon::SelectionOptions options;
    for (std::size_t i = 0; i < given.size(); ++i) {
        std::string error;
        const quillon::OptionRead read = quillon::readSelectionOption(given, i, options, error);
        if (read == quillon::OptionRead::Bad) return quillon::usageError("encode", error);
        if (read == quillon::OptionRead::NotMine) args.push_back(given[i]);
    }
    if (args.empty()) {
        return quillon::usageError(
            "encode", quillon::text("usage: quillon encode FILE... [selection options]",
                                    "Aufruf: quillon encode DATEI... [Auswahloptionen]",
                                    "usage : quillon encode FICHIER... [options de sélection]"));
    }
    airspace::FilesLoadResult result;
    if (!quillon::loadAirspaces(args, result)) return quillon::kExitFailure;
    // With selection options the outlines that would be sent, one line each: the pieces of a cut
    // airspace repeat its index, an outline shared by several airspaces is printed once, under
    // the first. Without, every airspace as it always was (simplified where --simplify is given).
    struct Line {
        std::size_t index;
        const airspace::AirspaceRecord* record;
    };
    std::vector<Line> lines;
    airspace::FitPlan plan;
    if (options.planned()) {
        const std::string problem =
            quillon::selectionOptionsProblem(options, result.records.size());
        if (!problem.empty()) return quillon::usageError("encode", problem);
        plan = quillon::planSelection(result.records, options);
        for (const auto& outline : plan.outlines) lines.push_back({outline.index, &outline.record});
    } else {
        std::vector<std::size_t> all;
        for (std::size_t i = 0; i < result.records.size(); ++i) all.push_back(i);
        quillon::simplifyRecords(result.records, all, options.simplifyMetres);
        for (const std::size_t i : all) lines.push_back({i, &result.records[i]});
    }

    if (quillon::settings().json) {
        quillon::JsonWriter json(std::cout);
        json.beginObject().key("file").value(args[0]).key("airspaces").beginArray();
        for (const Line& line : lines) {
            const auto& record = *line.record;
            json.beginObject().key("index").value(line.index);
            json.key("name").value(result.records[line.index].name);
            json.key("size").value(record.encodedSize()).key("bytes").value(hexOf(record));
            json.endObject();
        }
        json.endArray().endObject();
        return std::cout.good() ? quillon::kExitOk : quillon::kExitFailure;
    }
    for (const Line& line : lines) {
        const auto& record = *line.record;
        std::cout << std::to_string(line.index) + '\t' + std::to_string(record.encodedSize()) +
                         '\t' + hexOf(record) + '\n';
    }
    return std::cout.good() ? quillon::kExitOk : quillon::kExitFailure;
}

}  // namespace

quillon::Command quillon::encodeCommand() {
    return {"encode",
            "encode FILE... [--near LAT,LON ... as select] [--simplify 100m|auto[:MAX]] [--clip]",
            text("Print each airspace of an OpenAir FILE: index, size and the encoded bytes in "
                 "hexadecimal; with selection options, each outline that would be sent (the "
                 "pieces of a cut airspace under its index, a shared outline once)",
                 "Jeden Luftraum einer OpenAir-DATEI ausgeben: Index, Größe und die kodierten "
                 "Bytes hexadezimal; mit Auswahloptionen jeden Umriss, der gesendet würde (die "
                 "Teile eines geschnittenen Luftraums unter seinem Index, einen geteilten "
                 "Umriss einmal)",
                 "Afficher chaque espace aérien d'un FICHIER OpenAir : indice, taille et octets "
                 "encodés en hexadécimal ; avec des options de sélection, chaque contour qui "
                 "serait envoyé (les morceaux d'un espace découpé sous son indice, un contour "
                 "partagé une seule fois)"),
            runEncode,
            quillon::selectionOptionHelp(),
            {"quillon encode alps.txt", "quillon encode --json alps.txt",
             "quillon encode alps.txt --near 46.7,7.6 --fit --simplify auto --clip"},
            Json::Yes};
}
