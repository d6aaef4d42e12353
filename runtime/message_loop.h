// The message loop's rules; the windowing side does the pumping.
#pragma once

#include <cstdint>

namespace velmora {

// The RunMessageLoop slot: runs while at least one window of the program
// lives; returns at once when none does.
void RunMessageLoop();

// A window has been destroyed: when it was the last one and the loop runs,
// the loop ends (and with it the program, exit code 0).
void WindowDestroyed(uint32_t windowId);

}  // namespace velmora
