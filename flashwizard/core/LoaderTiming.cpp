#include "flashwizard/core/LoaderTiming.h"

#include <algorithm>

namespace flashwizard {

LoaderTiming LoaderTiming::Scaled(int divisor) {
    LoaderTiming t;
    for (Milliseconds* value :
         {&t.identifyQuiet, &t.reopenSettle, &t.commandReadTimeout, &t.commandPause,
          &t.recordReadTimeout, &t.recordPause, &t.stepPause, &t.passPause, &t.searchPause}) {
        *value = std::max(Milliseconds{1}, *value / divisor);
    }
    return t;
}

}  // namespace flashwizard
