#include "net/responsive_wait_library.h"

#include <iterator>

#include "net/responsive_delay.h"

namespace velmora::net {
namespace {

RuntimeLink runtime;

// The commands the program calls from this library.
const CommandRoutine commands[] = {ResponsiveDelay};

// The start request must reach the wait too: without the runtime's entry it
// can only sleep, and a run would leave the window dead between its requests.
intptr_t Notify(int code, uintptr_t word1, uintptr_t word2) {
    SpecialFunctionsNotify(code, word1, word2);
    return runtime.Handle(code, word1, word2);
}

const LibraryRecord record{
    .identifier = "47840799848EB27746A6174B44858902",
    .majorVersion = 3,
    .minorVersion = 0,
    .buildNumber = 0,
    .minRuntimeMajor = 3,
    .minRuntimeMinor = 8,
    .minCompilerMajor = 3,
    .minCompilerMinor = 0,
    .name = "特殊功能支持库",
    .flags = 0xC0000000,
    .commandCount = std::size(commands),
    .commands = commands,
    .notify = Notify,
};

}  // namespace

const LibraryRecord& SpecialFunctionsLibrary() {
    return record;
}
const RuntimeLink& SpecialFunctionsLibraryRuntime() {
    return runtime;
}

}  // namespace velmora::net
