#include "runtime/shutdown.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "runtime/dll_commands.h"
#include "runtime/runtime_host.h"
#include "runtime/runtime_state.h"
#include "runtime/window_layer.h"

namespace velmora {
namespace {

[[noreturn]] void EndProcess(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

bool OnMainThread(const RuntimeState& state) {
    return state.mainThread == std::thread::id() || state.mainThread == std::this_thread::get_id();
}

}  // namespace

void Shutdown(int code) {
    RuntimeState& state = State();
    ++state.eventSuppression;

    if (!OnMainThread(state)) {
        if (state.host) state.host->ForwardExit(code);
        if (!state.exiting) EndProcess(code);
        return;
    }
    // A fatal error inside the end routine or a library's ending request
    // comes back here; the steps already taken must not run twice.
    if (state.exiting.exchange(true)) return;
    if (state.host) state.host->ClearIdleCallbacks();

    if (state.windows) state.windows->DestroyAllWindows();

    // Forgotten before the call, so that it runs at most once whatever it does.
    if (ProgramRoutine endRoutine = state.endRoutine) {
        state.endRoutine = nullptr;
        endRoutine();
    }

    if (const ProgramHeader* header = state.header) {
        for (uint32_t i = 0; i < header->libraryCount; ++i) {
            const LibraryRecord* library = header->libraries[i];
            uintptr_t data = i < state.libraryData.size() ? state.libraryData[i] : 0;
            if (library && library->notify) library->notify(kLibraryEnding, data, 0);
        }
    }

    ReleaseDllCommands();
    if (state.host) state.host->DestroyHiddenWindow();
}

void ExitProgram(int code) {
    Shutdown(code);
    EndProcess(code);
}

}  // namespace velmora
