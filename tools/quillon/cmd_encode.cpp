// quillon encode FILE: every airspace's encoding as the instrument would store it, one per line.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceRecord.h"
#include "tools/quillon/command.h"

namespace {

int runEncode(const std::vector<std::string>& args) {
    if (args.size() != 1) return quillon::fail("usage: quillon encode FILE", 2);
    const airspace::LoadResult result = airspace::loadAirspaceFile(args[0]);
    if (result.status == airspace::LoadStatus::SystemError) {
        return quillon::fail("cannot read '" + args[0] + "': " + result.systemErrorText);
    }
    if (result.status != airspace::LoadStatus::Ok) {
        return quillon::fail("cannot read '" + args[0] +
                             "': the file could not be read completely");
    }

    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line;
    for (std::size_t i = 0; i < result.records.size(); ++i) {
        const auto& record = result.records[i];
        line = std::to_string(i) + '\t' + std::to_string(record.encodedSize()) + '\t';
        // The stored bytes, without the end flags that only an upload's copy carries.
        for (const std::uint8_t byte : record.storedBytes()) {
            line += kDigits[byte >> 4];
            line += kDigits[byte & 0x0F];
        }
        line += '\n';
        std::cout << line;
    }
    return std::cout.good() ? 0 : 1;
}

}  // namespace

quillon::Command quillon::encodeCommand() {
    return {
        "encode", "encode FILE",
        "Print each airspace of an OpenAir FILE: index, size and the encoded bytes in hexadecimal",
        runEncode};
}
