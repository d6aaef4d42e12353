#include "controls/core_types.h"

#include <array>
#include <vector>

#include "controls/button.h"
#include "controls/edit_box.h"
#include "controls/group_box.h"
#include "controls/label.h"
#include "controls/tab.h"
#include "controls/window.h"

namespace velmora::controls {
namespace {

struct TypeSpec {
    uint32_t position;
    const char* name;
    const char* englishName;
    uint32_t flags;
    TypeInterface interface;
};

using namespace typeflag;

// Every control type raises events (at least the common focus pair); the
// four containers carry 0x80; Tab divides its children into pages.
const TypeSpec kSpecs[] = {
    {kWindowPosition, "窗口", "window", kRaisesEvents | kContainer, WindowInterface},
    // Menus are not built yet: a menu item only dispatches its handler.
    {kMenuItemPosition, "菜单", "MenuItem", kRaisesEvents, nullptr},
    {kEditBoxPosition, "编辑框", "EditBox", kRaisesEvents, EditBoxInterface},
    {kGroupBoxPosition, "分组框", "GroupBox", kRaisesEvents | kContainer, GroupBoxInterface},
    {kLabelPosition, "标签", "Label", kRaisesEvents, LabelInterface},
    {kButtonPosition, "按钮", "Button", kRaisesEvents, ButtonInterface},
    {kTabPosition, "选择夹", "Tab", kRaisesEvents | kContainer | kPaged, TabInterface},
};

// Until a type brings its own table, it has the common eight.
const std::vector<PropertyEntry>& CommonOnly() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({});
    return table;
}

std::array<DataTypeEntry, kCoreTypeCount> BuildTable() {
    std::array<DataTypeEntry, kCoreTypeCount> table{};
    for (const TypeSpec& spec : kSpecs) {
        DataTypeEntry& t = table[spec.position - 1];
        t.name = spec.name;
        t.englishName = spec.englishName;
        t.flags = spec.flags;
        t.propertyCount = static_cast<uint32_t>(CommonOnly().size());
        t.properties = CommonOnly().data();
        t.interface = spec.interface;
    }
    return table;
}

}  // namespace

std::span<const DataTypeEntry> CoreDataTypes() {
    static const std::array<DataTypeEntry, kCoreTypeCount> table = BuildTable();
    return table;
}

}  // namespace velmora::controls
