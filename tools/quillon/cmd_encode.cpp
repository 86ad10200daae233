// quillon encode FILE: every airspace's encoding as the instrument would store it, one per line.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceRecord.h"
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
                                    "Aufruf: quillon encode DATEI... [Auswahloptionen]"));
    }
    airspace::FilesLoadResult result;
    if (!quillon::loadAirspaces(args, result)) return quillon::kExitFailure;
    // With selection options only the chosen airspaces are printed, with their simplified bytes
    // where --simplify is given; without, every airspace as it always was.
    std::vector<std::size_t> shown;
    if (options.choosing()) {
        shown = quillon::applySelection(result.records, options).fit.selected;
    } else {
        for (std::size_t i = 0; i < result.records.size(); ++i) shown.push_back(i);
        quillon::simplifyRecords(result.records, shown, options.simplifyMetres);
    }

    if (quillon::settings().json) {
        quillon::JsonWriter json(std::cout);
        json.beginObject().key("file").value(args[0]).key("airspaces").beginArray();
        for (const std::size_t i : shown) {
            const auto& record = result.records[i];
            json.beginObject().key("index").value(i).key("name").value(record.name);
            json.key("size").value(record.encodedSize()).key("bytes").value(hexOf(record));
            json.endObject();
        }
        json.endArray().endObject();
        return std::cout.good() ? quillon::kExitOk : quillon::kExitFailure;
    }
    for (const std::size_t i : shown) {
        const auto& record = result.records[i];
        std::cout << std::to_string(i) + '\t' + std::to_string(record.encodedSize()) + '\t' +
                         hexOf(record) + '\n';
    }
    return std::cout.good() ? quillon::kExitOk : quillon::kExitFailure;
}

}  // namespace

quillon::Command quillon::encodeCommand() {
    return {"encode",
            "encode FILE... [--near LAT,LON ... as select] [--simplify 100m]",
            text("Print each airspace of an OpenAir FILE: index, size and the encoded bytes in "
                 "hexadecimal",
                 "Jeden Luftraum einer OpenAir-DATEI ausgeben: Index, Größe und die kodierten "
                 "Bytes hexadezimal"),
            runEncode,
            quillon::selectionOptionHelp(),
            {"quillon encode alps.txt", "quillon encode --json alps.txt"},
            Json::Yes};
}
