// The process start: the application object, the runtime's windowing side,
// the program's entry routine, and the orderly end after it returns.
#pragma once

#include "runtime/program_image.h"

namespace velmora {

class WindowLayer;

using EntryRoutine = int (*)();

// Runs the program described by `header` from its entry routine and answers
// the process exit code: 0 after an orderly end. Fatal errors and
// ExitProgram end the process from inside instead. `windows` may be null
// while no window layer exists; loading a window then fails.
int RunProgram(int& argc, char** argv, const ProgramHeader& header, EntryRoutine entry,
               WindowLayer* windows);

}  // namespace velmora
