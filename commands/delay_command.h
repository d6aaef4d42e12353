// The core library's plain delay, which needs no window.
#pragma once

#include "runtime/value.h"

namespace velmora::commands {

// (milliseconds) -> none: the thread sleeps; nothing is painted or handled.
void Delay(ValueRecord* result, int count, ValueRecord* args);

}  // namespace velmora::commands
