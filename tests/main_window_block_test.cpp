// The main window as the build stores it: units, pages and event bindings.
#include "app/image/main_window_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "app/image/site_hosts.h"
#include "controls/button_data.h"
#include "controls/combo_box_data.h"
#include "controls/edit_box_data.h"
#include "controls/group_box_data.h"
#include "controls/hyper_linker_data.h"
#include "controls/label_data.h"
#include "controls/list_view_data.h"
#include "controls/radio_box_data.h"
#include "controls/window_data.h"
#include "runtime/window_description.h"
#include "tests/test_support.h"

namespace velmora {
namespace {

using testing::Gbk;

// The handler names in table order, as the build numbered them.
const char* const kHandlerNames[] = {
#define VELMORA_HANDLER(Name) #Name,
#include "app/main_window_handlers.def"
#undef VELMORA_HANDLER
};

constexpr uint32_t kMainWindow = 0x52010001;
constexpr uint32_t kPageControl = 0x16010022;
constexpr uint32_t kSortChoice = 0x1601000a;
constexpr uint32_t kItemStore = 0x1601192f;

constexpr uint32_t kTypeEditBox = 0x00010005;
constexpr uint32_t kTypeGroupBox = 0x00010009;
constexpr uint32_t kTypeLabel = 0x0001000A;
constexpr uint32_t kTypeButton = 0x0001000B;
constexpr uint32_t kTypeRadioBox = 0x0001000D;
constexpr uint32_t kTypeHyperLinker = 0x0001001D;

// The caption a unit of a captioned type stores; none for other types.
std::optional<std::string> CaptionOf(const UnitRecord& unit) {
    auto caption = [](const auto& data) -> std::optional<std::string> {
        if (!data) return "<unreadable data>";
        return data->caption;
    };
    switch (unit.type) {
        case kTypeGroupBox:
            return caption(controls::ReadStoredData<controls::GroupBoxData>(unit.typeData));
        case kTypeLabel:
            return caption(controls::ReadStoredData<controls::LabelData>(unit.typeData));
        case kTypeButton:
            return caption(controls::ReadStoredData<controls::ButtonData>(unit.typeData));
        case kTypeRadioBox:
            return caption(controls::ReadStoredData<controls::RadioBoxData>(unit.typeData));
        case kTypeHyperLinker:
            return caption(controls::ReadStoredData<controls::HyperLinkerData>(unit.typeData));
        default:
            return std::nullopt;
    }
}

// Little-endian fields of an icon file.
uint32_t Field(const std::vector<uint8_t>& bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width && at + i < bytes.size(); ++i)
        value |= uint32_t(bytes[at + i]) << (8 * i);
    return value;
}

class MainWindowBlockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WindowBlockResult read =
            ReadWindowBlock({app::kMainWindowBlock, app::kMainWindowBlockSize});
        ASSERT_TRUE(read.Ok()) << read.error;
        ASSERT_EQ(read.windows.size(), 1u);
        window_ = std::move(read.windows[0]);
    }
    const UnitRecord& Unit(uint32_t id) {
        const UnitRecord* unit = window_.FindUnit(id);
        if (!unit) ADD_FAILURE() << std::hex << "no unit 0x" << id;
        static const UnitRecord none;
        return unit ? *unit : none;
    }
    // The handler name event 0 of a unit is bound to; empty when unbound.
    std::string HandlerOf(uint32_t id) {
        const EventBinding* binding = Unit(id).FindBinding(0);
        if (!binding || binding->handlerOffset == kNoHandler) return "";
        size_t index = size_t(binding->handlerOffset) / sizeof(HandlerEntry);
        EXPECT_EQ(HandlerOffset(index), binding->handlerOffset) << "between two entries";
        return index < std::size(kHandlerNames) ? kHandlerNames[index] : "<outside the table>";
    }
    // The children of each page of a paged unit.
    std::vector<std::vector<uint32_t>> Pages(uint32_t id) {
        std::vector<std::vector<uint32_t>> pages(1);
        for (uint32_t child : Unit(id).children) {
            if (child == 0)
                pages.emplace_back();
            else
                pages.back().push_back(child);
        }
        pages.pop_back();  // after the last page's 0
        return pages;
    }

    WindowRecord window_;
};

