#include "runtime/startup.h"

#include <unistd.h>

#include <thread>

#include "runtime/data_location.h"
#include "runtime/dll_commands.h"
#include "runtime/gbk.h"
#include "runtime/heap.h"
#include "runtime/notification.h"
#include "runtime/program_location.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_host.h"
#include "runtime/runtime_texts.h"
#include "runtime/window_layer.h"

namespace velmora {
namespace {

// A program whose start never named its image: no constants, libraries or windows.
const ProgramHeader kEmptyProgram{};

void StartLibraries(const ProgramHeader& header) {
    for (uint32_t i = 0; i < header.libraryCount; ++i) {
        const LibraryRecord* library = header.libraries[i];
        if (library && library->notify)
            library->notify(kLibraryStart, reinterpret_cast<uintptr_t>(&RuntimeNotify), 0);
    }
    State().libraryData.assign(header.libraryCount, 0);
}

}  // namespace

void BeginProgram(const ProgramHeader& header, RuntimeHost* host, WindowLayer* windows) {
    RuntimeState& state = State();
    state.header = &header;
    state.host = host;
    state.windows = windows;
    const std::string& directory = ProgramLocation().directory;
    state.programDirectoryWithSeparator = directory.empty() ? std::string() : directory + "/";
}

void InitialiseRuntime() {
    RuntimeState& state = State();
    const ProgramHeader& header = state.header ? *state.header : kEmptyProgram;

    // The process heap needs no handle here, and the automation layer no start.
    state.buildKind = header.buildKind;
    state.reserved = header.reserved;
    state.programValuePlusOne = header.programValue + 1;

    const ProgramFile& location = ProgramLocation();
    state.programDirectory = location.directory;
    state.programNativeDirectory = location.nativeDirectory;
    state.programFileName = location.fileName;
    // Entered by its native name, so that "." stands for a folder GBK cannot spell.
    EnterProgramDirectory(location);

    if (state.host) state.host->CreateHiddenWindow();
    state.mainThread = std::this_thread::get_id();

    if (header.constantRegionSize > 0)
        RegisterConstantRange(header.constantRegion, header.constantRegionSize);

    PrepareDllCommands(header);
    // An installed copy finds the skin-engine file in its tree's library
    // folder, or else writes it into the user's data folder: sought there first.
    if (UserDataPlaces().layout == DataLayout::kInstalled) {
        PrepareProgramDataFolder();
        SetDllSearchDirectory(ProgramLibraryDirectory());
    }
    StartLibraries(header);

    if (header.windowBlockSize > 0 &&
        !(state.windows &&
          state.windows->ReadDescriptions(header.windowBlock, header.windowBlockSize)))
        FatalRuntimeMessage(texts::kWindowBlockUnreadable);
    if (state.windows) {
        state.windows->RelocateHandlers(header.handlerBase);
        state.windows->RegisterWindows();
    }
    state.initialised = true;
}

void SetEndRoutine(ProgramRoutine routine) {
    State().endRoutine = routine;
}

void LoadWindowSlot(uint32_t windowId) {
    WindowLayer* windows = State().windows;
    if (!windows || !windows->LoadWindow(windowId))
        FatalRuntimeMessage(texts::kStartupWindowFailed);
}

}  // namespace velmora
