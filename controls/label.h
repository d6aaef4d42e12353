// Label: a static caption.
#pragma once

#include "runtime/data_type.h"

namespace velmora::controls {

inline constexpr int32_t kLabelClicked = 0;

InterfaceRoutine LabelInterface(int request);

}  // namespace velmora::controls
