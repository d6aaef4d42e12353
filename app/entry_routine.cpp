#include "app/entry_routine.h"

#include <cstdint>

#include "app/collector_globals.h"
#include "runtime/entry_table.h"

namespace velmora::app {
namespace {
constexpr uint32_t kStartupWindow = 0x52010001;
}

void StartProgram() {
    const EntryTable& runtime = Entries();
    runtime.RuntimeService(kServiceInitialise, 0, nullptr);
    // Calls on x86-64 start with the direction flag clear and the floating-point
    // state at its defaults, and the program has no global initialiser or
    // start-up routine of its own, so the next step is the end routine.
    const uint64_t endRoutine = reinterpret_cast<uintptr_t>(&FreeGlobals);
    runtime.RuntimeService(kServiceSetEndRoutine, 1, &endRoutine);
}

void StartProgramWindow() {
    StartProgram();
    Entries().LoadWindow(kStartupWindow);
}

int ApplicationEntry() {
    StartProgramWindow();
    Entries().RunMessageLoop();
    return 0;
}

}  // namespace velmora::app
