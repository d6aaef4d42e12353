// The runtime's own state for the one program it runs: what start-up read
// from the program image, where the program lives, and where shutdown stands.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "runtime/program_image.h"

namespace velmora {

class RuntimeHost;
class WindowLayer;

using ProgramRoutine = void (*)();
// Answers non-zero to take over the report of a fatal error (no dialog then).
using RuntimeErrorHook = int (*)(int code, const char* gbkMessage);

// One function the program imports from an outside library; resolved on first call.
struct DllCommand {
    std::string fileName;      // GBK, as the program header names it
    std::string functionName;  // GBK; "#n" is an ordinal
    void* address = nullptr;
    void* module = nullptr;
};

struct RuntimeState {
    const ProgramHeader* header = nullptr;
    RuntimeHost* host = nullptr;
    WindowLayer* windows = nullptr;

    uint32_t buildKind = 0;
    uint32_t reserved = 0;
    uint32_t programValuePlusOne = 0;

    // GBK; the directory has no trailing separator and is the current directory.
    std::string programDirectory;
    // The same folder as the file system names it, "/" for the root; empty
    // until start-up has located the program.
    std::string programNativeDirectory;
    std::string programFileName;
    // Recorded at process start; the outside-library search tries it after
    // programDirectory, so the program's directory is in effect tried twice.
    std::string programDirectoryWithSeparator;
    // An optional first directory for the outside-library search; unset by default.
    std::string dllDirectory;

    std::thread::id mainThread;
    std::vector<DllCommand> dllCommands;
    std::vector<uintptr_t> libraryData;  // one word per library, passed back on request 6

    // Events are not dispatched while this is above 0.
    std::atomic<int> eventSuppression{0};
    ProgramRoutine endRoutine = nullptr;
    bool initialised = false;
    bool messageLoopStarted = false;
    std::atomic<bool> exiting{false};

    int errorCount = 0;
    RuntimeErrorHook errorHook = nullptr;
    bool errorHookRunning = false;
};

RuntimeState& State();

// Back to "not started", for tests and benchmarks that start the runtime repeatedly.
void ResetRuntimeState();

}  // namespace velmora
