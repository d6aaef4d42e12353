// The main window as the build stores it: units, pages and event bindings.
#include "app/image/main_window_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/combo_box_data.h"
#include "controls/hyper_linker_data.h"
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
    auto data = controls::ReadWindowData(self.typeData);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->caption, "Velmora2.0");
    EXPECT_EQ(data->position, 1u) << "centred at creation";
    EXPECT_EQ(data->border, 2u);
    EXPECT_EQ(data->maximiseButton, 1u);
    EXPECT_EQ(data->minimiseButton, 1u);
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

// Without its three items the sort choice has no selection, and the run
// then sends no promotion search at all.
TEST_F(MainWindowBlockTest, TheSortChoiceOffersTheThreeSortOrders) {
    std::optional<controls::ComboBoxData> sort =
        controls::ReadComboBoxData(Unit(0x1601000a).typeData);
    ASSERT_TRUE(sort);
    EXPECT_EQ(sort->comboType, 1u);
    EXPECT_EQ(sort->items,
              (std::vector<std::string>{Gbk("按销量由高到底"), Gbk("按佣金比率由高到底"),
                                        Gbk("30天支出佣金由高到底")}));
}

// The run keeps its items as the cells of the hidden list's three columns.
TEST_F(MainWindowBlockTest, TheItemListIsAReportOfThreeColumns) {
    std::optional<controls::ListViewData> list =
        controls::ReadListViewData(Unit(0x1601192f).typeData);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->viewMode, controls::kReportMode);
    std::optional<std::vector<controls::ListColumn>> columns = controls::ReadColumns(list->columns);
    ASSERT_TRUE(columns);
    std::vector<std::pair<std::string, int32_t>> shape;
    for (const controls::ListColumn& c : *columns) shape.emplace_back(c.caption, c.width);
    EXPECT_EQ(shape, (std::vector<std::pair<std::string, int32_t>>{
                         {Gbk("宝贝链接"), 100}, {Gbk("宝贝标题"), 100}, {Gbk("商家名称"), 50}}));
}

// A switch or a link without its caption shows nothing a user could click.
TEST_F(MainWindowBlockTest, PageSwitchesAndLinksCarryTheirCaptions) {
    for (auto [id, caption] :
         std::vector<std::pair<uint32_t, const char*>>{{0x16010010, "使用说明"},
                                                       {0x16010011, "模板预览"},
                                                       {0x16010012, "模板制作"},
                                                       {0x16010013, "生成日志"}}) {
        std::optional<controls::RadioBoxData> radio = controls::ReadRadioBoxData(Unit(id).typeData);
        ASSERT_TRUE(radio) << std::hex << id;
        EXPECT_EQ(radio->caption, Gbk(caption)) << std::hex << id;
    }
    for (auto [id, caption] : std::vector<std::pair<uint32_t, const char*>>{
             {0x16011aa5, "最新版本下载"}, {0x160132eb, "点击查看"}}) {
        std::optional<controls::HyperLinkerData> link =
            controls::ReadHyperLinkerData(Unit(id).typeData);
        ASSERT_TRUE(link) << std::hex << id;
        EXPECT_EQ(link->caption, Gbk(caption)) << std::hex << id;
        EXPECT_FALSE(link->web.empty()) << std::hex << id;
    }
}

TEST_F(MainWindowBlockTest, UnitNamesAreStoredAsGbk) {
    EXPECT_EQ(Unit(0x16010005).name, Gbk("编辑框1"));
    EXPECT_EQ(Unit(kPageControl).name, Gbk("选择夹2"));
}

}  // namespace
}  // namespace velmora
