// The state of the link to the instrument's serial download loader, shared by the device search
// and the update sequence.
#pragma once

#include <cstdint>
#include <map>

namespace flashwizard {

// The two parameter bytes of the loader's rate command, sent unchanged as P1 P2.
struct RateParams {
    std::uint8_t p1 = 0;
    std::uint8_t p2 = 0;

    friend bool operator==(const RateParams&, const RateParams&) = default;
};

// Chip model (831, 832, 842) to the rate command's parameters.
using RateTable = std::map<unsigned, RateParams>;

inline constexpr unsigned kSlowBaud = 9600;
inline constexpr unsigned kFastBaud = 115200;

[[nodiscard]] RateTable DefaultSlowRateParams();  // 9600 baud
[[nodiscard]] RateTable DefaultFastRateParams();  // 115200 baud

struct LinkState {
    RateTable slowRateParams = DefaultSlowRateParams();
    RateTable fastRateParams = DefaultFastRateParams();

    // Set by every identification reply whose fixed bytes are right; 0 when its digits are not.
    unsigned chipModel = 0;
    // The model has rate parameters. Identification only ever sets it; the update clears it when
    // the switch to the fast rate fails, so the rest of that pass stays at the rate it has.
    bool chipKnown = false;
    // PC port and loader run at 115200 baud.
    bool fastRate = false;
};

}  // namespace flashwizard
