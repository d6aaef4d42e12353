#include "net/responsive_wait_library.h"

#include <iterator>

#include "net/responsive_delay.h"
#include "runtime/runtime_link.h"

namespace velmora::net {
namespace {

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
    .notify = LibraryNotify,
};

}  // namespace

const LibraryRecord& SpecialFunctionsLibrary() {
    return record;
}

}  // namespace velmora::net
