// Button: a push button; event 0 is the click.
#pragma once

#include "runtime/data_type.h"

namespace velmora::controls {

InterfaceRoutine ButtonInterface(int request);

}  // namespace velmora::controls
