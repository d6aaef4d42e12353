#include "tools/window_source.h"

#include <gtest/gtest.h>

#include "controls/button_data.h"
#include "controls/edit_box_data.h"
#include "controls/tab_data.h"
#include "runtime/window_description_writer.h"
#include "tests/test_support.h"
#include "tools/window_source_compiler.h"

namespace velmora::tools {
namespace {

using velmora::testing::Gbk;

const std::vector<std::string> kHandlers = {"Created", "Clicked", "Closing"};

std::vector<WindowRecord> Compile(const std::string& text) {
    return CompileWindowSource(ParseWindowSource(text), kHandlers, ".");
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
    EXPECT_EQ(controls::ReadButtonData(button.typeData)->caption, Gbk("开始"));

    auto edit = controls::ReadEditBoxData(w.units[4].typeData);
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
    EXPECT_EQ(controls::ReadTabData(w.units[1].typeData)->pages.size(), 3u);
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
        BadSource{"FontFaceTooLong",
                  "window 1 {\n" WINDOW_UNIT
                  " unit Label 0x16010001 \"a\" {\n font = [\"abcdefghijabcdefghijabcdefghij12\", "
                  "9] }}",
                  4, "31"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowSourceTest, StandardCursorsAreNumberedFromOne) {
    EXPECT_EQ(StandardCursorNumber("arrow"), 1);
    EXPECT_EQ(StandardCursorNumber("ibeam"), 3);
    EXPECT_EQ(StandardCursorNumber("upArrow"), 13);
    EXPECT_EQ(StandardCursorNumber("hand"), 14);
    EXPECT_EQ(StandardCursorNumber("Hand"), -1);
}

}  // namespace
}  // namespace velmora::tools
