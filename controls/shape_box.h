// ShapeBox: a drawn rectangle, rounded rectangle or ellipse.
#pragma once

#include "runtime/data_type.h"

namespace velmora::controls {

InterfaceRoutine ShapeBoxInterface(int request);

}  // namespace velmora::controls