TEST_F(MainWindowBlockTest, TheWindowItselfComesFirstWithItsStoredLook) {
    EXPECT_EQ(window_.id, kMainWindow);
    ASSERT_FALSE(window_.units.empty());
    const UnitRecord& self = window_.units[0];
    EXPECT_EQ(self.id, 0x06010000u);
    EXPECT_EQ((std::vector<int32_t>{self.left, self.top, self.width, self.height}),
              (std::vector<int32_t>{50, 50, 754, 629}));
    auto data = controls::ReadStoredData<controls::WindowData>(self.typeData);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->caption, "Velmora2.0");
    EXPECT_EQ(data->position, 1u) << "centred at creation";
    EXPECT_EQ(data->border, 2u);
    EXPECT_EQ(data->maximiseButton, 1u);
    EXPECT_EQ(data->minimiseButton, 1u);
    EXPECT_EQ(data->controlBox, 1u);
    EXPECT_EQ(data->movable, 1u);
    EXPECT_EQ(data->alwaysOnTop, 0u);
    EXPECT_EQ(data->background, 0xFF000000u);
}

TEST_F(MainWindowBlockTest, EveryControlOfTheWindowIsStoredOnce) {
    EXPECT_EQ(window_.units.size(), 55u);
    std::vector<uint32_t> ids;
    for (const UnitRecord& unit : window_.units) ids.push_back(unit.id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    // The run's item store exists but is never shown.
    EXPECT_EQ(Unit(0x1601192f).state & kStateVisible, 0u);
    EXPECT_EQ(Unit(0x1601192f).type, 0x00030004u);
}

TEST_F(MainWindowBlockTest, EventsReachTheirHandlers) {
    const struct {
        uint32_t unit;
        const char* handler;
    } bindings[] = {
        {0x06010000, "StartUp"},
        {0x1601000c, "StartCollection"},
        {0x16011aa4, "RequestStop"},
        {0x160118ee, "ShowLoginPage"},
        {0x16010010, "ShowInstructions"},
        {0x16010011, "ShowPreviewPage"},
        {0x16010012, "ShowTemplateEditorPage"},
        {0x16010013, "ShowLogPage"},
        {0x160118fc, "TemplateSelected"},
        {0x16011927, "LoadTemplate"},
        {0x160119de, "ClearTemplateEditor"},
        {0x16011909, "SaveTemplate"},
    };
    size_t bound = 0;
    for (const auto& b : bindings) {
        EXPECT_EQ(HandlerOf(b.unit), b.handler) << std::hex << b.unit;
        EXPECT_EQ(Unit(b.unit).events.size(), 1u) << std::hex << b.unit;
    }
    for (const UnitRecord& unit : window_.units) bound += unit.events.empty() ? 0 : 1;
    EXPECT_EQ(bound, std::size(bindings)) << "no other unit has a bound event";
}

TEST_F(MainWindowBlockTest, ThePageControlHoldsFivePagesOfControls) {
    auto pages = Pages(kPageControl);
    ASSERT_EQ(pages.size(), 5u);
    auto on = [&](size_t page, uint32_t id) {
        return std::find(pages[page].begin(), pages[page].end(), id) != pages[page].end();
    };
    EXPECT_EQ(pages[0], (std::vector<uint32_t>{0x160132e6})) << "only the login frame";
    EXPECT_TRUE(on(1, 0x16011907) && on(1, 0x16011909) && on(1, 0x16011913));
    EXPECT_EQ(pages[2], (std::vector<uint32_t>{0x16011a4b}));
    EXPECT_EQ(pages[3], (std::vector<uint32_t>{0x16011a67}));
    EXPECT_EQ(pages[4], (std::vector<uint32_t>{0x16011aa1}));
    // The login browser hangs in its frame, 768 pixels left of the frame's edge.
    const UnitRecord& login = Unit(0x160132e7);
    EXPECT_EQ(login.parent, 0x160132e6u);
    EXPECT_EQ((std::vector<int32_t>{login.left, login.top, login.width, login.height}),
              (std::vector<int32_t>{-768, 0, 1152, 1416}));
}

// Every control unit in stored order: its parent, the page of the page
// control it lives on (-1: none), its rectangle and its state bits.
TEST_F(MainWindowBlockTest, EveryUnitSitsWhereTheControlTableSays) {
    const struct {
        uint32_t unit;
        uint32_t parent;
        int page;
        std::array<int32_t, 4> rect;
        uint32_t state;
    } table[] = {
        {0x160132ec, 0x16011a67, 3, {8, 8, 496, 416}, 5},
        {0x160132eb, 0x16011913, 1, {440, 64, 56, 24}, 1},
        {0x160132e8, 0x16011913, 1, {72, 24, 360, 40}, 1},
        {0x160132e6, 0x16010022, 0, {48, 64, 384, 280}, 1},
        {0x160132e7, 0x160132e6, 0, {-768, 0, 1152, 1416}, 5},
        {0x1601328c, 0x16011aa1, 4, {7, 16, 512, 408}, 21},
        {0x16011aa9, 0, -1, {456, 576, 120, 16}, 1},
        {0x16011aa8, 0, -1, {288, 576, 120, 16}, 1},
        {0x16011aa6, 0, -1, {16, 576, 216, 16}, 1},
        {0x16011aa5, 0, -1, {624, 576, 96, 16}, 1},
        {0x16011aa4, 0x16011aa3, -1, {16, 16, 112, 32}, 21},
        {0x16011aa3, 0x16010003, -1, {8, 496, 144, 56}, 17},
        {0x16011aa1, 0x16010022, 4, {1, 0, 527, 432}, 1},
        {0x16011a9c, 0x16011a94, -1, {72, 24, 48, 24}, 21},
        {0x16011a9b, 0x16011a94, -1, {8, 24, 56, 24}, 17},
        {0x16011a67, 0x16010022, 3, {8, 0, 512, 432}, 1},
        {0x16011a4c, 0x16011a4b, 2, {7, 14, 505, 402}, 21},
        {0x16011a4b, 0x16010022, 2, {8, 8, 520, 424}, 17},
        {0x160119de, 0x16010022, 1, {344, 104, 72, 24}, 5},
        {0x1601196f, 0x16010007, -1, {80, 79, 48, 25}, 21},
        {0x1601196e, 0x16010007, -1, {16, 80, 56, 24}, 17},
        {0x1601192f, 0x1601000f, -1, {504, 16, 48, 32}, 4},
        {0x16011927, 0x16010022, 1, {240, 104, 72, 24}, 5},
        {0x16011921, 0x16011917, 1, {8, 16, 504, 64}, 21},
        {0x16011920, 0x16011916, 1, {8, 14, 504, 87}, 21},
        {0x1601191f, 0x16011915, 1, {8, 15, 504, 66}, 21},
        {0x16011917, 0x16010022, 1, {0, 344, 520, 87}, 17},
        {0x16011916, 0x16010022, 1, {0, 232, 520, 109}, 17},
        {0x16011915, 0x16010022, 1, {0, 139, 520, 88}, 17},
        {0x16011909, 0x16010022, 1, {440, 104, 72, 24}, 5},
        {0x16011907, 0x16010022, 1, {80, 104, 112, 24}, 5},
        {0x16011902, 0x16010022, 1, {8, 104, 64, 24}, 1},
        {0x160118fc, 0x16010006, -1, {8, 16, 128, 56}, 5},
        {0x160118ee, 0x16010016, -1, {16, 16, 112, 32}, 5},
        {0x16010022, 0x16010015, -1, {8, 16, 528, 432}, 1},
        {0x16010016, 0x16010003, -1, {8, 32, 144, 64}, 1},
        {0x16010015, 0x1601000f, -1, {16, 56, 544, 456}, 1},
        {0x16010013, 0x1601000f, -1, {408, 21, 80, 24}, 5},
        {0x16010012, 0x1601000f, -1, {277, 21, 80, 24}, 5},
        {0x16010011, 0x1601000f, -1, {144, 21, 80, 24}, 5},
        {0x16010010, 0x1601000f, -1, {24, 24, 80, 16}, 5},
        {0x1601000f, 0x16010003, -1, {160, 32, 568, 520}, 1},
        {0x1601000c, 0x1601000b, -1, {16, 16, 112, 32}, 21},
        {0x1601000b, 0x16010003, -1, {8, 441, 144, 56}, 1},
        {0x1601000a, 0x16010007, -1, {12, 36, 120, 20}, 5},
        {0x16010007, 0x16010003, -1, {8, 256, 144, 184}, 1},
        {0x16010006, 0x16010003, -1, {8, 170, 144, 80}, 1},
        {0x16010005, 0x16010004, -1, {8, 17, 128, 40}, 5},
        {0x16010004, 0x16010003, -1, {8, 101, 144, 64}, 1},
        {0x16010003, 0, -1, {0, 8, 736, 560}, 1},
        {0x16011913, 0x16010022, 1, {0, 0, 520, 136}, 1},
        {0x16011a92, 0x16010007, -1, {8, 16, 128, 48}, 1},
        {0x16011a93, 0x16010007, -1, {8, 64, 128, 48}, 1},
        {0x16011a94, 0x16010007, -1, {8, 114, 128, 64}, 1},
    };
    // The page of the page control that holds a unit, through its ancestors.
    auto pageOf = [&](uint32_t id) {
        const std::vector<std::vector<uint32_t>> pages = Pages(0x16010022);
        for (uint32_t at = id; at != 0; at = Unit(at).parent)
            for (size_t page = 0; page < pages.size(); ++page)
                if (std::find(pages[page].begin(), pages[page].end(), at) != pages[page].end())
                    return int(page);
        return -1;
    };
    ASSERT_EQ(window_.units.size(), std::size(table) + 1) << "the window's own unit and the table";
    for (size_t i = 0; i < std::size(table); ++i) {
        const auto& row = table[i];
        SCOPED_TRACE(::testing::Message() << "unit 0x" << std::hex << row.unit);
        const UnitRecord& unit = window_.units[i + 1];
        ASSERT_EQ(unit.id, row.unit) << "stored order";
        EXPECT_EQ(unit.parent, row.parent);
        EXPECT_EQ(pageOf(row.unit), row.page);
        EXPECT_EQ((std::array<int32_t, 4>{unit.left, unit.top, unit.width, unit.height}), row.rect);
        EXPECT_EQ(unit.state, row.state);
    }
}

TEST_F(MainWindowBlockTest, EveryCaptionIsTheOneItsUnitShows) {
    const std::string maker = app::kMakerHost;
    const struct {
        uint32_t unit;
        std::string caption;  // UTF-8
    } captions[] = {
        {0x160132eb, "点击查看"},
        {0x160132e8, "模板制作教程请看官网说明"},
        {0x16011aa9, "交流反馈：官网留言"},
        {0x16011aa8, "技术支持：见帮助页"},
        {0x16011aa6, "Quillfern软件出品：" + maker},
        {0x16011aa5, "最新版本下载"},
        {0x16011aa4, "停止生成"},
        {0x16011aa3, ""},
        {0x16011aa1, "使用帮助："},
        {0x16011a9b, "文件后缀："},
        {0x16011a67, ""},
        {0x16011a4b, "运行日志："},
        {0x160119de, "制作"},
        {0x1601196e, "商品数量："},
        {0x16011927, "修改"},
        {0x16011917, "尾部"},
        {0x16011916, "循环代码"},
        {0x16011915, "头部"},
        {0x16011909, "保存"},
        {0x16011902, "模板名称："},
        {0x160118ee, "登陆阿里妈妈"},
        {0x16010016, ""},
        {0x16010015, ""},
        {0x16010013, "生成日志"},
        {0x16010012, "模板制作"},
        {0x16010011, "模板预览"},
        {0x16010010, "使用说明"},
        {0x1601000f, ""},
        {0x1601000c, "开始生成"},
        {0x1601000b, ""},
        {0x16010007, "其他配置："},
        {0x16010006, "单页模板："},
        {0x16010004, "关键词列表（一行一个）："},
        {0x16011913, ""},
        {0x16011a92, "排序方式："},
        {0x16011a93, ""},
        {0x16011a94, "保存规则："},
    };
    size_t captioned = 0;
    for (const UnitRecord& unit : window_.units) captioned += CaptionOf(unit) ? 1 : 0;
    EXPECT_EQ(captioned, std::size(captions)) << "a captioned unit missing from the table";
    for (const auto& c : captions) {
        auto stored = CaptionOf(Unit(c.unit));
        ASSERT_TRUE(stored) << std::hex << c.unit << " has no caption";
        EXPECT_EQ(*stored, Gbk(c.caption.c_str())) << std::hex << c.unit;
    }
}

TEST_F(MainWindowBlockTest, EditBoxesKeepTheCommonValuesAndTheirOwnShape) {
    const struct {
        uint32_t unit;
        uint32_t border;
        bool multiLine;  // with a vertical scroll bar
        uint32_t inputMode;
        const char* content;
    } boxes[] = {
        {0x16011a9c, 5, false, 0, "htm"}, {0x16011a4c, 5, true, 0, ""},
        {0x1601196f, 5, false, 3, ""},    {0x16011921, 5, true, 0, ""},
        {0x16011920, 5, true, 0, ""},     {0x1601191f, 5, true, 0, ""},
        {0x16011907, 3, false, 0, ""},    {0x16010005, 5, true, 0, ""},
    };
    size_t editBoxes = 0;
    for (const UnitRecord& unit : window_.units) editBoxes += unit.type == kTypeEditBox;
    EXPECT_EQ(editBoxes, std::size(boxes));
    for (const auto& b : boxes) {
        SCOPED_TRACE(::testing::Message() << std::hex << b.unit);
        auto d = controls::ReadStoredData<controls::EditBoxData>(Unit(b.unit).typeData);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->border, b.border);
        EXPECT_EQ(d->multiLine, b.multiLine ? 1u : 0u);
        EXPECT_EQ(d->scrollBars, b.multiLine ? 2u : 0u);
        EXPECT_EQ(d->inputMode, b.inputMode);
        EXPECT_EQ(d->content, b.content);
        EXPECT_EQ(d->textColour, 0x000000u);
        EXPECT_EQ(d->background, 0xC0C0C0u);
        EXPECT_EQ(d->hideSelection, 1u);
        EXPECT_EQ(d->maxLength, 0);
        EXPECT_EQ(d->passwordChar, '*');
        EXPECT_EQ(d->font.has_value(), b.unit == 0x16011a4c) << "only the log box has a font";
    }
    auto log = controls::ReadStoredData<controls::EditBoxData>(Unit(0x16011a4c).typeData);
    ASSERT_TRUE(log && log->font);
    EXPECT_EQ(log->font->face, Gbk("宋体"));
    EXPECT_EQ(log->font->height, -14);
}

