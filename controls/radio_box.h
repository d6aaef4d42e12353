// RadioBox: a radio button; event 0 is the click. Checking one unchecks
// every other radio button with the same parent, and only those.
#pragma once

#include "runtime/data_type.h"

namespace velmora::controls {

inline constexpr int32_t kRadioBoxClicked = 0;

enum RadioBoxProperty : int {
    kRadioBoxChecked = 1,  // 9
};

InterfaceRoutine RadioBoxInterface(int request);

}  // namespace velmora::controls
