// Every pause and time-out of the loader protocol, the device search and the update sequence.
//
// The product always runs with the defaults below, the fixed waits of the loader protocol. Tests
// hand in a copy with shorter values so that a full update over a pseudo-terminal runs in a
// fraction of a second. These are durations only: every wait is spent through the port
// (SerialPort::Sleep, on its back end), so a fake back end skips them all.
#pragma once

#include <chrono>

namespace flashwizard {

using Milliseconds = std::chrono::milliseconds;

struct LoaderTiming {
    // Silence that ends the identification reply.
    Milliseconds identifyQuiet{500};
    // After the port is reopened at another rate, before the next byte goes out: the port and
    // the loader both settle at the new rate first.
    Milliseconds reopenSettle{1000};

    // One-byte commands (erase, start, deactivate, rate switch).
    Milliseconds commandReadTimeout{500};
    Milliseconds commandPause{500};
    unsigned commandAttempts = 3;

    // One record write: a single exchange, repeated by the download itself.
    Milliseconds recordReadTimeout{500};
    Milliseconds recordPause{500};

    // Between two attempts of an update step, and once more before a new pass.
    Milliseconds stepPause{500};
    Milliseconds passPause{500};

    // Between two identifications of the device search.
    Milliseconds searchPause{500};

    // Every wait divided by divisor (at least 1 ms), for tests that run whole updates against a
    // simulated loader; the attempt counts stay.
    [[nodiscard]] static LoaderTiming Scaled(int divisor);
};

}  // namespace flashwizard
