#include "controls/core_types.h"

#include <array>
#include <vector>

#include "controls/button.h"
#include "controls/combo_box.h"
#include "controls/edit_box.h"
#include "controls/group_box.h"
#include "controls/hyper_linker.h"
#include "controls/label.h"
#include "controls/list_box.h"
#include "controls/radio_box.h"
#include "controls/shape_box.h"
#include "controls/tab.h"
#include "controls/window.h"

namespace velmora::controls {
namespace {

// A type with no properties of its own has the common eight.
const std::vector<PropertyEntry>& CommonOnly() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({});
    return table;
}

// The type-specific properties from index 8, in index order. The names
// marked nowhere else are what the property means where this program gives
// it a meaning; the rest are stored and answered back as written.
const std::vector<PropertyEntry>& WindowProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"标题", "caption", nullptr, kKindText, 0},
        {"边框", "border", nullptr, kKindChoice, 0},
        {"底色", "background", nullptr, kKindColour, 0},
        {"底图", "picture", nullptr, kKindPicture, 0},
        {"底图方式", "pictureMode", nullptr, kKindChoice, 0},
        {"背景音乐", "music", nullptr, kKindSound, 0},
        {"播放次数", "musicRepeat", nullptr, kKindChoice, 0},
        {"控制按钮", "controlBox", nullptr, kKindLogical, 0},
        {"最大化按钮", "maximiseButton", nullptr, kKindLogical, 0},
        {"最小化按钮", "minimiseButton", nullptr, kKindLogical, 0},
        {"位置", "position", nullptr, kKindChoice, 0},
        {"可否移动", "movable", nullptr, kKindLogical, 0},
        {"图标", "icon", nullptr, kKindIcon, 0},
        {"回车下移焦点", "enterMovesFocus", nullptr, kKindLogical, 0},
        {"Esc键关闭", "escapeCloses", nullptr, kKindLogical, 0},
        {"F1键打开帮助", "f1Help", nullptr, kKindLogical, 0},
        {"帮助文件名", "helpFile", nullptr, kKindInteger, 0},
        {"帮助标志值", "helpContext", nullptr, kKindInteger, 0},
        {"在任务条中显示", "inTaskBar", nullptr, kKindLogical, 0},
        {"随意移动", "dragAnywhere", nullptr, kKindLogical, 0},
        {"外形", "shape", nullptr, kKindChoice, 0},
        {"总在最前", "alwaysOnTop", nullptr, kKindLogical, 0},
        {"保持标题条激活", "keepCaptionActive", nullptr, kKindLogical, 0},
        {"窗口类名", "className", nullptr, kKindText, 0},
    });
    return table;
}

const std::vector<PropertyEntry>& EditBoxProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"内容", "content", nullptr, kKindText, 0},
        {"边框", "border", nullptr, kKindChoice, 0},
        {"文本颜色", "textColour", nullptr, kKindColour, 0},
        {"背景颜色", "background", nullptr, kKindBackgroundColour, 0},
        {"字体", "font", nullptr, kKindFont, 0},
        {"隐藏选择", "hideSelection", nullptr, kKindLogical, 0},
        {"最大允许长度", "maxLength", nullptr, kKindInteger, 0},
        {"是否允许多行", "multiLine", nullptr, kKindLogical, 0},
        {"滚动条", "scrollBars", nullptr, kKindChoice, 0},
        {"对齐方式", "alignment", nullptr, kKindChoice, 0},
        {"输入方式", "inputMode", nullptr, kKindChoice, 0},
        {"密码遮盖字符", "passwordChar", nullptr, kKindText, 0},
        {"转换方式", "letterCase", nullptr, kKindChoice, 0},
        {"调节器方式", "adjuster", nullptr, kKindChoice, 0},
        {"调节器底限值", "adjusterLow", nullptr, kKindInteger, 0},
        {"调节器上限值", "adjusterHigh", nullptr, kKindInteger, 0},
        {"起始选择位置", "selectionStart", nullptr, kKindInteger, 0},
        {"被选择字符数", "selectionLength", nullptr, kKindInteger, 0},
        {"被选择文本", "selectedText", nullptr, kKindText, 0},
        {"数据源", "dataSource", nullptr, kKindText, 0},
        {"数据列", "dataColumn", nullptr, kKindText, 0},
    });
    return table;
}

