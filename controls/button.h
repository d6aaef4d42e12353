// Button: a push button; event 0 is the click.
#pragma once

#include "runtime/data_type.h"

namespace velmora::controls {

inline constexpr int32_t kButtonClicked = 0;

InterfaceRoutine ButtonInterface(int request);

}  // namespace velmora::controls
