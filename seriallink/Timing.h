// Waiting, behind an interface so that tests can make the fixed pauses of the protocols instant
// while the product keeps them exact.
#pragma once

#include <chrono>

namespace seriallink {

class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

// Really sleeps; the default everywhere.
[[nodiscard]] Sleeper& SystemSleeper();

}  // namespace seriallink
