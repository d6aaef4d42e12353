// GroupBox: a captioned frame that holds other controls.
#pragma once

#include "runtime/data_type.h"

namespace velmora::controls {

InterfaceRoutine GroupBoxInterface(int request);

}  // namespace velmora::controls
