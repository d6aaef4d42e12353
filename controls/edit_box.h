// EditBox: a single-line or multi-line text box; event 0 is a change of its
// content. Switching between the two forms rebuilds the control.
#pragma once

#include "runtime/data_type.h"

namespace velmora::controls {

// Type-specific property indices, counted from 8.
enum EditBoxProperty : int {
    kEditBoxContent = 0,        // 8
    kEditBoxHideSelection = 5,  // 13
    kEditBoxMultiLine = 7,      // 15
};

InterfaceRoutine EditBoxInterface(int request);

}  // namespace velmora::controls
