// The special-functions library (library index 3): the responsive wait.
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace velmora::net {

// (milliseconds) -> none. Returns after at least that long, handling the
// window system's events all the while, so that a click during the wait runs
// its handler before the wait returns. Between events the thread sleeps. A
// quit request stays in force for the loop that owns it. Returns at once,
// handling nothing, for 0 or less. Events are reached through the runtime
// (runtime/runtime_link.h); once the library has ended the wait only sleeps.
void ResponsiveDelay(ValueRecord* result, int count, ValueRecord* args);

}  // namespace velmora::net
