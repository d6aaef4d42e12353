#include "tools/window_source.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "controls/button_data.h"
#include "controls/combo_box_data.h"
#include "controls/edit_box_data.h"
#include "controls/html_viewer_data.h"
#include "controls/hyper_linker_data.h"
#include "controls/list_box_data.h"
#include "controls/list_view_data.h"
#include "controls/radio_box_data.h"
#include "controls/shape_box_data.h"
#include "controls/tab_data.h"
#include "controls/window_data.h"
#include "runtime/window_description_writer.h"
#include "tests/test_support.h"
#include "tools/window_source_compiler.h"

namespace velmora::tools {
namespace {

using velmora::testing::Gbk;

const std::vector<std::string> kHandlers = {"Created", "Clicked", "Closing"};

std::vector<WindowRecord> Compile(const std::string& text) {
    return CompileWindowSource(ParseWindowSource(text), kHandlers, {"."});
}

const char kWindow[] = R"(
window 0x52010001 {
    headWords = [-1, 7]
    unit window 0x06010000 "" {
        rect = [0, 0, 400, 300]
        state = [visible]
        on 0 = Created   # the created event
        on 1 = Closing
        caption = "样例"
    }
    unit Tab 0x16010003 "选择夹1" {
        rect = [0, 8, 380, 260]
        state = [visible]
        pages = ["一", "二", "三"]
    }
    unit Button 0x16010004 "按钮1" {
        parent = 0x16010003
        page = 1
        rect = [16, -16, 112, 32]
        state = [visible, disabled, tabStop]
        cursor = hand
        tag = "t\"q"
        on 0 = Clicked
        caption = "开始"
    }
    unit GroupBox 0x16010006 "分组框1" { parent = 0x16010003 }
    unit EditBox 0x16010005 "编辑框1" {
        parent = 0x16010006
        multiLine = true
        font = ["宋体", 14]
        inputMode = 3
    }
}
)";

TEST(WindowSourceTest, CompilesUnitsInTableOrder) {
    auto windows = Compile(kWindow);
    ASSERT_EQ(windows.size(), 1u);
    const WindowRecord& w = windows[0];
    EXPECT_EQ(w.id, 0x52010001u);
    EXPECT_EQ(w.firstWord, 0xFFFFFFFFu);
    EXPECT_EQ(w.secondWord, 7u);
    ASSERT_EQ(w.units.size(), 5u);
    EXPECT_EQ(w.units[0].type, 0x00010001u);
    EXPECT_EQ(w.units[1].name, Gbk("选择夹1"));

    const UnitRecord& button = w.units[2];
    EXPECT_EQ(button.type, 0x0001000Bu);
    EXPECT_EQ(button.parent, 0x16010003u);
    EXPECT_EQ(button.top, -16);
    EXPECT_EQ(button.state, 7u);
    EXPECT_EQ(button.tag, "t\"q");
    EXPECT_EQ(button.cursorData, (std::vector<uint8_t>{14, 0, 0, 0}));
    ASSERT_EQ(button.events.size(), 1u);
    EXPECT_EQ(button.events[0].handlerOffset, HandlerOffset(1));
    EXPECT_EQ(w.units[0].FindBinding(1)->handlerOffset, HandlerOffset(2));
    EXPECT_EQ(controls::ReadStoredData<controls::ButtonData>(button.typeData)->caption,
              Gbk("开始"));

    auto edit = controls::ReadStoredData<controls::EditBoxData>(w.units[4].typeData);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->multiLine, 1u);
    EXPECT_EQ(edit->inputMode, 3u);
    EXPECT_EQ(edit->font->face, Gbk("宋体"));
    EXPECT_EQ(edit->font->height, -14);
    EXPECT_TRUE(w.units[3].typeData.size() > 0) << "group box data carries its version";
}

