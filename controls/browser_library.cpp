#include "controls/browser_library.h"

namespace velmora::controls {
namespace {

RuntimeLink runtime;

const LibraryRecord record{
    .identifier = "77D2464D34D0139BF30B7008534310EF",
    .majorVersion = 2,
    .minorVersion = 0,
    .buildNumber = 51,
    .minRuntimeMajor = 3,
    .minRuntimeMinor = 0,
    .minCompilerMajor = 3,
    .minCompilerMinor = 0,
    .name = "超文本浏览框支持库",
    .flags = 0,
    .notify = ForwardToLink<runtime>,
};

}  // namespace

const LibraryRecord& BrowserLibrary() {
    return record;
}
const RuntimeLink& BrowserLibraryRuntime() {
    return runtime;
}

}  // namespace velmora::controls
