#include "net/responsive_wait_library.h"

#include <iterator>

#include "net/responsive_delay.h"

namespace velmora::net {
namespace {

RuntimeLink runtime;

// The wait keeps its own hold on the runtime's notification entry; without
// it the wait could only sleep, and no click would reach the window during
// a collection run.
intptr_t Notify(int code, uintptr_t word1, uintptr_t word2) {
    SpecialFunctionsNotify(code, word1, word2);
    return runtime.Handle(code, word1, word2);
}

// The commands the program calls from this library.
const CommandRoutine commands[] = {ResponsiveDelay};

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
