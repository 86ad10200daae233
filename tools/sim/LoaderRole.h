// The instrument's serial download loader, as quillon-sim plays it (role "loader").
//
// It listens at 9600 baud after power-up and after every identification request, answers the
// identification with the 25-byte reply of its chip model, and takes the checksummed command
// packets: erase, write a record into its 64 KiB program memory, switch the rate (with the
// model's own parameters only), start the program, deactivate. Every packet is answered with
// 0x06 or refused with 0x07. The program memory can be written out as an Intel HEX file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/sim/Role.h"

namespace quillon_sim {

inline constexpr std::uint8_t kLoaderAck = 0x06;
inline constexpr std::uint8_t kLoaderNak = 0x07;
inline constexpr std::size_t kLoaderMemorySize = 0x10000;

// The 25-byte identification reply of a chip model 800 … 899 ("ADI 832   V2.1\r\n…" and its
// checksum).
[[nodiscard]] std::vector<std::uint8_t> LoaderIdentReply(unsigned model);

// The rate command's parameters that a chip model accepts; none for a model without a fast rate.
struct LoaderRates {
    std::array<std::uint8_t, 2> slow;  // back to 9600
    std::array<std::uint8_t, 2> fast;  // to 115200
};
[[nodiscard]] std::optional<LoaderRates> LoaderRatesOfModel(unsigned model);

// How the program memory takes a write over bytes written since the last erase.
enum class Rewrite {
    // As flash does: programming can only clear bits, so each byte becomes the AND of what it
    // held and what was sent, and the loader accepts the write when that equals what was sent.
    // The same record written twice (after a lost acknowledgement) is accepted.
    FlashLike,
    // Any byte written since the erase refuses the whole write (quillon-sim --strict-rewrite).
    Strict,
};

// The program memory: what has been written since the last erase.
class LoaderMemory {
public:
    explicit LoaderMemory(Rewrite rewrite = Rewrite::FlashLike);
    void Erase();
    // False when the memory does not hold the data afterwards: beyond the memory (nothing
    // written), a bit that programming cannot set (the bytes are programmed all the same), or,
    // under Rewrite::Strict, a byte written since the erase (nothing written).
    [[nodiscard]] bool Write(std::uint16_t address, const std::uint8_t* data, std::size_t count);
    [[nodiscard]] bool IsWritten(std::size_t address) const { return written_[address]; }
    [[nodiscard]] std::uint8_t At(std::size_t address) const { return bytes_[address]; }
    [[nodiscard]] std::size_t WrittenCount() const;
    // Intel HEX lines of the written bytes, at most 16 a record, the end record last.
    [[nodiscard]] std::vector<std::string> HexLines() const;

private:
    Rewrite rewrite_;
    std::vector<std::uint8_t> bytes_;
    std::vector<bool> written_;
};

}  // namespace quillon_sim
