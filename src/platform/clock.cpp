#include "platform/clock.h"

#include <thread>

namespace kalvo {

TimePoint SystemClock::now() const {
    return std::chrono::steady_clock::now();
}

void SystemClock::sleepUntil(TimePoint t) {
    std::this_thread::sleep_until(t);
}

}  // namespace kalvo
