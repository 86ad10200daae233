// The OpenAir reader and the encoder on any text. Beyond not crashing: every airspace that keeps
// bytes is found again, whole and in order, when the instrument splits the flagged stream that an
// upload would carry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/OutlineDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<airspace::AirspaceRecord> records = airspace::parseAirspaces(text);

    std::vector<const airspace::AirspaceRecord*> kept;
    for (const airspace::AirspaceRecord& record : records) {
        if (record.encodedSize() != record.storedBytes().size()) std::abort();
        if (record.encodedSize() > 0) kept.push_back(&record);
    }
    std::vector<std::uint8_t> stream;
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        offsets.push_back(stream.size());
        const std::vector<std::uint8_t> bytes = kept[i]->encodedBytes(i + 1 == kept.size());
        if (bytes.size() != kept[i]->encodedSize()) std::abort();
        stream.insert(stream.end(), bytes.begin(), bytes.end());
    }
    stream.resize((stream.size() + 13) / 14 * 14, 0);  // padded to whole blocks, as sent

    const std::vector<airspace::EncodedAirspace> found = airspace::splitEncodedAirspaces(stream);
    if (found.size() != kept.size()) std::abort();
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (found[i].offset != offsets[i] || found[i].length != kept[i]->encodedSize() ||
            !found[i].complete || found[i].lastAirspace != (i + 1 == found.size())) {
            std::abort();
        }
        (void)airspace::decodeOutline(*kept[i]);
    }
    return 0;
}
