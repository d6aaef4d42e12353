#include "commands/core_library.h"

#include "controls/core_types.h"

namespace velmora::commands {
namespace {

RuntimeLink runtime;

const LibraryRecord record{
    .identifier = "9B8B9567936A2A055F80B6205198171A",
    .majorVersion = 5,
    .minorVersion = 0,
    .buildNumber = 64,
    .minRuntimeMajor = 3,
    .minRuntimeMinor = 7,
    .minCompilerMajor = 3,
    .minCompilerMinor = 7,
    .name = "系统核心支持库",
    .flags = 0xC0000001,
    .dataTypeCount = controls::kCoreTypeCount,
    .dataTypes = controls::CoreDataTypes().data(),
    .notify = ForwardToLink<runtime>,
};

}  // namespace

const LibraryRecord& CoreLibrary() {
    return record;
}
const RuntimeLink& CoreLibraryRuntime() {
    return runtime;
}

}  // namespace velmora::commands
