#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "controls/button_data.h"
#include "controls/combo_box_data.h"
#include "controls/edit_box_data.h"
#include "controls/group_box_data.h"
#include "controls/hyper_linker_data.h"
#include "controls/label_data.h"
#include "controls/list_box_data.h"
#include "controls/property_values.h"
#include "controls/radio_box_data.h"
#include "controls/shape_box_data.h"
#include "controls/tab_data.h"
#include "controls/window_data.h"
#include "runtime/heap.h"
#include "runtime/stream_reader.h"
#include "tests/test_support.h"

namespace velmora::controls {
namespace {

using velmora::testing::Gbk;

FontData SongTi14() {
    FontData f;
    f.face = Gbk("宋体");
    f.height = -14;
    return f;
}

TEST(ControlDataTest, EveryTypeReadsBackWhatItWrote) {
    EditBoxData edit;
    edit.border = 5;
    edit.multiLine = 1;
    edit.scrollBars = 2;
    edit.passwordChar = '#';
    edit.adjusterHigh = -3;
    edit.font = SongTi14();
    edit.content = Gbk("关键词");
    edit.binding2 = "b";
    EXPECT_EQ(ReadStoredData<EditBoxData>(WriteStoredData(edit)), edit);

    WindowData window;
    window.caption = Gbk("窗口");
    window.icon = {1, 2, 3};
    window.alwaysOnTop = 1;
    EXPECT_EQ(ReadStoredData<WindowData>(WriteStoredData(window)), window);

    ButtonData button;
    button.caption = Gbk("开始生成");
    button.picture = {9};
    EXPECT_EQ(ReadStoredData<ButtonData>(WriteStoredData(button)), button);

    GroupBoxData group;
    group.caption = Gbk("头部");
    group.font = SongTi14();
    EXPECT_EQ(ReadStoredData<GroupBoxData>(WriteStoredData(group)), group);

    LabelData label;
    label.caption = Gbk("商品数量：");
    label.options = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(ReadStoredData<LabelData>(WriteStoredData(label)), label);

    TabData tab;
    tab.pages = {"0", "1", Gbk("单页生成")};
    tab.noStrip = 1;
    tab.position = 2;
    EXPECT_EQ(ReadStoredData<TabData>(WriteStoredData(tab)), tab);
}

TEST(ControlDataTest, TheListTypesLinksRadiosAndShapesReadBackWhatTheyWrote) {
    ComboBoxData combo;
    combo.comboType = 2;
    combo.items = {Gbk("按销量由高到底"), "b"};
    combo.itemValues = {7, -1};
    combo.current = 1;
    combo.font = SongTi14();
    EXPECT_EQ(ReadStoredData<ComboBoxData>(WriteStoredData(combo)), combo);

    ListBoxData list;
    list.items = {"x"};
    list.sorted = 1;
    list.binding2 = "d";
    EXPECT_EQ(ReadStoredData<ListBoxData>(WriteStoredData(list)), list);

    RadioBoxData radio;
    radio.caption = Gbk("生成日志");
    radio.checked = 1;
    radio.picture = {1, 2};
    EXPECT_EQ(ReadStoredData<RadioBoxData>(WriteStoredData(radio)), radio);

    HyperLinkerData link;
    link.caption = Gbk("点击查看");
    link.web = "http://example.com/";
    EXPECT_EQ(ReadStoredData<HyperLinkerData>(WriteStoredData(link)), link);

    ShapeBoxData shape;
    shape.shape = 2;
    shape.lineWidth = 3;
    EXPECT_EQ(ReadStoredData<ShapeBoxData>(WriteStoredData(shape)), shape);
}

TEST(ControlDataTest, NewerLayoutsAndCutRecordsCannotBeLoaded) {
    ComboBoxData combo;
    combo.items = {"a", "b"};
    auto bytes = WriteStoredData(combo);
    auto newer = bytes;
    newer[0] = ComboBoxData::kVersion + 1;
    EXPECT_FALSE(ReadStoredData<ComboBoxData>(newer));
    bytes.resize(bytes.size() - 3);
    EXPECT_FALSE(ReadStoredData<ComboBoxData>(bytes));
    // A forged item count larger than the record.
    ListBoxData list;
    auto forged = WriteStoredData(list);
    size_t countAt = forged.size() - 16;  // items count, values count, two empty texts
    forged[countAt + 3] = 0x7F;
    EXPECT_FALSE(ReadStoredData<ListBoxData>(forged));
    EXPECT_EQ(ReadStoredData<ShapeBoxData>({}), ShapeBoxData{})
        << "an empty record is every default";
}

TEST(ControlDataTest, PropertyValuesOfListsAndFontsRoundTrip) {
    std::vector<std::string> texts = {Gbk("模板"), "", "z"};
    EXPECT_EQ(TextListFrom(TextListBytes(texts)), texts);
    EXPECT_EQ(TextListFrom({}), std::vector<std::string>{});
    EXPECT_FALSE(TextListFrom({5, 0, 0, 0, 1})) << "five items announced, one byte there";
    std::vector<int32_t> words = {1, -2, 0x7FFFFFFF};
    EXPECT_EQ(WordListFrom(WordListBytes(words)), words);
    EXPECT_EQ(FontFrom(FontBytes(SongTi14())), SongTi14());
    EXPECT_EQ(FontBytes(std::nullopt), std::vector<uint8_t>{});
    EXPECT_EQ(FontFrom({1, 2, 3}), std::nullopt) << "not 60 bytes: the system font";

    long before = LiveBlockCount();
    ValueRecord value = ValueOf(texts);
    std::vector<std::string> back;
    Assign(back, value);
    EXPECT_EQ(back, texts);
    Free(value.Pointer());
    EXPECT_EQ(LiveBlockCount(), before);
}

TEST(ControlDataTest, EditBoxFieldsSitAtTheirStoredOffsets) {
    EditBoxData edit;
    edit.passwordChar = 0x2A;
    edit.letterCase = 0x11223344;
    edit.selectionLength = 7;
    auto bytes = WriteStoredData(edit);
    EXPECT_EQ(bytes[0x28], 0x2A);
    EXPECT_EQ(bytes[0x29], 0x00);
    EXPECT_EQ(bytes[0x2A], 0x44) << "letter case follows the 16-bit password field";
    EXPECT_EQ(bytes[0x3E], 7);
    EXPECT_EQ(bytes[0x42], 0) << "the font block starts at 0x42";
    // Version 2 ends with four empty counted fields: font, content, two texts.
    EXPECT_EQ(bytes.size(), 0x42u + 16);
}

// The stored bytes, written out by hand: 32-bit words little-endian, counted
// blocks and texts as a 32-bit length and the bytes, a Tab's page count in 16 bits.
std::vector<uint8_t> Bytes(
    std::initializer_list<std::variant<uint32_t, uint16_t, std::string>> parts) {
    std::vector<uint8_t> bytes;
    for (const auto& part : parts) {
        if (auto* word = std::get_if<uint32_t>(&part))
            for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(*word >> shift));
        if (auto* half = std::get_if<uint16_t>(&part))
            bytes.insert(bytes.end(), {uint8_t(*half), uint8_t(*half >> 8)});
        if (auto* text = std::get_if<std::string>(&part))
            bytes.insert(bytes.end(), text->begin(), text->end());
    }
    return bytes;
}

TEST(ControlDataTest, ButtonGroupBoxTabAndWindowFieldsSitAtTheirStoredOffsets) {
    ButtonData button;
    button.option9 = 7;
    button.option12 = 0;
    button.caption = "OK";
    EXPECT_EQ(WriteStoredData(button),
              Bytes({1u, 7u, 1u, 0u, 0u /* picture */, 0u /* font */, 2u, std::string("OK")}));

    GroupBoxData group;
    group.option9 = 3;
    group.textColour = 0x112233;
    group.caption = "g";
    EXPECT_EQ(WriteStoredData(group),
              Bytes({1u, 3u, 0x112233u, 0xFF000000u, 0u /* font */, 1u, std::string("g")}));

    TabData tab;
    tab.position = 2;
    tab.multiRow = 1;
    tab.noStrip = 1;
    tab.transparent = 1;
    tab.colour = 0x0000FF;
    tab.pages = {"a", "bc"};
    EXPECT_EQ(WriteStoredData(tab),
              Bytes({3u, 2u, 1u, 0u, 1u, 1u, 0xFFu, 0u /* font */, uint16_t(2), 1u,
                     std::string("a"), 2u, std::string("bc")}));

    WindowData window;
    window.position = 0;
    window.alwaysOnTop = 1;
    window.optionV5 = 5;
    window.caption = "W";
    std::vector<uint8_t> bytes = WriteStoredData(window);
    const std::pair<size_t, uint8_t> fields[] = {{0x00, 6}, {0x04, 2}, {0x08, 1}, {0x0F, 0xFF},
                                                 {0x18, 1}, {0x1C, 0}, {0x20, 1}, {0x2C, 1},
                                                 {0x38, 1}, {0x44, 1}, {0x48, 5}, {0x4C, 0}};
    for (auto [offset, value] : fields) EXPECT_EQ(bytes.at(offset), value) << std::hex << offset;
    // Class name, picture, icon and music are empty; then the caption and one more text.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 0x4C, bytes.end()),
              Bytes({0u, 0u, 0u, 0u, 1u, std::string("W"), 0u}));
}