TEST(WindowSourceTest, ChildListsComeFromParentsWithOneRunPerPage) {
    auto w = Compile(kWindow)[0];
    EXPECT_EQ(w.units[0].children, std::vector<uint32_t>{0x16010003});
    // Three pages: the group box on page 0, the button on page 1, page 2 empty.
    EXPECT_EQ(w.units[1].children, (std::vector<uint32_t>{0x16010006, 0, 0x16010004, 0, 0}));
    EXPECT_EQ(w.units[3].children, std::vector<uint32_t>{0x16010005});
    EXPECT_EQ(controls::ReadStoredData<controls::TabData>(w.units[1].typeData)->pages.size(), 3u);
}

TEST(WindowSourceTest, CompiledWindowsSurviveTheStream) {
    auto windows = Compile(kWindow);
    auto block = WriteWindowBlock(windows);
    auto read = ReadWindowBlock(block);
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.windows, windows);
}

TEST(WindowSourceTest, HandlerListGivesTableOrder) {
    auto names = ParseHandlerList("// comment\nVELMORA_HANDLER(A)\n\n  VELMORA_HANDLER(B)\n");
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));
    EXPECT_THROW(ParseHandlerList("VELMORA_HANDLER(A)\nHANDLER B\n"), SourceError);
}

struct BadSource {
    const char* name;
    const char* text;
    int line;           // where the error is reported
    const char* words;  // part of the message
};

class WindowSourceErrorTest : public ::testing::TestWithParam<BadSource> {};

TEST_P(WindowSourceErrorTest, NamesTheLineAndTheProblem) {
    const BadSource& c = GetParam();
    try {
        Compile(c.text);
        FAIL() << "compiled without error";
    } catch (const SourceError& e) {
        EXPECT_EQ(e.Line(), c.line) << e.what();
        EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
    }
}

