#include "seriallink/Timing.h"

#include <thread>

namespace seriallink {
namespace {

class ThreadSleeper : public Sleeper {
public:
    void Sleep(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }
};

}  // namespace

Sleeper& SystemSleeper() {
    static ThreadSleeper sleeper;
    return sleeper;
}

}  // namespace seriallink
