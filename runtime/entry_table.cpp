#include "runtime/entry_table.h"

#include "runtime/command_call.h"
#include "runtime/dll_commands.h"
#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_service.h"
#include "runtime/runtime_state.h"
#include "runtime/runtime_texts.h"
#include "runtime/shutdown.h"
#include "runtime/startup.h"
#include "runtime/window_layer.h"

namespace velmora {
namespace {

// Properties live in the window layer; without one there is no window.
uint64_t ReadPropertySlot(uint32_t windowId, uint32_t unitId, int property, int element) {
    if (!State().windows) FatalRuntimeMessage(texts::kPropertyWindowMissing);
    return State().windows->ReadProperty(windowId, unitId, property, element);
}

void WritePropertySlot(uint32_t windowId, uint32_t unitId, int property, int element, uint32_t low,
                       uint32_t high) {
    if (!State().windows) FatalRuntimeMessage(texts::kPropertyWindowMissing);
    State().windows->WriteProperty(windowId, unitId, property, element, low, high);
}

const EntryTable kEntryTable = {
    RaiseRuntimeError, CallDllCommand,   CallLibraryCommand,
    CallCoreCommand,   ReadPropertySlot, WritePropertySlot,
    Allocate,          Reallocate,       Free,
    ExitProgram,       RunMessageLoop,   LoadWindowSlot,
    RuntimeService,
};

}  // namespace

uint64_t WindowLayer::ReadProperty(uint32_t, uint32_t, int, int) {
    FatalRuntimeMessage(texts::kPropertyWindowMissing);
}

void WindowLayer::WriteProperty(uint32_t, uint32_t, int, int, uint32_t, uint32_t) {
    FatalRuntimeMessage(texts::kPropertyWindowMissing);
}

const EntryTable& Entries() {
    return kEntryTable;
}

}  // namespace velmora
