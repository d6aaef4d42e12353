#include "controls/browser_library.h"

#include <array>
#include <vector>

#include "controls/html_viewer.h"
#include "controls/html_viewer_commands.h"
#include "runtime/runtime_link.h"

namespace velmora::controls {
namespace {

const CommandRoutine kCommands[] = {Navigate};

std::array<DataTypeEntry, kBrowserTypeCount> BuildTypes() {
    // Text size is a choice: 最小, 较小, 中等, 较大, 最大.
    static const std::vector<PropertyEntry> properties = WithCommonProperties({
        {"字体大小", "FontSize", nullptr, kKindChoice, 0},
        {"离线浏览", "Offline", nullptr, kKindLogical, 0},
        {"静默", "Silent", nullptr, kKindLogical, 0},
        {"地址", "Address", nullptr, kKindText, 0},
        {"状态条文本", "StatusText", nullptr, kKindText, 0},
        {"标题", "Caption", nullptr, kKindText, 0},
    });
    std::array<DataTypeEntry, kBrowserTypeCount> table{};
    DataTypeEntry& viewer = table[kHtmlViewerPosition - 1];
    viewer.name = "超文本浏览框";
    viewer.englishName = "HtmlViewer";
    viewer.flags = typeflag::kRaisesEvents;
    viewer.propertyCount = static_cast<uint32_t>(properties.size());
    viewer.properties = properties.data();
    viewer.interface = HtmlViewerInterface;
    return table;
}

const std::array<DataTypeEntry, kBrowserTypeCount>& Types() {
    static const std::array<DataTypeEntry, kBrowserTypeCount> table = BuildTypes();
    return table;
}

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
    .dataTypeCount = kBrowserTypeCount,
    .dataTypes = Types().data(),
    .commandCount = static_cast<uint32_t>(std::size(kCommands)),
    .commands = kCommands,
    .notify = LibraryNotify,
};

}  // namespace

const LibraryRecord& BrowserLibrary() {
    return record;
}
std::span<const DataTypeEntry> BrowserDataTypes() {
    return Types();
}

}  // namespace velmora::controls