TEST_F(MainWindowBlockTest, LabelsDrawBlackOnTheSystemColour) {
    for (const UnitRecord& unit : window_.units) {
        if (unit.type != kTypeLabel) continue;
        auto d = controls::ReadStoredData<controls::LabelData>(unit.typeData);
        ASSERT_TRUE(d) << std::hex << unit.id;
        EXPECT_EQ(d->textColour, 0x000000u) << std::hex << unit.id;
        EXPECT_EQ(d->background, 0xFF000000u) << std::hex << unit.id;
    }
    auto note = controls::ReadStoredData<controls::LabelData>(Unit(0x160132e8).typeData);
    ASSERT_TRUE(note && note->font);
    EXPECT_EQ(note->font->face, Gbk("黑体"));
    EXPECT_EQ(note->font->height, -29);
}

TEST_F(MainWindowBlockTest, TheSortChoiceOffersTheThreeOrdersInAnEditableDropDown) {
    auto d = controls::ReadStoredData<controls::ComboBoxData>(Unit(kSortChoice).typeData);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->comboType, 1u);
    EXPECT_EQ(d->items, (std::vector<std::string>{Gbk("按销量由高到底"), Gbk("按佣金比率由高到底"),
                                                  Gbk("30天支出佣金由高到底")}));
}