const std::vector<PropertyEntry>& LabelProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"标题", "caption", nullptr, kKindText, 0},
        {"效果", "effect", nullptr, kKindChoice, 0},
        {"边框", "border", nullptr, kKindChoice, 0},
        {"渐变边框宽度", "gradientWidth", nullptr, kKindInteger, 0},
        {"渐变边框颜色1", "gradientColour1", nullptr, kKindColour, 0},
        {"渐变边框颜色2", "gradientColour2", nullptr, kKindColour, 0},
        {"渐变边框颜色3", "gradientColour3", nullptr, kKindColour, 0},
        {"字体", "font", nullptr, kKindFont, 0},
        {"文本颜色", "textColour", nullptr, kKindColour, 0},
        {"背景颜色", "background", nullptr, kKindBackgroundColour, 0},
        {"底图", "picture", nullptr, kKindPicture, 0},
        {"底图方式", "pictureMode", nullptr, kKindChoice, 0},
        {"渐变背景方式", "gradientMode", nullptr, kKindChoice, 0},
        {"渐变背景颜色1", "gradientBackground1", nullptr, kKindColour, 0},
        {"渐变背景颜色2", "gradientBackground2", nullptr, kKindColour, 0},
        {"渐变背景颜色3", "gradientBackground3", nullptr, kKindColour, 0},
        {"横向对齐方式", "horizontalAlignment", nullptr, kKindChoice, 0},
        {"纵向对齐方式", "verticalAlignment", nullptr, kKindChoice, 0},
        {"是否自动折行", "wordWrap", nullptr, kKindLogical, 0},
        {"数据源", "dataSource", nullptr, kKindText, 0},
        {"数据列", "dataColumn", nullptr, kKindText, 0},
    });
    return table;
}

const std::vector<PropertyEntry>& ButtonProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"图片", "picture", nullptr, kKindPicture, 0},
        {"类型", "style", nullptr, kKindChoice, 0},
        {"标题", "caption", nullptr, kKindText, 0},
        {"横向对齐方式", "horizontalAlignment", nullptr, kKindChoice, 0},
        {"纵向对齐方式", "verticalAlignment", nullptr, kKindChoice, 0},
        {"字体", "font", nullptr, kKindFont, 0},
    });
    return table;
}

const std::vector<PropertyEntry>& RadioBoxProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"图片", "picture", nullptr, kKindPicture, 0},
        {"选中", "checked", nullptr, kKindLogical, 0},
        {"按钮形式", "pushLike", nullptr, kKindLogical, 0},
        {"标题", "caption", nullptr, kKindText, 0},
        {"平面", "flat", nullptr, kKindLogical, 0},
        {"标题左置", "captionLeft", nullptr, kKindChoice, 0},
        {"横向对齐方式", "horizontalAlignment", nullptr, kKindChoice, 0},
        {"文本颜色", "textColour", nullptr, kKindColour, 0},
        {"背景颜色", "background", nullptr, kKindBackgroundColour, 0},
        {"字体", "font", nullptr, kKindFont, 0},
        {"多行", "multiLine", nullptr, kKindLogical, 0},
    });
    return table;
}

const std::vector<PropertyEntry>& ComboBoxProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"类型", "comboType", nullptr, kKindChoice, 0},
        {"内容", "content", nullptr, kKindText, 0},
        {"最大文本长度", "maxLength", nullptr, kKindInteger, 0},
        {"起始选择位置", "selectionStart", nullptr, kKindInteger, 0},
        {"被选择字符数", "selectionLength", nullptr, kKindInteger, 0},
        {"被选择文本", "selectedText", nullptr, kKindText, 0},
        {"自动选择", "autoSelect", nullptr, kKindLogical, 0},
        {"行间距", "itemHeight", nullptr, kKindInteger, 0},
        {"文本颜色", "textColour", nullptr, kKindColour, 0},
        {"背景颜色", "background", nullptr, kKindBackgroundColour, 0},
        {"字体", "font", nullptr, kKindFont, 0},
        {"现行选中项", "current", nullptr, kKindInteger, 0},
        {"列表项目", "items", nullptr, kKindByteData, 0},
        {"项目数值", "itemValues", nullptr, kKindByteData, 0},
        {"数据源", "dataSource", nullptr, kKindText, 0},
        {"数据列", "dataColumn", nullptr, kKindText, 0},
        {"自动排序", "sorted", nullptr, kKindLogical, 0},
    });
    return table;
}

const std::vector<PropertyEntry>& ListBoxProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"边框", "border", nullptr, kKindChoice, 0},
        {"允许多项选择", "multiSelect", nullptr, kKindLogical, 0},
        {"扩展多项选择", "extendedSelect", nullptr, kKindLogical, 0},
        {"行间距", "itemHeight", nullptr, kKindInteger, 0},
        {"文本颜色", "textColour", nullptr, kKindColour, 0},
        {"背景颜色", "background", nullptr, kKindBackgroundColour, 0},
        {"字体", "font", nullptr, kKindFont, 0},
        {"隐藏选择", "hideSelection", nullptr, kKindLogical, 0},
        {"现行选中项", "current", nullptr, kKindInteger, 0},
        {"列表项目", "items", nullptr, kKindByteData, 0},
        {"项目数值", "itemValues", nullptr, kKindByteData, 0},
        {"数据源", "dataSource", nullptr, kKindText, 0},
        {"数据列", "dataColumn", nullptr, kKindText, 0},
        {"自动排序", "sorted", nullptr, kKindLogical, 0},
    });
    return table;
}

