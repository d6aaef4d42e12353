// The batch command's program image: the collector's constants and the two
// libraries that need no window; no window block, no outside function.
#pragma once

#include "runtime/program_image.h"

namespace velmora::app {

const ProgramHeader& BatchProgramImage();

}  // namespace velmora::app
