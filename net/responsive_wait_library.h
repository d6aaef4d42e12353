// The special-functions library: the responsive wait.
#pragma once

#include "runtime/program_image.h"

namespace velmora::net {

// The record the program image lists for this library.
const LibraryRecord& SpecialFunctionsLibrary();

}  // namespace velmora::net
