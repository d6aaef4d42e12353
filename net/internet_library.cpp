#include "net/internet_library.h"

namespace velmora::net {
namespace {

RuntimeLink runtime;

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
    .notify = ForwardToLink<runtime>,
};

}  // namespace

const LibraryRecord& InternetLibrary() {
    return record;
}
const RuntimeLink& InternetLibraryRuntime() {
    return runtime;
}

}  // namespace velmora::net