TEST(ControlDataTest, EmptyDataMeansEveryDefault) {
    auto edit = ReadStoredData<EditBoxData>({});
    ASSERT_TRUE(edit);
    EXPECT_EQ(*edit, EditBoxData{});
    EXPECT_EQ(edit->passwordChar, '*');
    EXPECT_EQ(edit->adjusterHigh, 100);
    auto window = ReadStoredData<WindowData>({});
    ASSERT_TRUE(window);
    EXPECT_EQ(window->border, 2u);
    EXPECT_EQ(window->position, 1u);
    EXPECT_TRUE(ReadStoredData<TabData>({}).has_value());
}

TEST(ControlDataTest, ANewerLayoutOrDataCutShortCannotBeUsed) {
    EditBoxData edit;
    edit.version = 3;
    EXPECT_FALSE(ReadStoredData<EditBoxData>(WriteStoredData(edit)));
    TabData tab;
    tab.version = 4;
    EXPECT_FALSE(ReadStoredData<TabData>(WriteStoredData(tab)));

    ButtonData button;
    button.caption = "abc";
    auto bytes = WriteStoredData(button);
    bytes.pop_back();
    EXPECT_FALSE(ReadStoredData<ButtonData>(bytes));
}

TEST(ControlDataTest, OlderLayoutsLackTheirLaterFields) {
    EditBoxData edit;
    edit.version = 1;
    edit.content = "x";
    edit.binding1 = "dropped";
    auto read = ReadStoredData<EditBoxData>(WriteStoredData(edit));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->content, "x");
    EXPECT_EQ(read->binding1, "") << "a version-1 record has no binding texts";

    TabData tab;
    tab.version = 2;
    tab.noStrip = 1;
    tab.transparent = 1;
    tab.pages = {"a"};
    auto tabRead = ReadStoredData<TabData>(WriteStoredData(tab));
    ASSERT_TRUE(tabRead);
    EXPECT_EQ(tabRead->noStrip, 1u);
    EXPECT_EQ(tabRead->transparent, 0u) << "version 2 leaves option 14 at 0";
    EXPECT_EQ(tabRead->pages, std::vector<std::string>{"a"});

    WindowData window;
    window.version = 3;
    window.alwaysOnTop = 1;
    window.className = "dropped";
    window.caption = "c";
    auto windowRead = ReadStoredData<WindowData>(WriteStoredData(window));
    ASSERT_TRUE(windowRead);
    EXPECT_EQ(windowRead->alwaysOnTop, 0u);
    EXPECT_EQ(windowRead->className, "");
    EXPECT_EQ(windowRead->caption, "c");
}

TEST(ControlDataTest, FontIsSixtyBytesOrTheSystemFont) {
    StreamWriter out;
    WriteFont(out, SongTi14());
    EXPECT_EQ(out.Size(), 4 + kStoredFontSize);
    StreamReader in(out.Data());
    EXPECT_EQ(ReadFont(in), SongTi14());

    StreamWriter odd;
    odd.CountedBlock(std::vector<uint8_t>(12, 1));
    StreamReader oddIn(odd.Data());
    EXPECT_EQ(ReadFont(oddIn), std::nullopt) << "a block of another size is not a font";
    EXPECT_TRUE(oddIn.AtEnd());
}

TEST(ControlDataTest, ForgedPageCountIsRefused) {
    TabData tab;
    auto bytes = WriteStoredData(tab);
    // The page count is the last 16-bit field of an empty-captioned record.
    bytes[bytes.size() - 2] = 0xFF;
    bytes[bytes.size() - 1] = 0xFF;
    EXPECT_FALSE(ReadStoredData<TabData>(bytes));
}

}  // namespace
}  // namespace velmora::controls
