// The browser-control library: the embedded browser.
#pragma once

#include "runtime/program_image.h"

namespace velmora::controls {

// The record the program image lists for this library.
const LibraryRecord& BrowserLibrary();
// The runtime as this library reaches it once the runtime has started it.
const RuntimeLink& BrowserLibraryRuntime();

}  // namespace velmora::controls
