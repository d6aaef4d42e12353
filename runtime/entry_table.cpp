#include "runtime/entry_table.h"

#include <string>

#include "runtime/command_call.h"
#include "runtime/dll_commands.h"
#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_service.h"
#include "runtime/shutdown.h"
#include "runtime/startup.h"

namespace velmora {
namespace {

// Slots whose behaviour arrives with later parts of the runtime: they end the
// program with a clear report rather than pretend to work.
[[noreturn]] void Unavailable(const char* slot) {
    FatalRuntimeMessage(std::string(slot) + " is not available in this build");
}

uint64_t ReadPropertySlot(uint32_t, uint32_t, int, int) {
    Unavailable("ReadProperty");
}
void WritePropertySlot(uint32_t, uint32_t, int, int, uint32_t, uint32_t) {
    Unavailable("WriteProperty");
}

const EntryTable kEntryTable = {
    RaiseRuntimeError, CallDllCommand,   CallLibraryCommand,
    CallCoreCommand,   ReadPropertySlot, WritePropertySlot,
    Allocate,          Reallocate,       Free,
    ExitProgram,       RunMessageLoop,   LoadWindow,
    RuntimeService,
};

}  // namespace

const EntryTable& Entries() {
    return kEntryTable;
}

}  // namespace velmora
