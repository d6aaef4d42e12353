// Start-up: the process start, runtime initialisation (service 6), the end
// routine (service 3) and loading the start-up window.
#pragma once

#include <cstdint>

#include "runtime/program_image.h"
#include "runtime/runtime_state.h"

namespace velmora {

class RuntimeHost;
class WindowLayer;

// Process start, before the program's entry routine: the program to run, the
// windowing side (either may be null) and the program directory with its separator.
void BeginProgram(const ProgramHeader& header, RuntimeHost* host, WindowLayer* windows);

// Service 6: reads the program header into the runtime, starts the libraries
// and reads the window descriptions. A malformed description block is fatal.
void InitialiseRuntime();

// Service 3: the routine that runs once at an orderly shutdown.
void SetEndRoutine(ProgramRoutine routine);

// The entry table's LoadWindow slot; a window that cannot be loaded is fatal.
void LoadWindowSlot(uint32_t windowId);

}  // namespace velmora
