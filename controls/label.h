// Label: a static caption.
#pragma once

#include "runtime/data_type.h"

namespace velmora::controls {

InterfaceRoutine LabelInterface(int request);

}  // namespace velmora::controls
