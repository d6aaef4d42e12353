#include "controls/extended_ui_library.h"

#include <array>
#include <vector>

#include "controls/list_view.h"
#include "controls/list_view_commands.h"
#include "runtime/runtime_link.h"

namespace velmora::controls {
namespace {

const CommandRoutine kCommands[] = {InsertRow, SetCellText, GetCellText, DeleteAllRows};

std::array<DataTypeEntry, kExtendedUiTypeCount> BuildTypes() {
    static const std::vector<PropertyEntry> properties = WithCommonProperties({});
    std::array<DataTypeEntry, kExtendedUiTypeCount> table{};
    DataTypeEntry& list = table[kListViewPosition - 1];
    list.name = "超级列表框";
    list.englishName = "ListView";
    list.flags = typeflag::kRaisesEvents;
    list.propertyCount = static_cast<uint32_t>(properties.size());
    list.properties = properties.data();
    list.interface = ListViewInterface;
    return table;
}

const std::array<DataTypeEntry, kExtendedUiTypeCount>& Types() {
    static const std::array<DataTypeEntry, kExtendedUiTypeCount> table = BuildTypes();
    return table;
}

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
    .dataTypeCount = kExtendedUiTypeCount,
    .dataTypes = Types().data(),
    .commandCount = static_cast<uint32_t>(std::size(kCommands)),
    .commands = kCommands,
    .notify = LibraryNotify,
};

}  // namespace

const LibraryRecord& ExtendedUiLibrary() {
    return record;
}
std::span<const DataTypeEntry> ExtendedUiDataTypes() {
    return Types();
}

}  // namespace velmora::controls
