#include "net/responsive_delay.h"

#include <chrono>
#include <thread>

#include "runtime/notification.h"

namespace velmora::net {
namespace {

NotificationRoutine runtimeNotify = nullptr;

using Clock = std::chrono::steady_clock;

void ProcessPending() {
    if (runtimeNotify) runtimeNotify(kNotifyProcessMessages, 0, 0);
}

void WaitAtMost(Clock::duration left) {
    // Rounded up: waking a little late costs nothing, waking early costs a round.
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    if (runtimeNotify) {
        runtimeNotify(kNotifyWaitForMessages, static_cast<uintptr_t>(ms), 0);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

}  // namespace

void ResponsiveDelay(ValueRecord*, int count, ValueRecord* args) {
    const int32_t milliseconds = count > 0 ? args[0].Int() : 0;
    if (milliseconds <= 0) return;
    // A monotonic clock: no wrap-around, and no jump when the wall clock is set.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        ProcessPending();
        ProcessPending();
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return;
        ProcessPending();
        ProcessPending();
        WaitAtMost(deadline - now);
    }
}

intptr_t SpecialFunctionsNotify(int code, uintptr_t word1, uintptr_t) {
    if (code == kLibraryStart) runtimeNotify = reinterpret_cast<NotificationRoutine>(word1);
    // Once the runtime has ended there is no message pump to reach.
    if (code == kLibraryEnding) runtimeNotify = nullptr;
    return 0;
}

}  // namespace velmora::net
