// The application's program image: the header the runtime starts from.
#pragma once

#include "runtime/program_image.h"

namespace velmora::app {

const ProgramHeader& ProgramImage();

}  // namespace velmora::app
