// Writes the seed corpora of the fuzz targets from the project's samples and from inputs made
// here (encodings, an upload's frames, a loader session), so that nothing binary is kept in
// the repository:  fuzz_make_seeds SAMPLES_DIR OUT_DIR
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/OutlineDecoder.h"
#include "bench/NationalAirspace.h"
#include "seriallink/AirspacePort.h"
#include "seriallink/HexFile.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& dir, const std::string& name, const Bytes& bytes) {
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

Bytes Of(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes LoaderPacket(char letter, const Bytes& params) {
    Bytes packet{0x07, 0x0E, static_cast<std::uint8_t>(params.size() + 1),
                 static_cast<std::uint8_t>(letter)};
    packet.insert(packet.end(), params.begin(), params.end());
    unsigned sum = 0;
    for (std::size_t i = 2; i < packet.size(); ++i) sum += packet[i];
    packet.push_back(static_cast<std::uint8_t>((0x100 - sum % 0x100) % 0x100));
    return packet;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_make_seeds SAMPLES_DIR OUT_DIR\n");
        return 2;
    }
    const fs::path samples(argv[1]);
    const fs::path out(argv[2]);
    const std::string openAir = ReadFile(samples / "demo.txt");
    const std::string hex = ReadFile(samples / "demo-firmware.hex");
    if (openAir.empty() || hex.empty()) {
        std::fprintf(stderr, "samples missing in %s\n", argv[1]);
        return 1;
    }

    Write(out / "openair", "demo.txt", Of(openAir));
    Write(out / "hexfile", "demo-firmware.hex", Of(hex));
    Write(out / "hexfile", "end-only.hex", Of(":00000001FF\r\n"));

    // Every airspace's encoding, and the flagged stream of all of them as an upload sends it.
    const std::vector<airspace::AirspaceRecord> records = airspace::parseAirspaces(openAir);
    Bytes stream;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Bytes bytes = records[i].encodedBytes(i + 1 == records.size());
        if (bytes.empty()) continue;
        Write(out / "decoder", "airspace-" + std::to_string(i), bytes);
        stream.insert(stream.end(), bytes.begin(), bytes.end());
    }
    stream.resize((stream.size() + 13) / 14 * 14, 0);
    Write(out / "decoder", "upload-stream", stream);

    // Simplification and cutting: defective outlines as the instrument holds them, as walks of
    // steps after the tolerance, the radius and where the take-off lies.
    using National = airspace::bench::NationalAirspace;
    const struct {
        const char* name;
        National::Defect defect;
        std::uint8_t tolerance, radius, north;
    } walks[] = {
        {"pinch", National::Defect::FigureEightPinch, 45, 5, 0},
        {"hole", National::Defect::MeetsItself, 15, 8, 10},
        {"spikes", National::Defect::Spikes, 95, 3, 250},
        {"zigzag", National::Defect::ZigZag, 5, 2, 4},
    };
    const auto walkOf = [](const std::vector<airspace::GeoPoint>& held, Bytes seed) {
        airspace::GeoPoint last(7 * 6000, 46 * 6000);
        for (std::size_t i = 0; i < held.size() && i < 3000; ++i) {
            const auto east = static_cast<std::uint16_t>(
                static_cast<std::int16_t>(std::clamp(held[i].lon - last.lon, -32768, 32767)));
            const auto north = static_cast<std::uint16_t>(
                static_cast<std::int16_t>(std::clamp(held[i].lat - last.lat, -32768, 32767)));
            seed.insert(
                seed.end(),
                {static_cast<std::uint8_t>(east & 0xFF), static_cast<std::uint8_t>(east >> 8),
                 static_cast<std::uint8_t>(north & 0xFF), static_cast<std::uint8_t>(north >> 8)});
            last = held[i];
        }
        return seed;
    };
    for (const auto& walk : walks) {
        const std::string text = National::defectiveAirspace(walk.defect, 1, 46.3, 7.2, 5);
        const std::vector<airspace::GeoPoint> held =
            airspace::decodeOutlinePoints(airspace::parseAirspaces(text).at(0));
        Write(out / "simplify", walk.name, walkOf(held, {walk.tolerance, walk.radius, walk.north}));
    }
    // A control zone written as a polygon of its circle: 60 points 4 km out, whole seconds (5/3
    // units), at 250 m.
    std::vector<airspace::GeoPoint> circle;
    for (int i = 0; i < 60; ++i) {
        const double a = 2.0 * 3.141592653589793 * i / 60;
        const auto second = [](double units) {
            return static_cast<std::int32_t>(std::lround(units * 0.6) * 5 / 3);
        };
        circle.emplace_back(second(7.2 * 6000 + 216.0 * std::sin(a) / std::cos(46.3 * 0.0174533)),
                            second(46.3 * 6000 + 216.0 * std::cos(a)));
    }
    Write(out / "simplify", "circle", walkOf(circle, {45, 10, 0}));

    // The store role (first byte even): the query, then the stream block by block.
    Bytes store{0x00, 0x11};
    const Bytes query = seriallink::airspaceport::MakeFrame(Bytes{'n'});
    store.insert(store.end(), query.begin(), query.end());
    const std::size_t blocks = stream.size() / 14;
    for (std::size_t k = 0; k < blocks; ++k) {
        Bytes payload{'N', static_cast<std::uint8_t>(k + 1 == blocks ? 0xF7 : k)};
        payload.insert(payload.end(), stream.begin() + static_cast<long>(14 * k),
                       stream.begin() + static_cast<long>(14 * k + 14));
        const Bytes frame = seriallink::airspaceport::MakeFrame(payload);
        store.insert(store.end(), frame.begin(), frame.end());
    }
    Write(out / "sim_roles", "store-upload", store);

    // The loader role (first byte odd): identification, erase, the sample's records, start.
    Bytes loader{0x01, 0x07, 0x21, 0x5A, 0x00, 0xA6};
    const auto append = [&loader](const Bytes& b) {
        loader.insert(loader.end(), b.begin(), b.end());
    };
    append(LoaderPacket('C', {}));
    append(LoaderPacket('B', {0x82, 0x09}));
    std::vector<std::string> lines;
    const fs::path hexCopy = out / "hexfile" / "demo-firmware.hex";
    if (seriallink::LoadHexFile(hexCopy.string(), lines)) {
        for (const std::string& line : lines) {
            std::string bytes;
            if (line == seriallink::kHexEndRecord ||
                !seriallink::HexToBytes(std::string_view(line).substr(1), bytes) ||
                bytes.size() < 5) {
                continue;
            }
            Bytes params{0x00, static_cast<std::uint8_t>(bytes[1]),
                         static_cast<std::uint8_t>(bytes[2])};
            params.insert(params.end(), bytes.begin() + 4, bytes.end() - 1);
            append(LoaderPacket('W', params));
        }
    }
    append(LoaderPacket('B', {0x85, 0x2D}));
    append(LoaderPacket('U', {0x00, 0x00, 0x00}));
    Write(out / "sim_roles", "loader-session", loader);
    return 0;
}
