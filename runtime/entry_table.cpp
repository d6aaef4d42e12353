#include "runtime/entry_table.h"

#include <string>

#include "runtime/command_call.h"
#include "runtime/heap.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_service.h"
#include "runtime/runtime_texts.h"
#include "runtime/window_builder.h"

namespace velmora {
namespace {

// Slots whose behaviour arrives with later parts of the runtime: they end the
// program with a clear report rather than pretend to work.
[[noreturn]] void Unavailable(const char* slot) {
    FatalRuntimeMessage(std::string(slot) + " is not available in this build");
}

void RaiseRuntimeErrorSlot(int) {
    Unavailable("RaiseRuntimeError");
}
uint64_t CallDllCommandSlot(int, int, const uint64_t*) {
    Unavailable("CallDllCommand");
}
uint64_t ReadPropertySlot(uint32_t, uint32_t, int, int) {
    Unavailable("ReadProperty");
}
void WritePropertySlot(uint32_t, uint32_t, int, int, uint32_t, uint32_t) {
    Unavailable("WriteProperty");
}
void ExitProgramSlot(int) {
    Unavailable("ExitProgram");
}
void RunMessageLoopSlot() {
    Unavailable("RunMessageLoop");
}
// The application loads its start-up window here: non-modal, no owner.
void LoadWindowSlot(uint32_t windowId) {
    if (!LoadWindow(windowId)) FatalRuntimeMessage(texts::kStartupWindowFailed);
}

const EntryTable kEntryTable = {
    RaiseRuntimeErrorSlot,
    CallDllCommandSlot,
    CallLibraryCommand,
    CallCoreCommand,
    ReadPropertySlot,
    WritePropertySlot,
    Allocate,
    Reallocate,
    Free,
    ExitProgramSlot,
    RunMessageLoopSlot,
    LoadWindowSlot,
    RuntimeService,
};

}  // namespace

const EntryTable& Entries() {
    return kEntryTable;
}

}  // namespace velmora
