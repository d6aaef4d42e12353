// Waiting where no window system delivers events: nothing is ever queued, so
// a wait is a plain sleep.
#include <chrono>
#include <thread>

#include "runtime/message_pump.h"

namespace velmora {

void ProcessPendingMessages() {}

void WaitForMessages(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace velmora
