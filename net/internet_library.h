// The internet library: the page reader.
#pragma once

#include "runtime/program_image.h"

namespace velmora::net {

// The record the program image lists for this library.
const LibraryRecord& InternetLibrary();

}  // namespace velmora::net
