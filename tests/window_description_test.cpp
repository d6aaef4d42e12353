#include "runtime/window_description.h"

#include <gtest/gtest.h>

#include "runtime/stream_reader.h"
#include "runtime/stream_writer.h"
#include "runtime/window_description_writer.h"
#include "tests/test_support.h"
#include "tests/window_samples.h"

namespace velmora {
namespace {

using namespace velmora::testing;

// One window holding every kind of record field the format has.
WindowRecord RichWindow() {
    WindowRecord w;
    w.id = kSampleWindowId;
    w.firstWord = 0xFFFFFFFF;
    w.secondWord = 0x19010020;
    w.firstText = "first";
    w.units.push_back(WindowUnit({0x16010003}));
    w.units[0].events = {{0, HandlerOffset(0), nullptr}, {1, kNoHandler, nullptr}};
    w.units[0].typeData = {6, 0, 0, 0, 2, 0, 0, 0};

    UnitRecord tab = Unit(0x16010003, kTypeTab, 0, kStateVisible, {0x16010004, 0, 0x16010005, 0});
    tab.name = Gbk("选择夹1");
    tab.cursorData = {0xFF, 0xFF, 0xFF, 0xFF, 'c', 'u', 'r'};
    tab.tag = Gbk("标记");
    tab.focusOrder = 3;
    w.units.push_back(tab);

    UnitRecord button = Unit(0x16010004, kTypeButton, 0x16010003, 5);
    button.eventSource = 0x16010006;
    button.comment = "remark";
    button.left = -5;
    button.runtimeSlots = {1, 2, 3, 4};
    button.trailer[19] = 7;
    button.events = {{0, HandlerOffset(2), nullptr}, {-7, HandlerOffset(1), nullptr}};
    w.units.push_back(button);

    UnitRecord edit = Unit(0x16010005, kTypeEditBox, 0x16010003, 1);
    edit.typeData = {2, 0, 0, 0, 9, 9};
    w.units.push_back(edit);

    UnitRecord menu;
    menu.id = 0x26010001;
    menu.type = kTypeMenuItem;
    menu.name = "menu";
    menu.menuWords = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    menu.menuText = "&File";
    menu.menuHandler.handlerOffset = HandlerOffset(1);
    w.units.push_back(menu);
    return w;
}

TEST(WindowDescriptionTest, ReadingWhatTheWriterWroteGivesTheSameRecords) {
    std::vector<WindowRecord> windows = {RichWindow(), RichWindow()};
    windows[1].id = 0x52010002;
    windows[1].units.resize(1);
    auto block = WriteWindowBlock(windows);
    WindowBlockResult read = ReadWindowBlock(block);
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.windows, windows);
}

TEST(WindowDescriptionTest, UnitTableSizeAndOffsetsFollowTheLayout) {
    WindowRecord w = RichWindow();
    StreamWriter out;
    WriteWindowRecord(w, out);
    StreamReader in(out.Data());
    in.Word("first");
    in.Word("second");
    in.CountedText("t1");
    in.CountedText("t2");
    uint32_t n = in.Word("n");
    uint32_t tableSize = in.Word("size");
    ASSERT_EQ(n, w.units.size());
    EXPECT_EQ(tableSize, in.Remaining()) << "the table size covers everything after it";
    for (const UnitRecord& u : w.units) EXPECT_EQ(in.Word("id"), u.id);
    EXPECT_EQ(in.Word("offset 0"), 0u) << "unit 0 sits at offset 0";
    // The button's record: type-specific data is whatever follows the trailer.
    StreamWriter record;
    WriteUnitRecord(w.units[2], record);
    StreamReader unit(record.Data());
    EXPECT_EQ(unit.Word("type"), kTypeButton);
    EXPECT_EQ(unit.Word("source"), 0x16010006u);
}

TEST(WindowDescriptionTest, UnitsMayBeStoredInAnyOrderWithoutOverlap) {
    // Hand-built table whose second unit's entry comes first in the data.
    StreamWriter window;
    window.Word(0);
    window.Word(0);
    window.CountedText("");
    window.CountedText("");
    StreamWriter first, second;
    WriteUnitRecord(WindowUnit({}), first);
    WriteUnitRecord(Unit(0x16010001, kTypeButton, 0, 1), second);
    StreamWriter data;
    data.CountedBlock(second.Data());
    size_t firstOffset = data.Size();
    data.CountedBlock(first.Data());
    window.Word(2);
    window.Word(static_cast<uint32_t>(16 + data.Size()));
    window.Word(kWindowUnitId);
    window.Word(0x16010001);
    window.Word(static_cast<uint32_t>(firstOffset));
    window.Word(0);
    window.Bytes(data.Data());
    StreamReader in(window.Data());
    WindowRecord w = ReadWindowRecord(1, in);
    ASSERT_EQ(w.units.size(), 2u);
    EXPECT_EQ(w.units[0].type, kTypeWindow);
    EXPECT_EQ(w.units[1].type, kTypeButton);
}

TEST(WindowDescriptionTest, EveryTruncationFailsCleanly) {
    // The index length and each table size cover the block to its last byte,
    // so any shorter block is refused, and nothing half-read is kept.
    auto block = WriteWindowBlock(std::vector<WindowRecord>{RichWindow()});
    for (size_t n = 0; n < block.size(); ++n) {
        std::vector<uint8_t> cut(block.begin(), block.begin() + static_cast<long>(n));
        WindowBlockResult read = ReadWindowBlock(cut);
        EXPECT_FALSE(read.Ok()) << "cut at " << n;
        EXPECT_TRUE(read.windows.empty()) << "cut at " << n;
    }
}

// Forged counts and offsets, each patched into an otherwise valid block.
struct Forgery {
    const char* name;
    size_t (*position)(const std::vector<uint8_t>& block);
    uint32_t value;
};

size_t IndexLength(const std::vector<uint8_t>&) {
    return 0;
}
// Window record starts after the index: 4 + 8 bytes for one window.
size_t UnitCount(const std::vector<uint8_t>&) {
    return 12 + 8 + 4 + 4;
}
size_t TableSize(const std::vector<uint8_t>& b) {
    return UnitCount(b) + 4;
}
size_t SecondOffset(const std::vector<uint8_t>& b) {
    return TableSize(b) + 4 + 2 * 4 + 4;
}
size_t WindowUnitLength(const std::vector<uint8_t>& b) {
    return TableSize(b) + 4 + 4 * 4;
}
// In the window unit's record: 4 (length) + type, source, 16 slots, "" "" , 7 words.
size_t ChildCount(const std::vector<uint8_t>& b) {
    return WindowUnitLength(b) + 4 + 4 + 4 + 16 + 1 + 1 + 7 * 4;
}

class WindowBlockForgeryTest : public ::testing::TestWithParam<Forgery> {};

TEST_P(WindowBlockForgeryTest, IsRefused) {
    WindowRecord w;
    w.id = 1;
    w.units = {WindowUnit({0x16010001}), Unit(0x16010001, kTypeButton, 0, 1)};
    auto block = WriteWindowBlock(std::vector<WindowRecord>{w});
    ASSERT_TRUE(ReadWindowBlock(block).Ok());
    size_t at = GetParam().position(block);
    ASSERT_LE(at + 4, block.size());
    for (int i = 0; i < 4; ++i) block[at + i] = uint8_t(GetParam().value >> (8 * i));
    WindowBlockResult read = ReadWindowBlock(block);
    EXPECT_FALSE(read.Ok());
    EXPECT_TRUE(read.windows.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowBlockForgeryTest,
                         ::testing::Values(Forgery{"IndexLengthNotAMultipleOf8", IndexLength, 12},
                                           Forgery{"IndexLengthHuge", IndexLength, 0xFFFFFFF8},
                                           Forgery{"UnitCountHuge", UnitCount, 0x20000000},
                                           Forgery{"TableSizeHuge", TableSize, 0xFFFFFFFF},
                                           Forgery{"OffsetsOverlap", SecondOffset, 0},
                                           Forgery{"OffsetOutsideData", SecondOffset, 0x7FFFFFFF},
                                           Forgery{"UnitLengthHuge", WindowUnitLength, 0xFFFFFFF0},
                                           Forgery{"ChildCountHuge", ChildCount, 0x40000000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WindowDescriptionTest, IndexWithAPartialEntryIsRefusedEvenWhenTheRecordsRead) {
    // Four spare bytes after the one entry: the records still read, the index is not whole.
    WindowRecord w;
    w.id = 1;
    w.units = {WindowUnit({0x16010001}), Unit(0x16010001, kTypeButton, 0, 1)};
    auto block = WriteWindowBlock(std::vector<WindowRecord>{w});
    block[0] = 12;
    block.insert(block.begin() + 12, 4, 0);
    EXPECT_FALSE(ReadWindowBlock(block).Ok());
}

TEST(WindowDescriptionTest, ChildCountForgeryIsAtTheRightPlace) {
    // Guards the offsets the forgery table uses: the window unit holds one child.
    WindowRecord w;
    w.id = 1;
    w.units = {WindowUnit({0x16010001}), Unit(0x16010001, kTypeButton, 0, 1)};
    auto block = WriteWindowBlock(std::vector<WindowRecord>{w});
    StreamReader in(std::span<const uint8_t>(block).subspan(ChildCount(block)));
    EXPECT_EQ(in.Word("children"), 1u);
    EXPECT_EQ(in.Word("child"), 0x16010001u);
}

TEST(WindowDescriptionTest, FindUnitTakesZeroAsTheWindowItself) {
    WindowRecord w = RichWindow();
    EXPECT_EQ(w.FindUnit(0), &w.units[0]);
    EXPECT_EQ(w.FindUnit(0x16010005), &w.units[3]);
    EXPECT_EQ(w.FindUnit(0x16019999), nullptr);
    EXPECT_EQ(WindowRecord{}.FindUnit(0), nullptr);
    EXPECT_TRUE(w.units[4].IsMenuItem());
    EXPECT_FALSE(w.units[1].IsMenuItem());
}

HandlerResult First(const HandlerCall&) {
    return {true, 1};
}
HandlerResult Second(const HandlerCall&) {
    return {true, 2};
}
HandlerResult Third(const HandlerCall&) {
    return {true, 3};
}
const HandlerEntry kHandlers[] = {{"First", First}, {"Second", Second}, {"Third", Third}};

TEST(WindowDescriptionTest, HandlerOffsetsResolveThroughTheHandlerTable) {
    std::vector<WindowRecord> windows = {RichWindow()};
    ASSERT_TRUE(ResolveHandlers(windows, {kHandlers, 3}));
    const WindowRecord& w = windows[0];
    EXPECT_EQ(w.units[0].FindBinding(0)->handler, &First);
    EXPECT_EQ(w.units[0].FindBinding(1)->handler, nullptr) << "offset -1 binds nothing";
    EXPECT_EQ(w.units[2].FindBinding(0)->handler, &Third);
    EXPECT_EQ(w.units[2].FindBinding(-7)->handler, &Second);
    EXPECT_EQ(w.units[4].menuHandler.handler, &Second);
}

TEST(WindowDescriptionTest, OffsetsThatNameNoEntryAreRefused) {
    HandlerRoutine r = nullptr;
    for (int32_t offset : {HandlerOffset(3), HandlerOffset(1) + 1, -2, int32_t(0x7FFFFFF0)})
        EXPECT_FALSE(ResolveHandlerOffset({kHandlers, 3}, offset, &r)) << offset;
    EXPECT_TRUE(ResolveHandlerOffset({kHandlers, 3}, HandlerOffset(2), &r));
    EXPECT_EQ(r, &Third);
}

}  // namespace
}  // namespace velmora

namespace velmora::testing {
extern const uint8_t kSampleWindowBlock[];
extern const size_t kSampleWindowBlockSize;
}  // namespace velmora::testing

namespace velmora {
namespace {

TEST(WindowDescriptionTest, TheBuildEmbedsTheCompiledWindowSource) {
    WindowBlockResult read =
        ReadWindowBlock({testing::kSampleWindowBlock, testing::kSampleWindowBlockSize});
    ASSERT_TRUE(read.Ok()) << read.error;
    ASSERT_EQ(read.windows.size(), 1u);
    const WindowRecord& w = read.windows[0];
    ASSERT_EQ(w.units.size(), 4u);
    EXPECT_EQ(w.units[1].children, (std::vector<uint32_t>{0x16010004, 0, 0x16010005, 0}));
    EXPECT_EQ(w.units[2].name, testing::Gbk("按钮1"));
    EXPECT_EQ(w.units[2].FindBinding(0)->handlerOffset, HandlerOffset(1));
    EXPECT_EQ(w.units[0].FindBinding(1)->handlerOffset, HandlerOffset(2));
}

}  // namespace
}  // namespace velmora
