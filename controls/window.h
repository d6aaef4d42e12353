// The window type: a top-level window whose stored size is its outer size.
// Event 1 asks whether it may close; 2 reports its destruction; 3 and 4 a
// move and a resize.
#pragma once

#include "runtime/data_type.h"

namespace velmora::controls {

InterfaceRoutine WindowInterface(int request);

// The frame a border style draws around the client area, the same on every
// platform so that the stored layout fits with or without a window manager.
struct FrameSize {
    int side;
    int top;  // border plus caption
    int bottom;
};
FrameSize FrameOf(uint32_t borderStyle);

}  // namespace velmora::controls
