#include "net/internet_library.h"

#include <iterator>

#include "net/page_reader.h"
#include "runtime/runtime_link.h"

namespace velmora::net {
namespace {

// The commands the program calls from this library.
const CommandRoutine commands[] = {ReadWebPage};

const LibraryRecord record{
    .identifier = "D547CDB8D3BF2ECFAECAEE721BB3773A",
    .majorVersion = 2,
    .minorVersion = 0,
    .buildNumber = 0,
    .minRuntimeMajor = 3,
    .minRuntimeMinor = 0,
    .minCompilerMajor = 3,
    .minCompilerMinor = 0,
    .name = "互联网支持库",
    .flags = 0,
    .commandCount = std::size(commands),
    .commands = commands,
    .notify = LibraryNotify,
};

}  // namespace

const LibraryRecord& InternetLibrary() {
    return record;
}

}  // namespace velmora::net
