// The special-functions library (library index 3): the responsive wait.
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace velmora::net {

// (milliseconds) -> none. Returns after at least that long, handling the
// window system's events all the while, so that a click during the wait runs
// its handler before the wait returns. Between events the thread sleeps. A
// quit request stays in force for the loop that owns it. Returns at once,
// handling nothing, for 0 or less.
void ResponsiveDelay(ValueRecord* result, int count, ValueRecord* args);

// The library's notification routine. Request 1 hands it the runtime's
// notification entry, through which the wait reaches the message pump; until
// then, and after the library's ending, the wait can only sleep.
intptr_t SpecialFunctionsNotify(int code, uintptr_t word1, uintptr_t word2);

}  // namespace velmora::net
