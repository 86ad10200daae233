// The instrument's airspace store, as quillon-sim plays it (role "store").
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillon_sim {

inline constexpr std::size_t kStoreBlockSize = 14;
inline constexpr long long kStoreCapacityBlocks = 228;
inline constexpr std::uint8_t kStoreLastBlock = 0xF7;
inline constexpr std::uint8_t kStoreAccepted = 0x51;  // "Q"
inline constexpr std::uint8_t kStoreRefused = 0x4E;   // "N"

// The report lines for one completed upload: blocks and bytes, then each airspace found in the
// image with its size and points, when the airspace decoder is built in.
[[nodiscard]] std::vector<std::string> DescribeUpload(std::span<const std::uint8_t> image,
                                                      int uploadNumber);

}  // namespace quillon_sim
