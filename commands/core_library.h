// The core library: texts, files, dialogs, automation objects and the standard controls.
#pragma once

#include "runtime/program_image.h"

namespace velmora::commands {

// The record the program image lists for this library.
const LibraryRecord& CoreLibrary();

}  // namespace velmora::commands
