// The runtime's side of waiting: handling what is queued for the user
// interface thread, and sleeping until something arrives. The program picks
// one of two builds when it links: message_pump.cpp works through the Qt
// application's event dispatcher (without one there is nothing to handle and
// waiting is a plain sleep); message_pump_sleep.cpp, for a program without
// windows, only sleeps.
#pragma once

namespace velmora {

// Delivers every event that is already queued, through the application's
// normal path. A request to quit is left in force for the loop that owns it.
void ProcessPendingMessages();

// Blocks until at least one event arrives or `milliseconds` pass, and handles
// what arrived. Returns at once for 0 or less.
void WaitForMessages(int milliseconds);

}  // namespace velmora
