#include "runtime/runtime_state.h"

namespace velmora {
namespace {
RuntimeState state;
}

RuntimeState& State() {
    return state;
}

void ResetRuntimeState() {
    state.header = nullptr;
    state.host = nullptr;
    state.windows = nullptr;
    state.buildKind = state.reserved = state.programValuePlusOne = 0;
    state.programDirectory.clear();
    state.programNativeDirectory.clear();
    state.programFileName.clear();
    state.programDirectoryWithSeparator.clear();
    state.dllDirectory.clear();
    state.mainThread = {};
    state.dllCommands.clear();
    state.libraryData.clear();
    state.eventSuppression = 0;
    state.endRoutine = nullptr;
    state.initialised = false;
    state.messageLoopStarted = false;
    state.exiting = false;
    state.errorCount = 0;
    state.errorHook = nullptr;
    state.errorHookRunning = false;
}

}  // namespace velmora
