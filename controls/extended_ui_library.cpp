#include "controls/extended_ui_library.h"

namespace velmora::controls {
namespace {

RuntimeLink runtime;

const LibraryRecord record{
    .identifier = "EEA1DC9D1CF4C0892EA0EBFA05032F42",
    .majorVersion = 2,
    .minorVersion = 0,
    .buildNumber = 2,
    .minRuntimeMajor = 3,
    .minRuntimeMinor = 0,
    .minCompilerMajor = 3,
    .minCompilerMinor = 0,
    .name = "扩展界面支持库一",
    .flags = 0,
    .notify = ForwardToLink<runtime>,
};

}  // namespace

const LibraryRecord& ExtendedUiLibrary() {
    return record;
}
const RuntimeLink& ExtendedUiLibraryRuntime() {
    return runtime;
}

}  // namespace velmora::controls
