#include "net/responsive_delay.h"

#include <chrono>
#include <thread>

#include "runtime/command_arguments.h"
#include "runtime/notification.h"
#include "runtime/runtime_link.h"

namespace velmora::net {
namespace {

using Clock = std::chrono::steady_clock;

void ProcessPending() {
    CallRuntime(kNotifyProcessMessages);
}

void WaitAtMost(Clock::duration left) {
    // Rounded up: waking a little late costs nothing, waking early costs a round.
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    if (RuntimeReachable()) {
        CallRuntime(kNotifyWaitForMessages, static_cast<uintptr_t>(ms));
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

}  // namespace

void ResponsiveDelay(ValueRecord*, int count, ValueRecord* args) {
    const int32_t milliseconds = CommandArguments(count, args)[0].Int();
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

}  // namespace velmora::net
