#include "flashwizard/core/LinkState.h"

namespace flashwizard {

// The loader chip's own settings for each rate; the wizard passes them on without interpreting
// them, so a chip model without an entry never leaves 9600 baud.
RateTable DefaultSlowRateParams() {
    return RateTable{
        {831, {0x85, 0x08}},
        {832, {0x85, 0x2D}},
        {842, {0x85, 0x2D}},
    };
}

RateTable DefaultFastRateParams() {
    return RateTable{
        {831, {0x81, 0x20}},
        {832, {0x82, 0x09}},
        {842, {0x82, 0x09}},
    };
}

}  // namespace flashwizard
