#include "flashwizard/core/LinkState.h"

namespace flashwizard {

// The parameter bytes are the loader chip's own baud-rate divider settings for the crystal the
// instrument carries; they are passed on without interpretation.
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
