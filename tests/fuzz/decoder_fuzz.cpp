// The decoder and the instrument's split of an upload on any bytes: the preview and the
// simulated store meet whatever a file or a line may hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "airspace/OutlineDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    (void)airspace::decodeOutline(bytes);
    std::size_t end = 0;
    for (const airspace::EncodedAirspace& found : airspace::splitEncodedAirspaces(bytes)) {
        // Airspaces follow one another inside the stream, none overlapping the next.
        if (found.offset < end || found.offset + found.length > size) std::abort();
        end = found.offset + found.length;
        (void)airspace::decodeOutline(bytes.subspan(found.offset, found.length));
    }
    return 0;
}
