// The instrument's airspace store, as quillon-sim plays it (role "store").
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace quillon_sim {

inline constexpr std::size_t kStoreBlockSize = 14;
inline constexpr long long kStoreCapacityBlocks = 228;
inline constexpr std::uint8_t kStoreLastBlock = 0xF7;
inline constexpr std::uint8_t kStoreAccepted = 0x51;  // "Q"
inline constexpr std::uint8_t kStoreRefused = 0x4E;   // "N"

// The encodings of known airspaces, as an upload carries them (with or without the
// last-airspace flag), to the airspace's class and name. The encoding itself has no names.
using AirspaceNames = std::map<std::vector<std::uint8_t>, std::string>;

// Reads the names from the OpenAir file the pilot uploads from. false when the file cannot be
// read or the airspace library is not built in.
[[nodiscard]] bool LoadAirspaceNames(const std::string& path, AirspaceNames& out);

// The report lines for one completed upload: blocks and bytes, then each airspace found in the
// image with its size and points (and its name, when names has its encoding), when the airspace
// decoder is built in.
[[nodiscard]] std::vector<std::string> DescribeUpload(std::span<const std::uint8_t> image,
                                                      int uploadNumber,
                                                      const AirspaceNames* names = nullptr);

}  // namespace quillon_sim
