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

int runEncode(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return quillon::usageError(
            "encode", quillon::text("usage: quillon encode FILE", "Aufruf: quillon encode DATEI"));
    }
    airspace::LoadResult result;
    if (!quillon::loadAirspaces(args[0], result)) return quillon::kExitFailure;

    if (quillon::settings().json) {
        quillon::JsonWriter json(std::cout);
        json.beginObject().key("file").value(args[0]).key("airspaces").beginArray();
        for (std::size_t i = 0; i < result.records.size(); ++i) {
            const auto& record = result.records[i];
            json.beginObject().key("index").value(i).key("name").value(record.name);
            json.key("size").value(record.encodedSize()).key("bytes").value(hexOf(record));
            json.endObject();
        }
        json.endArray().endObject();
        return std::cout.good() ? quillon::kExitOk : quillon::kExitFailure;
    }
    for (std::size_t i = 0; i < result.records.size(); ++i) {
        const auto& record = result.records[i];
        std::cout << std::to_string(i) + '\t' + std::to_string(record.encodedSize()) + '\t' +
                         hexOf(record) + '\n';
    }
    return std::cout.good() ? quillon::kExitOk : quillon::kExitFailure;
}

}  // namespace

quillon::Command quillon::encodeCommand() {
    return {"encode",
            "encode FILE",
            text("Print each airspace of an OpenAir FILE: index, size and the encoded bytes in "
                 "hexadecimal",
                 "Jeden Luftraum einer OpenAir-DATEI ausgeben: Index, Größe und die kodierten "
                 "Bytes hexadezimal"),
            runEncode,
            {},
            {"quillon encode alps.txt", "quillon encode --json alps.txt"},
            Json::Yes};
}