const std::vector<PropertyEntry>& TabProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"表头方向", "position", nullptr, kKindChoice, 0},
        {"允许多行表头", "multiRow", nullptr, kKindLogical, 0},
        {"字体", "font", nullptr, kKindFont, 0},
        {"子夹管理", "pages", nullptr, kKindByteData, 0},
        {"现行子夹", "current", nullptr, kKindInteger, 0},
        {"无表头", "noStrip", nullptr, kKindLogical, 0},
        {"透明", "transparent", nullptr, kKindLogical, 0},
        {"底色", "colour", nullptr, kKindColour, 0},
    });
    return table;
}

const std::vector<PropertyEntry>& HyperLinkerProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"标题", "caption", nullptr, kKindText, 0},
        {"链接类型", "linkKind", nullptr, kKindChoice, 0},
        {"电子邮件地址", "email", nullptr, kKindText, 0},
        {"网页地址", "web", nullptr, kKindText, 0},
        {"颜色", "colour", nullptr, kKindColour, 0},
        {"鼠标所在颜色", "hoverColour", nullptr, kKindColour, 0},
        {"已访问颜色", "visitedColour", nullptr, kKindColour, 0},
        {"背景颜色", "background", nullptr, kKindBackgroundColour, 0},
        {"对齐方式", "alignment", nullptr, kKindChoice, 0},
        {"字体", "font", nullptr, kKindFont, 0},
    });
    return table;
}

const std::vector<PropertyEntry>& GroupBoxProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"标题", "caption", nullptr, kKindText, 0},
        {"对齐方式", "alignment", nullptr, kKindChoice, 0},
        {"文本颜色", "textColour", nullptr, kKindColour, 0},
        {"背景颜色", "background", nullptr, kKindBackgroundColour, 0},
        {"字体", "font", nullptr, kKindFont, 0},
    });
    return table;
}

const std::vector<PropertyEntry>& ShapeBoxProperties() {
    static const std::vector<PropertyEntry> table = WithCommonProperties({
        {"背景颜色", "background", nullptr, kKindBackgroundColour, 0},
        {"外形", "shape", nullptr, kKindChoice, 0},
        {"线条类型", "lineStyle", nullptr, kKindChoice, 0},
        {"填充方式", "fillMode", nullptr, kKindChoice, 0},
        {"线宽", "lineWidth", nullptr, kKindInteger, 0},
        {"线条颜色", "lineColour", nullptr, kKindColour, 0},
        {"填充颜色", "fillColour", nullptr, kKindColour, 0},
    });
    return table;
}

struct TypeSpec {
    uint32_t position;
    const char* name;
    const char* englishName;
    uint32_t flags;
    TypeInterface interface;
    const std::vector<PropertyEntry>& (*properties)();
};

using namespace typeflag;

// Every control type raises events (at least the common focus pair); the
// four containers carry 0x80; Tab divides its children into pages.
const TypeSpec kSpecs[] = {
    {kWindowPosition, "窗口", "window", kRaisesEvents | kContainer, WindowInterface,
     WindowProperties},
    // Menus are not built yet: a menu item only dispatches its handler.
    {kMenuItemPosition, "菜单", "MenuItem", kRaisesEvents, nullptr, CommonOnly},
    {kEditBoxPosition, "编辑框", "EditBox", kRaisesEvents, EditBoxInterface, EditBoxProperties},
    {kShapeBoxPosition, "外形框", "ShapeBox", kRaisesEvents, ShapeBoxInterface, ShapeBoxProperties},
    {kGroupBoxPosition, "分组框", "GroupBox", kRaisesEvents | kContainer, GroupBoxInterface,
     GroupBoxProperties},
    {kLabelPosition, "标签", "Label", kRaisesEvents, LabelInterface, LabelProperties},
    {kButtonPosition, "按钮", "Button", kRaisesEvents, ButtonInterface, ButtonProperties},
    {kRadioBoxPosition, "单选框", "RadioBox", kRaisesEvents | kRadio, RadioBoxInterface,
     RadioBoxProperties},
    {kComboBoxPosition, "组合框", "ComboBox", kRaisesEvents, ComboBoxInterface, ComboBoxProperties},
    {kListBoxPosition, "列表框", "ListBox", kRaisesEvents, ListBoxInterface, ListBoxProperties},
    {kTabPosition, "选择夹", "Tab", kRaisesEvents | kContainer | kPaged, TabInterface,
     TabProperties},
    {kHyperLinkerPosition, "超级链接框", "HyperLinker", kRaisesEvents, HyperLinkerInterface,
     HyperLinkerProperties},
};

std::array<DataTypeEntry, kCoreTypeCount> BuildTable() {
    std::array<DataTypeEntry, kCoreTypeCount> table{};
    for (const TypeSpec& spec : kSpecs) {
        DataTypeEntry& t = table[spec.position - 1];
        t.name = spec.name;
        t.englishName = spec.englishName;
        t.flags = spec.flags;
        t.propertyCount = static_cast<uint32_t>(spec.properties().size());
        t.properties = spec.properties().data();
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
