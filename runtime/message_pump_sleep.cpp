#include <chrono>
#include <thread>

#include "runtime/message_pump.h"

namespace velmora {

// A program without windows has nothing queued for it: waiting is sleeping.
void ProcessPendingMessages() {}

void WaitForMessages(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace velmora
