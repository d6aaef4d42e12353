// The process start of a program without windows: no application object, no
// host, no window layer. Waits only sleep and fatal reports go to standard
// error alone.
#pragma once

#include "runtime/program_image.h"
#include "runtime/program_start.h"

namespace velmora {

// Runs the program from its entry routine, then the orderly end; answers 0.
// Fatal errors and ExitProgram end the process from inside instead.
int RunWindowlessProgram(const ProgramHeader& header, EntryRoutine entry);

}  // namespace velmora
