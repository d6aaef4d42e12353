// The browser control's command (browser-control library, index 1).
#pragma once

#include "runtime/value.h"

namespace velmora::controls {

// HtmlViewer, address, help file (optional), target frame (optional).
void Navigate(ValueRecord* result, int count, ValueRecord* args);

}  // namespace velmora::controls