#define WINDOW_UNIT "unit window 0x06010000 \"\" {}\n"

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowSourceErrorTest,
    ::testing::Values(
        BadSource{"UnknownHandler", "window 1 {\n unit window 0x06010000 \"\" {\n on 0 = Nobody }}",
                  3, "handler list"},
        BadSource{"MisspeltProperty",
                  "window 1 {\n" WINDOW_UNIT " unit Button 0x16010001 \"b\" {\n capton = \"x\" }}",
                  4, "not a stored property of Button"},
        BadSource{"PropertyOfTypeWithoutData",
                  "window 1 {\n" WINDOW_UNIT " unit ListBox 0x16010001 \"b\" {\n x = 1 }}", 4,
                  "not a stored property"},
        BadSource{"ParentNotInWindow",
                  "window 1 {\n" WINDOW_UNIT " unit Button 0x16010001 \"b\" {\n parent = 5 }}", 3,
                  "parent"},
        BadSource{"PageUnderUnpagedParent",
                  "window 1 {\n" WINDOW_UNIT " unit Button 0x16010001 \"b\" {\n page = 1 }}", 3,
                  "not divided into pages"},
        BadSource{"DuplicateUnit",
                  "window 1 {\n" WINDOW_UNIT
                  " unit Button 0x16010001 \"a\" {}\n unit Label 0x16010001 \"b\" {}}",
                  4, "used twice"},
        BadSource{"FirstUnitNotWindow", "window 1 {\n unit Button 0x16010001 \"a\" {}}", 1,
                  "first unit"},
        BadSource{"UnknownType", "window 1 {\n" WINDOW_UNIT " unit Knob 0x16010001 \"a\" {}}", 3,
                  "unknown unit type"},
        BadSource{"UnclosedText", "window 1 {\n unit window 0x06010000 \"abc\n {}}", 2,
                  "not closed"},
        BadSource{"MissingBrace", "window 1 {\n" WINDOW_UNIT, 3, "expected"},
        BadSource{"NumberTooWide", "window 0x100000000 {}", 1, "32 bits"},
        BadSource{"TextWithoutGbkForm",
                  "window 1 {\n unit window 0x06010000 \"\" {\n tag = \"😀\" }}", 3, "GBK"},
        BadSource{"BadState", "window 1 {\n unit window 0x06010000 \"\" {\n state = [shown] }}", 3,
                  "visible"},
        BadSource{"UnknownCursor",
                  "window 1 {\n unit window 0x06010000 \"\" {\n cursor = pointer }}", 3,
                  "unknown cursor"},
        BadSource{"EventBoundTwice",
                  "window 1 {\n unit window 0x06010000 \"\" {\n on 0 = Created\n on 0 = "
                  "Clicked }}",
                  4, "bound twice"},
        BadSource{"ItemValueNotANumber",
                  "window 1 {\n" WINDOW_UNIT
                  " unit ComboBox 0x16010001 \"a\" {\n itemValues = [\"1\", \"x2\"] }}",
                  4, "whole numbers"},
        BadSource{"FontFaceTooLong",
                  "window 1 {\n" WINDOW_UNIT
                  " unit Label 0x16010001 \"a\" {\n font = [\"abcdefghijabcdefghijabcdefghij12\", "
                  "9] }}",
                  4, "31"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowSourceTest, EveryStandardTypeStoresItsNamedProperties) {
    auto w = Compile(R"(window 1 {
    unit window 0x06010000 "" {}
    unit ComboBox 0x16010001 "c" {
        comboType = 2
        items = ["按销量由高到底", "b"]
        itemValues = ["5", "-6"]
        current = 1
        font = ["宋体", 12]
    }
    unit ListBox 0x16010002 "l" { sorted = true  items = ["模板"] }
    unit RadioBox 0x16010003 "r" { caption = "生成日志"  checked = true }
    unit HyperLinker 0x16010004 "h" { caption = "点击查看"  linkKind = 0  email = "a@b.c" }
    unit ShapeBox 0x16010005 "s" { shape = 2  fillColour = 0x80E0FF }
})")[0];
    auto combo = controls::ReadStoredData<controls::ComboBoxData>(w.units[1].typeData);
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->comboType, 2u);
    EXPECT_EQ(combo->items, (std::vector<std::string>{Gbk("按销量由高到底"), "b"}));
    EXPECT_EQ(combo->itemValues, (std::vector<int32_t>{5, -6}));
    EXPECT_EQ(combo->current, 1);
    EXPECT_EQ(combo->font->height, -12);
    auto list = controls::ReadStoredData<controls::ListBoxData>(w.units[2].typeData);
    EXPECT_EQ(list->sorted, 1u);
    EXPECT_EQ(list->items, std::vector<std::string>{Gbk("模板")});
    auto radio = controls::ReadStoredData<controls::RadioBoxData>(w.units[3].typeData);
    EXPECT_EQ(radio->caption, Gbk("生成日志"));
    EXPECT_EQ(radio->checked, 1u);
    auto link = controls::ReadStoredData<controls::HyperLinkerData>(w.units[4].typeData);
    EXPECT_EQ(link->linkKind, 0u);
    EXPECT_EQ(link->email, "a@b.c");
    auto shape = controls::ReadStoredData<controls::ShapeBoxData>(w.units[5].typeData);
    EXPECT_EQ(shape->shape, 2u);
    EXPECT_EQ(shape->fillColour, 0x80E0FFu);
}

TEST(WindowSourceTest, StandardCursorsAreNumberedFromOne) {
    EXPECT_EQ(StandardCursorNumber("arrow"), 1);
    EXPECT_EQ(StandardCursorNumber("ibeam"), 3);
    EXPECT_EQ(StandardCursorNumber("upArrow"), 13);
    EXPECT_EQ(StandardCursorNumber("hand"), 14);
    EXPECT_EQ(StandardCursorNumber("Hand"), -1);
}