TEST_F(MainWindowBlockTest, TheItemStoreIsAReportOfThreeColumns) {
    auto d = controls::ReadStoredData<controls::ListViewData>(Unit(kItemStore).typeData);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->viewMode, controls::kReportMode);
    auto columns = controls::ReadColumns(d->columns);
    ASSERT_TRUE(columns);
    std::vector<std::pair<std::string, int32_t>> seen;
    for (const controls::ListColumn& c : *columns) seen.emplace_back(c.caption, c.width);
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, int32_t>>{
                        {Gbk("宝贝链接"), 100}, {Gbk("宝贝标题"), 100}, {Gbk("商家名称"), 50}}));
}

TEST_F(MainWindowBlockTest, BothLinksOpenTheMakersSite) {
    for (uint32_t id : {0x160132ebu, 0x16011aa5u}) {
        auto d = controls::ReadStoredData<controls::HyperLinkerData>(Unit(id).typeData);
        ASSERT_TRUE(d) << std::hex << id;
        EXPECT_EQ(d->linkKind, 1u) << "a web address";
        EXPECT_EQ(d->web, std::string("http://") + app::kMakerHost + "/");
    }
}

TEST_F(MainWindowBlockTest, TheWindowIconIsAFileOfNineImages) {
    auto data = controls::ReadStoredData<controls::WindowData>(window_.units[0].typeData);
    ASSERT_TRUE(data);
    const std::vector<uint8_t>& icon = data->icon;
    ASSERT_GE(icon.size(), 6u);
    EXPECT_EQ(Field(icon, 2, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(Field(icon, 4, 2), 9u);
    const struct {
        uint32_t size, bits;
    } expected[] = {{32, 1},   {48, 4},  {48, 8},  {32, 8}, {16, 8},
                    {128, 32}, {48, 32}, {32, 32}, {16, 32}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        size_t entry = 6 + 16 * i;
        uint32_t size = expected[i].size, bits = expected[i].bits;
        EXPECT_EQ(Field(icon, entry, 1), size % 256);
        EXPECT_EQ(Field(icon, entry + 1, 1), size % 256);
        EXPECT_EQ(Field(icon, entry + 2, 1), bits < 8 ? 1u << bits : 0u) << "colour count";
        EXPECT_EQ(Field(icon, entry + 6, 2), bits);
        uint32_t length = Field(icon, entry + 8, 4), offset = Field(icon, entry + 12, 4);
        ASSERT_LE(uint64_t(offset) + length, icon.size());
        // The image's own header agrees with the directory.
        EXPECT_EQ(Field(icon, offset + 4, 4), size);
        EXPECT_EQ(Field(icon, offset + 8, 4), 2 * size) << "colour rows and mask rows";
        EXPECT_EQ(Field(icon, offset + 14, 2), bits);
        if (bits != 32) continue;
        // Drawn, not blank: the corner is see-through, the middle solid.
        auto alpha = [&](uint32_t x, uint32_t y) {
            return Field(icon, offset + 40 + 4 * ((size - 1 - y) * size + x) + 3, 1);
        };
        EXPECT_EQ(alpha(0, 0), 0u);
        EXPECT_EQ(alpha(size / 2, size / 2), 255u);
    }
}

TEST_F(MainWindowBlockTest, UnitNamesAreStoredAsGbk) {
    EXPECT_EQ(Unit(0x16010005).name, Gbk("编辑框1"));
    EXPECT_EQ(Unit(kPageControl).name, Gbk("选择夹2"));
}

}  // namespace
}  // namespace velmora
