// The extended-UI library: the report list control.
#pragma once

#include "runtime/program_image.h"

namespace velmora::controls {

// The record the program image lists for this library.
const LibraryRecord& ExtendedUiLibrary();
// The runtime as this library reaches it once the runtime has started it.
const RuntimeLink& ExtendedUiLibraryRuntime();

}  // namespace velmora::controls