TEST(WindowSourceTest, BrowserAndReportListCarryTheirSettings) {
    auto windows = Compile(R"(
window 1 {
    unit window 0x06010000 "" {}
    unit HtmlViewer 0x16010001 "b" { address = "http://站/" textSize = 3 silent = true }
    unit ListView 0x16010002 "l" {
        viewMode = 3
        columns = [["宝贝链接", 100], ["商家名称", 50, 2]]
    }
}
)");
    auto browser = controls::ReadStoredData<controls::HtmlViewerData>(windows[0].units[1].typeData);
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->address, Gbk("http://站/"));
    EXPECT_EQ(browser->textSize, 3);
    EXPECT_EQ(browser->silent, 1u);
    auto list = controls::ReadStoredData<controls::ListViewData>(windows[0].units[2].typeData);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->viewMode, controls::kReportMode);
    auto columns = controls::ReadColumns(list->columns);
    ASSERT_TRUE(columns);
    ASSERT_EQ(columns->size(), 2u);
    EXPECT_EQ((*columns)[0].caption, Gbk("宝贝链接"));
    EXPECT_EQ((*columns)[1].width, 50);
    EXPECT_EQ((*columns)[1].alignment, controls::kAlignRight);

    EXPECT_THROW(Compile("window 1 {\n" WINDOW_UNIT
                         " unit ListView 0x16010001 \"l\" { columns = [[100, \"x\"]] }}"),
                 SourceError);
}

// Two directories of files for the source to name; removed with the test.
class SourceFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("window_source_files_" + std::to_string(::getpid()));
        for (const char* dir : {"first", "second"})
            std::filesystem::create_directories(root_ / dir);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    void Put(const char* dir, const char* name, const std::string& bytes) {
        std::ofstream(root_ / dir / name, std::ios::binary) << bytes;
    }
    std::vector<WindowRecord> CompileHere(const std::string& text) {
        return CompileWindowSource(ParseWindowSource(text), kHandlers,
                                   {root_ / "first", root_ / "second"});
    }

    std::filesystem::path root_;
};

TEST_F(SourceFilesTest, TheWindowStoresTheFilesItNamesFromTheFirstDirectoryHoldingThem) {
    Put("second", "app.ico", std::string("\0\0\1\0icon", 8));
    Put("first", "back.bmp", "BMpicture");
    Put("second", "back.bmp", "shadowed");
    Put("second", "pointer.cur", "cursor");
    auto w = CompileHere(R"(window 1 {
    unit window 0x06010000 "" {
        icon = "app.ico"
        picture = "back.bmp"
        cursor = "pointer.cur"
    }
})")[0];
    auto data = controls::ReadStoredData<controls::WindowData>(w.units[0].typeData);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->icon, (std::vector<uint8_t>{0, 0, 1, 0, 'i', 'c', 'o', 'n'}));
    EXPECT_EQ(std::string(data->picture.begin(), data->picture.end()), "BMpicture");
    EXPECT_TRUE(data->music.empty());
    std::vector<uint8_t> cursor = {0xFF, 0xFF, 0xFF, 0xFF, 'c', 'u', 'r', 's', 'o', 'r'};
    EXPECT_EQ(w.units[0].cursorData, cursor);
}

TEST_F(SourceFilesTest, AFileNoDirectoryHoldsIsAnErrorOnItsLine) {
    try {
        CompileHere("window 1 {\n unit window 0x06010000 \"\" {\n\n icon = \"none.ico\" }}");
        FAIL() << "compiled without the file";
    } catch (const SourceError& e) {
        EXPECT_EQ(e.Line(), 4);
        EXPECT_NE(std::string(e.what()).find("'icon': cannot read 'none.ico'"), std::string::npos)
            << e.what();
    }
    EXPECT_THROW(CompileHere("window 1 {\n unit window 0x06010000 \"\" { icon = 5 }}"),
                 SourceError);
}

}  // namespace
}  // namespace velmora::tools
