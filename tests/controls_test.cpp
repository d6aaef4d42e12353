// The standard controls on a built window, reached the way the application
// reaches them: the entry table's property slots and the control commands.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <cstdio>
#include <set>
#include <string>
#include <tuple>

#include "commands/control_commands.h"
#include "controls/combo_box_data.h"
#include "controls/core_types.h"
#include "controls/default_browser.h"
#include "controls/edit_box.h"
#include "controls/edit_box_data.h"
#include "controls/edit_box_typing.h"
#include "controls/hyper_linker.h"
#include "controls/hyper_linker_data.h"
#include "controls/label_data.h"
#include "controls/list_box_data.h"
#include "controls/property_values.h"
#include "controls/radio_box_data.h"
#include "controls/shape_box_data.h"
#include "controls/tab_data.h"
#include "controls/window_data.h"
#include "runtime/entry_table.h"
#include "runtime/gbk_qt.h"
#include "runtime/heap.h"
#include "runtime/runtime_state.h"
#include "runtime/window_builder.h"
#include "runtime/window_table.h"
#include "tests/test_support.h"
#include "tests/window_samples.h"

namespace velmora {
namespace {

using namespace velmora::testing;

constexpr uint32_t kTypeRadio = 0x0001000D;
constexpr uint32_t kTypeCombo = 0x0001000E;
constexpr uint32_t kTypeList = 0x0001000F;
constexpr uint32_t kTypeShape = 0x00010007;
constexpr uint32_t kTypeLink = 0x0001001D;

constexpr uint32_t kTab = 0x16010002;
constexpr uint32_t kDigits = 0x16010003;  // page 1
constexpr uint32_t kLog = 0x16010004;     // page 2
constexpr uint32_t kRadioA = 0x16010005;
constexpr uint32_t kRadioB = 0x16010006;
constexpr uint32_t kRadioC = 0x16010007;
constexpr uint32_t kGroup = 0x16010008;
constexpr uint32_t kRadioInGroup = 0x16010009;
constexpr uint32_t kCombo = 0x1601000A;
constexpr uint32_t kList = 0x1601000B;
constexpr uint32_t kLabel = 0x1601000C;
constexpr uint32_t kLink = 0x1601000D;
constexpr uint32_t kShape = 0x1601000E;
constexpr uint32_t kButton = 0x1601000F;

struct Seen {
    int digitsChanged = 0;
    int tabAsked = 0;
    int tabChanged = 0;
    int listDoubleClicked = 0;
    bool refusePage = false;
} seen;

HandlerResult DigitsChanged(const HandlerCall&) {
    return ++seen.digitsChanged, HandlerResult{};
}
HandlerResult TabAsked(const HandlerCall&) {
    ++seen.tabAsked;
    return {true, seen.refusePage ? 0u : 1u};
}
HandlerResult TabChanged(const HandlerCall&) {
    return ++seen.tabChanged, HandlerResult{};
}
HandlerResult ListDoubleClicked(const HandlerCall&) {
    return ++seen.listDoubleClicked, HandlerResult{};
}
const HandlerEntry kHandlers[] = {{"DigitsChanged", DigitsChanged},
                                  {"TabAsked", TabAsked},
                                  {"TabChanged", TabChanged},
                                  {"ListDoubleClicked", ListDoubleClicked}};

template <typename Data>
UnitRecord WithData(UnitRecord u, const Data& data, std::vector<uint8_t> (*write)(const Data&)) {
    u.typeData = write(data);
    return u;
}

UnitRecord Placed(UnitRecord u, int left, int top, int width, int height) {
    u.left = left, u.top = top, u.width = width, u.height = height;
    return u;
}

// One window holding every standard type.
WindowRecord EveryType() {
    WindowRecord w;
    w.id = kSampleWindowId;
    controls::WindowData window;
    window.caption = Gbk("每种控件");
    window.position = 0;
    UnitRecord windowUnit = WithData(WindowUnit({kTab, kRadioA, kRadioB, kRadioC, kGroup, kCombo,
                                                 kList, kLabel, kLink, kShape, kButton}),
                                     window, controls::WriteStoredData<controls::WindowData>);
    windowUnit.width = 560;
    windowUnit.height = 360;
    w.units.push_back(windowUnit);

    controls::TabData tab;
    tab.pages = {Gbk("数字"), Gbk("日志")};
    UnitRecord tabUnit = WithData(Unit(kTab, kTypeTab, 0, kStateVisible, {kDigits, 0, kLog, 0}),
                                  tab, controls::WriteStoredData<controls::TabData>);
    tabUnit.events = {{1, HandlerOffset(1), nullptr}, {2, HandlerOffset(2), nullptr}};
    w.units.push_back(Placed(tabUnit, 8, 8, 260, 150));

    controls::EditBoxData digits;
    digits.inputMode = 3;
    digits.adjuster = 1;
    digits.content = "12";
    UnitRecord digitsUnit =
        WithData(Unit(kDigits, kTypeEditBox, kTab, kStateVisible | kStateTabStop), digits,
                 controls::WriteStoredData<controls::EditBoxData>);
    digitsUnit.events = {{0, HandlerOffset(0), nullptr}};
    digitsUnit.focusOrder = 2;
    w.units.push_back(Placed(digitsUnit, 10, 30, 120, 22));
    controls::EditBoxData log;
    log.multiLine = 1;
    log.scrollBars = 2;
    log.content = Gbk("第一行\r\n");
    UnitRecord logUnit = WithData(Unit(kLog, kTypeEditBox, kTab, kStateVisible | kStateTabStop),
                                  log, controls::WriteStoredData<controls::EditBoxData>);
    logUnit.focusOrder = 1;
    w.units.push_back(Placed(logUnit, 10, 30, 240, 110));

    const char* radios[] = {"甲", "乙", "丙"};
    for (int i = 0; i < 3; ++i) {
        controls::RadioBoxData radio;
        radio.caption = Gbk(radios[i]);
        radio.checked = i == 0;
        w.units.push_back(Placed(WithData(Unit(kRadioA + uint32_t(i), kTypeRadio, 0, kStateVisible),
                                          radio, controls::WriteStoredData<controls::RadioBoxData>),
                                 280, 10 + 26 * i, 80, 22));
    }
    w.units.push_back(
        Placed(Unit(kGroup, kTypeGroupBox, 0, kStateVisible, {kRadioInGroup}), 370, 8, 180, 80));
    controls::RadioBoxData inGroup;
    inGroup.caption = Gbk("组内");
    inGroup.checked = 1;
    w.units.push_back(Placed(WithData(Unit(kRadioInGroup, kTypeRadio, kGroup, kStateVisible),
                                      inGroup, controls::WriteStoredData<controls::RadioBoxData>),
                             10, 30, 100, 22));

    controls::ComboBoxData combo;
    combo.comboType = 2;
    combo.items = {Gbk("按销量"), Gbk("按佣金比率"), Gbk("30天支出佣金")};
    combo.current = 0;
    w.units.push_back(Placed(WithData(Unit(kCombo, kTypeCombo, 0, kStateVisible), combo,
                                      controls::WriteStoredData<controls::ComboBoxData>),
                             280, 100, 150, 100));
    controls::ListBoxData list;
    list.items = {Gbk("模板一"), Gbk("模板二")};
    w.units.push_back(Placed(WithData(Unit(kList, kTypeList, 0, kStateVisible), list,
                                      controls::WriteStoredData<controls::ListBoxData>),
                             440, 100, 110, 70));
    controls::LabelData label;
    label.caption = Gbk("商品数量：");
    label.textColour = 0x0000C0;
    w.units.push_back(Placed(WithData(Unit(kLabel, kTypeLabel, 0, kStateVisible), label,
                                      controls::WriteStoredData<controls::LabelData>),
                             8, 170, 120, 20));
    controls::HyperLinkerData link;
    link.caption = Gbk("联系作者");
    link.linkKind = 0;
    link.email = "maker@example.com";
    w.units.push_back(Placed(WithData(Unit(kLink, kTypeLink, 0, kStateVisible), link,
                                      controls::WriteStoredData<controls::HyperLinkerData>),
                             140, 170, 100, 20));
    controls::ShapeBoxData shape;
    shape.shape = 2;
    shape.fillColour = 0x80E0FF;
    w.units.push_back(Placed(WithData(Unit(kShape, kTypeShape, 0, kStateVisible), shape,
                                      controls::WriteStoredData<controls::ShapeBoxData>),
                             280, 200, 120, 60));
    w.units.push_back(Placed(Unit(kButton, kTypeButton, 0, kStateVisible), 8, 200, 100, 28));
    return w;
}

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterDataTypes(0, controls::CoreDataTypes());
        std::vector<WindowRecord> windows = {EveryType()};
        ASSERT_TRUE(ResolveHandlers(windows, {kHandlers, std::size(kHandlers)}));
        InstallWindowDescriptions(std::move(windows));
        State().windows = &builder_;
        seen = {};
    }
    void TearDown() override {
        if (QWidget* w = FindLiveObject(kSampleWindowId, 0)) delete w;
        QCoreApplication::processEvents();
        InstallWindowDescriptions({});
        ClearDataTypes();
        State().windows = nullptr;
    }
    static QWidget* Live(uint32_t unit) { return FindLiveObject(kSampleWindowId, unit); }
    static int32_t ReadInt(uint32_t unit, int property) {
        return int32_t(Entries().ReadProperty(kSampleWindowId, unit, property, -1));
    }
    static std::string ReadText(uint32_t unit, int property) {
        auto* text =
            reinterpret_cast<char*>(Entries().ReadProperty(kSampleWindowId, unit, property, -1));
        std::string copy = text ? text : "";
        Free(text);
        return copy;
    }
    static void Write(uint32_t unit, int property, uint32_t value) {
        Entries().WriteProperty(kSampleWindowId, unit, property, -1, value, 0);
    }
    static void WriteText(uint32_t unit, int property, const std::string& text) {
        uint64_t p = uintptr_t(text.c_str());
        Entries().WriteProperty(kSampleWindowId, unit, property, -1, uint32_t(p),
                                uint32_t(p >> 32));
    }
    // As an input method commits a text.
    static void Commit(QWidget* box, const QString& text) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(box, &commit);
    }
    static ValueRecord Reference(uint32_t unit) {
        return MakeControlReference(kTypeEditBox, kSampleWindowId, unit);
    }

    WindowBuilder builder_{{kHandlers, std::size(kHandlers)}};
};

TEST_F(ControlsTest, TypedCharactersPassTheInputModeButWrittenContentDoesNot) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    auto* digits = qobject_cast<QLineEdit*>(Live(kDigits));
    ASSERT_NE(digits, nullptr);
    digits->clear();
    digits->setFocus();
    QTest::keyClicks(digits, "a1b-2.c");
    EXPECT_EQ(digits->text(), "1-2");
    WriteText(kDigits, 8, "abc");
    EXPECT_EQ(ReadText(kDigits, 8), "abc") << "the content property is not filtered";
}

TEST_F(ControlsTest, WritingTheContentRaisesTheContentChangedEvent) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    WriteText(kDigits, 8, "7");
    EXPECT_EQ(seen.digitsChanged, 1);
    WriteText(kDigits, 8, "7");
    EXPECT_EQ(seen.digitsChanged, 2) << "a write of the same text is a change too";
}

TEST_F(ControlsTest, PositionAndSizeAreLimitedStoredAndApplied) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    Write(kButton, 0, 40000);
    Write(kButton, 2, uint32_t(-5));
    const UnitRecord* unit = FindWindowDescription(kSampleWindowId)->FindUnit(kButton);
    EXPECT_EQ(unit->left, 32627);
    EXPECT_EQ(unit->width, 0);
    EXPECT_EQ(Live(kButton)->x(), 32627);
    EXPECT_EQ(Live(kButton)->width(), 0);
    EXPECT_EQ(Live(kButton)->height(), 28) << "moving and sizing keep the other two";
    EXPECT_EQ(ReadInt(kButton, 0), 32627);
    Write(kButton, 1, uint32_t(-40000));
    EXPECT_EQ(ReadInt(kButton, 1), -32627);
}

TEST_F(ControlsTest, AControlOnAHiddenPageShowsOnlyWithItsPage) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    Write(kLog, 5, 0);
    Write(kLog, 5, 1);
    EXPECT_FALSE(Live(kLog)->isVisible()) << "page 2 is not the current page";
    EXPECT_EQ(ReadInt(kLog, 5), 0);
    Write(kTab, 12, 1);
    EXPECT_TRUE(Live(kLog)->isVisible());
    EXPECT_FALSE(Live(kDigits)->isVisible());
    EXPECT_EQ(ReadInt(kTab, 12), 1);
    EXPECT_EQ(seen.tabAsked + seen.tabChanged, 0) << "a written page raises nothing";
}

TEST_F(ControlsTest, AUserClickOnATabAsksFirstAndFocusesTheLowestFocusOrder) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    auto* strip = Live(kTab)->findChild<QTabBar*>();
    ASSERT_NE(strip, nullptr);
    seen.refusePage = true;
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(1).center());
    EXPECT_EQ(seen.tabAsked, 1);
    EXPECT_EQ(seen.tabChanged, 0);
    EXPECT_EQ(ReadInt(kTab, 12), 0) << "event 1 refused the change";
    seen.refusePage = false;
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(1).center());
    EXPECT_EQ(seen.tabChanged, 1);
    EXPECT_EQ(ReadInt(kTab, 12), 1);
    EXPECT_TRUE(Live(kLog)->isVisible());
    EXPECT_EQ(Live(0)->focusWidget(), Live(kLog)) << "lowest focus order of the new page";
}

TEST_F(ControlsTest, ComboSelectionIsClampedToTheItems) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    struct Case {
        int32_t written;
        int32_t read;
    } cases[] = {{7, 2}, {-5, -1}, {1, 1}, {-1, -1}, {2, 2}};
    for (const Case& c : cases) {
        Write(kCombo, 19, uint32_t(c.written));
        EXPECT_EQ(ReadInt(kCombo, 19), c.read) << c.written;
    }
    EXPECT_EQ(ReadText(kCombo, 9), Gbk("30天支出佣金"));
    // Stored 100 pixels tall, the field and its dropped list take 160.
    auto* combo = qobject_cast<QComboBox*>(Live(kCombo));
    int row = combo->view()->sizeHintForRow(0);
    int dropped = combo->height() + combo->maxVisibleItems() * row;
    EXPECT_GE(dropped, 160);
    EXPECT_LT(dropped, 160 + row);
}

TEST_F(ControlsTest, AComboRebuildKeepsTheLiveStateAndTheFieldSelectionIsInBytes) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    Write(kCombo, 19, 1);
    Write(kCombo, 8, 1);  // a type with an edit field: rebuilt
    QLineEdit* field = qobject_cast<QComboBox*>(Live(kCombo))->lineEdit();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(ReadInt(kCombo, 19), 1) << "the live selection survives the rebuild";
    Write(kCombo, 19, 2);
    EXPECT_EQ(field->cursorPosition(), 0) << "a choice shows its text from the start";
    WriteText(kCombo, 9, Gbk("按佣金x"));
    Write(kCombo, 11, 2);
    Write(kCombo, 12, 4);
    EXPECT_EQ(ReadText(kCombo, 13), Gbk("佣金"));
    Write(kCombo, 24, 1);  // sorted: rebuilt again
    EXPECT_EQ(ReadText(kCombo, 9), Gbk("按佣金x"));
    EXPECT_EQ(ReadInt(kCombo, 11), 2);
    EXPECT_EQ(ReadInt(kCombo, 12), 4);
    Write(kCombo, 12, uint32_t(-1));
    EXPECT_EQ(ReadText(kCombo, 13), Gbk("佣金x")) << "-1 runs to the end";
}

TEST_F(ControlsTest, CheckingARadioButtonUnchecksItsSiblingsOnly) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    EXPECT_EQ(ReadInt(kRadioA, 9), 1);
    static_cast<QAbstractButton*>(Live(kRadioC))->click();
    EXPECT_EQ(ReadInt(kRadioA, 9), 0);
    EXPECT_EQ(ReadInt(kRadioB, 9), 0);
    EXPECT_EQ(ReadInt(kRadioC, 9), 1);
    EXPECT_EQ(ReadInt(kRadioInGroup, 9), 1) << "another parent";
    Write(kRadioB, 9, 1);
    EXPECT_EQ(ReadInt(kRadioC, 9), 0);
    EXPECT_EQ(ReadInt(kRadioInGroup, 9), 1);
}

TEST_F(ControlsTest, StoredAndKeptPropertiesReadBackAsWritten) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    WriteText(kLabel, 8, Gbk("新标题"));
    EXPECT_EQ(ReadText(kLabel, 8), Gbk("新标题"));
    Write(kLabel, 16, 0x00FF00);
    EXPECT_EQ(ReadInt(kLabel, 16), 0x00FF00);
    Write(kLabel, 24, 77);  // no stored field: kept with the control
    EXPECT_EQ(ReadInt(kLabel, 24), 77);
    WriteText(kLink, 11, "http://example.com/");
    EXPECT_EQ(ReadText(kLink, 11), "http://example.com/");
    Write(kShape, 13, 0x123456);
    EXPECT_EQ(ReadInt(kShape, 13), 0x123456);
    WriteText(0, 8, Gbk("新窗口标题"));
    EXPECT_EQ(ReadText(0, 8), Gbk("新窗口标题"));
    EXPECT_EQ(Live(0)->windowTitle(), QString::fromUtf8("新窗口标题"));
    Write(kButton, 4, 0);
    EXPECT_EQ(ReadText(kButton, 4), "") << "a null tag is the empty tag";
}

TEST_F(ControlsTest, RebuildingOptionsKeepTheTypedContentAndSelection) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    WriteText(kDigits, 8, "42");
    qobject_cast<QLineEdit*>(Live(kDigits))->setSelection(1, 1);  // as the user selects
    Write(kDigits, 15, 1);                                        // multi-line
    ASSERT_NE(qobject_cast<QPlainTextEdit*>(Live(kDigits)), nullptr);
    EXPECT_EQ(ReadText(kDigits, 8), "42");
    EXPECT_EQ(ReadText(kDigits, 26), "2") << "and the selection";
    EXPECT_EQ(ReadInt(kDigits, 15), 1);
}

TEST_F(ControlsTest, SelectionPropertiesCountBytesAndTheirNegatives) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    WriteText(kDigits, 8, Gbk("ab关键cd"));
    Write(kDigits, 25, uint32_t(-1));
    EXPECT_EQ(ReadInt(kDigits, 24), 0);
    EXPECT_EQ(ReadInt(kDigits, 25), 8);
    Write(kDigits, 24, 2);
    Write(kDigits, 25, 4);
    EXPECT_EQ(ReadText(kDigits, 26), Gbk("关键"));
    WriteText(kDigits, 26, "XY");
    EXPECT_EQ(ReadText(kDigits, 8), "abXYcd");
    Write(kDigits, 24, uint32_t(-1));
    EXPECT_EQ(ReadInt(kDigits, 24), 6) << "-1 is the end of the text";
    EXPECT_EQ(ReadInt(kDigits, 25), 0);
}

// Every type-specific property of every unit, one at a time, is written with
// a value unlike its own; what then reads back must read the same after the
// window is deleted and loaded again. One load per property, so that no
// rebuild by a later write can keep what the write itself forgot.
TEST_F(ControlsTest, WrittenPropertiesShowAgainWhenTheWindowIsLoadedASecondTime) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    // No stored field for these; the selected texts follow from text and selection.
    auto stored = [](uint32_t type, int p) {
        return !(type == kTypeWindow && p == 14) && !(type == kTypeTab && p == 12) &&
               !(type == kTypeLabel && p >= 19) && !(type == kTypeEditBox && p == 26) &&
               !(type == kTypeCombo && p == 13);
    };
    auto isBlock = [](uint32_t kind) {
        return (kind >= kKindPicture && kind <= kKindFont) || kind == kKindTextData ||
               kind == kKindTextDataAlt || kind == kKindByteData;
    };
    auto read = [&](uint32_t unit, int p, uint32_t kind) {
        auto* v = reinterpret_cast<char*>(
            uintptr_t(Entries().ReadProperty(kSampleWindowId, unit, p, -1)));
        if (kind != kKindText && !isBlock(kind)) return std::to_string(int32_t(uintptr_t(v)));
        std::string bytes =
            isBlock(kind)
                ? std::string(reinterpret_cast<const char*>(ByteSetData(v)), ByteSetLength(v))
                : std::string(v ? v : "");
        return Free(v), bytes;
    };
    for (const UnitRecord& unit : FindWindowDescription(kSampleWindowId)->units) {
        const DataTypeEntry* type = FindDataType(unit.type);
        for (int p = 8; p < int(type->propertyCount); ++p) {
            uint32_t kind = type->properties[p].Kind();
            if (!stored(unit.type, p)) continue;
            // snprintf, not "t" + to_string: GCC 12 at -O3 warns falsely on the latter.
            char text[16];
            std::snprintf(text, sizeof text, "t%d", p);
            std::string now = read(unit.id, p, kind);
            std::vector<uint8_t> block = kind == kKindFont
                                             ? controls::FontBytes(controls::FontData{.face = "x"})
                                             : controls::TextListBytes({"a", Gbk("乙")});
            void* set = MakeByteSet(block.data(), block.size());
            uint64_t value = kind == kKindText      ? uintptr_t(text)
                             : isBlock(kind)        ? uintptr_t(set)
                             : now != "1"           ? 1
                             : kind == kKindLogical ? 0
                                                    : 2;
            Entries().WriteProperty(kSampleWindowId, unit.id, p, -1, uint32_t(value),
                                    uint32_t(value >> 32));
            Free(set);
            std::string before = read(unit.id, p, kind);
            delete Live(0);
            QCoreApplication::processEvents();
            ASSERT_TRUE(BuildWindow(kSampleWindowId));
            EXPECT_EQ(read(unit.id, p, kind), before)
                << std::hex << unit.id << std::dec << " " << p;
        }
    }
}

TEST_F(ControlsTest, AMultiLineBoxHandsBackTheLineEndsItWasGiven) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    const std::string yun = Gbk("運");  // DF 5C: a trail byte that is a backslash
    for (const std::string& text :
         {std::string("a\nb\n"), std::string("a\r\nb"), "x\r" + yun + "\n\r\n" + yun + "\r",
          std::string("\n\n"), std::string("")}) {
        SCOPED_TRACE(text);
        WriteText(kLog, 8, text);
        EXPECT_EQ(ReadText(kLog, 8), text);
    }
    // Lines the user starts follow the box's own lines, CR LF in an empty box.
    auto* log = qobject_cast<QPlainTextEdit*>(Live(kLog));
    for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
             {"a\nb", "a\nb\nc"}, {"a\r\nb", "a\r\nb\r\nc"}, {"", "\r\nc"}}) {
        WriteText(kLog, 8, before);
        log->moveCursor(QTextCursor::End);
        QTest::keyClick(log, Qt::Key_Return);
        QTest::keyClick(log, Qt::Key_C);
        EXPECT_EQ(ReadText(kLog, 8), after);
    }
    // Byte positions count each line end at its own width.
    WriteText(kLog, 8, "ab\r\ncd\nef");
    Write(kLog, 24, 7);
    Write(kLog, 25, 2);
    EXPECT_EQ(ReadText(kLog, 26), "ef");
    WriteText(kLog, 26, "E\nF");
    EXPECT_EQ(ReadText(kLog, 8), "ab\r\ncd\nE\nF");
}

TEST_F(ControlsTest, TheMaximumLengthCountsGbkBytesOfWhatTheUserTypes) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    Write(kDigits, 18, 0);  // normal input
    Write(kDigits, 14, 4);
    WriteText(kDigits, 8, "");
    auto* line = qobject_cast<QLineEdit*>(Live(kDigits));
    QTest::keyClicks(line, "a");
    Commit(line, QString::fromUtf8("关"));
    QTest::keyClicks(line, "bc");
    EXPECT_EQ(ReadText(kDigits, 8), "a" + Gbk("关") + "b") << "four bytes, the fifth refused";
    QTest::keyClick(line, Qt::Key_Backspace);
    QTest::keyClicks(line, "xy");
    EXPECT_EQ(ReadText(kDigits, 8), "a" + Gbk("关") + "x");
    WriteText(kDigits, 8, "written past the limit");
    EXPECT_EQ(ReadText(kDigits, 8), "written past the limit");

    Write(kLog, 14, 4);
    WriteText(kLog, 8, "a");
    auto* log = qobject_cast<QPlainTextEdit*>(Live(kLog));
    log->moveCursor(QTextCursor::End);
    QTest::keyClick(log, Qt::Key_Return);  // a CR LF: two bytes
    QTest::keyClicks(log, "bc");
    EXPECT_EQ(ReadText(kLog, 8), "a\r\nb");
    QGuiApplication::clipboard()->setText("xyz");
    WriteText(kLog, 8, "ab");
    log->moveCursor(QTextCursor::End);
    QTest::keySequence(log, QKeySequence::Paste);
    EXPECT_EQ(ReadText(kLog, 8), "abxy") << "a paste is cut to what fits";

    // The right-click menu's paste and a drop keep to the limit too.
    WriteText(kLog, 8, "ab");
    log->moveCursor(QTextCursor::End);
    QMimeData dropped;
    dropped.setText("xyz");
    QPoint end = log->viewport()->rect().bottomRight();
    QDragEnterEvent enter(end, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(log->viewport(), &enter);
    QDropEvent drop(end, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(log->viewport(), &drop);
    EXPECT_EQ(ReadText(kLog, 8), "abxy") << "a drop is cut to what fits";
    WriteText(kDigits, 8, "a");
    line->setFocus();
    line->end(false);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(1, 1),
                            line->mapToGlobal(QPoint(1, 1)));
    QCoreApplication::sendEvent(line, &click);
    auto* menu = line->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions())
        if (action->text().startsWith("&Paste")) paste = action;
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    EXPECT_EQ(ReadText(kDigits, 8), "axyz") << "four bytes fit";
    QGuiApplication::clipboard()->setText(QString::fromUtf8("关关"));
    WriteText(kDigits, 8, "ab");
    line->end(false);
    paste->trigger();
    EXPECT_EQ(ReadText(kDigits, 8), "ab" + Gbk("关")) << "a menu paste is cut to what fits";
    menu->close();
}

// Whichever way the user adds a text to a box that holds four bytes, what
// fits goes in; a byte GBK cannot read, kept as a private-use character,
// takes one, and so does the euro sign, GBK's 0x80.
TEST_F(ControlsTest, WhatTheUserAddsGoesInAsFarAsItFits) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    Write(kDigits, 18, 0);  // normal input
    Write(kCombo, 8, 0);    // with an edit field: rebuilt
    Write(kCombo, 10, 4);
    for (uint32_t unit : {kDigits, kLog}) Write(unit, 14, 4);
    enum Way { kInputMethod, kPasted, kDropped };
    const struct {
        uint32_t unit;
        Way way;
        const char* added;
        const char* after;
    } cases[] = {
        {kDigits, kInputMethod, "关关", "a关"},
        {kLog, kInputMethod, "关关", "a关"},
        {kDigits, kDropped, "xyzw", "axyz"},
        {kCombo, kInputMethod, "关关", "a关"},
        {kCombo, kPasted, "关关", "a关"},
        {kCombo, kDropped, "关关", "a关"},
        {kDigits, kPasted, "\uF7FF关", "a\uF7FF关"},
        {kCombo, kPasted, "€€€€", "a€€€"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.added);
        auto* combo = qobject_cast<QComboBox*>(Live(c.unit));
        int content = combo ? 9 : 8;
        WriteText(c.unit, content, "a");
        if (!combo) Write(c.unit, 24, uint32_t(-1));  // the caret at the end
        QWidget* box = Live(c.unit);
        QString added = QString::fromUtf8(c.added);
        QMimeData data;
        data.setText(added);
        QGuiApplication::clipboard()->setText(added);
        if (c.way == kInputMethod) Commit(box, added);
        if (c.way == kPasted) QTest::keySequence(box, QKeySequence::Paste);
        if (c.way == kDropped) {
            QWidget* at = combo ? combo->lineEdit() : box;
            QDragEnterEvent enter(at->rect().bottomRight(), Qt::CopyAction, &data, Qt::LeftButton,
                                  {});
            QCoreApplication::sendEvent(at, &enter);
            QDropEvent drop(at->rect().bottomRight(), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(at, &drop);
        }
        EXPECT_EQ(ReadText(c.unit, content), ToGbk(QString::fromUtf8(c.after)));
    }
}

TEST_F(ControlsTest, PasswordCharacterAndKeptSelection) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    Write(kDigits, 18, 2);
    WriteText(kDigits, 19, "#");
    WriteText(kDigits, 8, "abc");
    auto* line = qobject_cast<QLineEdit*>(Live(kDigits));
    EXPECT_EQ(line->displayText(), "###");
    WriteText(kDigits, 19, "");
    EXPECT_EQ(line->displayText(), "abc") << "no password character shows the text";

    // Losing the focus: a line box drops its selection only with
    // hide-selection on; a multi-line box keeps it and paints it unfocused
    // only with hide-selection off.
    for (uint32_t hide : {1u, 0u}) {
        for (uint32_t unit : {kDigits, kLog}) {
            SCOPED_TRACE(::testing::Message() << hide << " " << std::hex << unit);
            Write(unit, 13, hide);  // rebuilds the box
            WriteText(unit, 8, "abcd");
            Write(unit, 24, 1);
            Write(unit, 25, 2);
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(Live(unit), &out);
            EXPECT_EQ(ReadText(unit, 26), hide && unit == kDigits ? "" : "bc");
            const QPalette& p = Live(unit)->palette();
            EXPECT_EQ(p.color(QPalette::Inactive, QPalette::Highlight) ==
                          p.color(QPalette::Active, QPalette::Highlight),
                      hide == 0);
        }
    }
}

TEST_F(ControlsTest, TheAdjusterStepsWithinItsRange) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    Write(kDigits, 23, 10);
    Write(kDigits, 22, 13);  // bounds in either order
    WriteText(kDigits, 8, "12");
    auto arrows = Live(kDigits)->findChildren<QAbstractButton*>();
    ASSERT_EQ(arrows.size(), 2);
    arrows[0]->click();
    arrows[0]->click();
    EXPECT_EQ(ReadText(kDigits, 8), "13");
    arrows[1]->click();
    EXPECT_EQ(ReadText(kDigits, 8), "12");
}

TEST_F(ControlsTest, AnEmailLinkOpensAsMailtoAndAnEmptyOneDoesNothing) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    QStringList opened;
    controls::SetLinkOpener([&](const QString& link) { return opened << link, true; });
    QTest::mouseClick(Live(kLink), Qt::LeftButton);
    Write(kLink, 9, 1);  // web address, still empty
    QTest::mouseClick(Live(kLink), Qt::LeftButton);
    controls::SetLinkOpener({});
    EXPECT_EQ(opened, QStringList{"mailto:maker@example.com"});
}

TEST_F(ControlsTest, ALinkThatDoesNotOpenGoesToTheRegisteredPageProgramThenStandardError) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkpath("data/applications"));
    auto write = [&](const QString& name, const char* text) {
        QFile file(home.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write("mimeapps.list",
          "[Added Associations]\ntext/html=not-this.desktop\n"
          "[Default Applications]\ntext/html=web.desktop;other.desktop;\n");
    write("data/applications/web.desktop",
          "[Desktop Entry]\nName=Web\nExec=\"/opt/web browser/run\" --new-tab %u\n");
    std::vector<std::pair<const char*, QByteArray>> saved;
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"})
        saved.emplace_back(name, qgetenv(name));
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    qputenv("XDG_CONFIG_DIRS", home.filePath("none").toUtf8());
    qputenv("XDG_DATA_DIRS", home.filePath("none").toUtf8());

    controls::SetLinkOpener([](const QString&) { return false; });
    QStringList started;
    bool starts = true;
    controls::SetProgramStarter([&](const QString& program, const QStringList& arguments) {
        started = QStringList{program} + arguments;
        return starts;
    });
    QTest::mouseClick(Live(kLink), Qt::LeftButton);
    EXPECT_EQ(started,
              (QStringList{"/opt/web browser/run", "--new-tab", "mailto:maker@example.com"}));
    starts = false;
    ::testing::internal::CaptureStderr();
    QTest::mouseClick(Live(kLink), Qt::LeftButton);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                  "no program opened the link mailto:maker@example.com"),
              std::string::npos);

    controls::SetLinkOpener({});
    controls::SetProgramStarter({});
    for (const auto& [name, value] : saved) value.isNull() ? qunsetenv(name) : qputenv(name, value);
}

TEST_F(ControlsTest, TypePropertiesOfAnUnbuiltWindowAreFatalCommonOnesAreStored) {
    EXPECT_EQ(ReadInt(kButton, 2), 100);
    EXPECT_EQ(ReadInt(kLog, 5), 1);
    Write(kButton, 3, 50000);
    EXPECT_EQ(ReadInt(kButton, 3), 32627);
    EXPECT_EXIT(ReadText(kDigits, 8), ::testing::ExitedWithCode(255), "指定窗口尚未载入");
    EXPECT_EXIT(Entries().ReadProperty(0x52019999, kButton, 0, -1), ::testing::ExitedWithCode(255),
                "未载入欲访问窗口组件所在的窗口");
}

TEST_F(ControlsTest, AddTextAppendsEachTextAtTheEndWhereverTheCaretIs) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    auto* log = qobject_cast<QPlainTextEdit*>(Live(kLog));
    QTextCursor start(log->document());
    log->setTextCursor(start);
    std::string a = Gbk("二\r\n"), b = "3", c = "\r\n";
    ValueRecord args[] = {Reference(kLog), MakeTextValue(a.c_str()), MakeTextValue(b.c_str()),
                          MakeTextValue(c.c_str())};
    Entries().CallCoreCommand(commands::AddText, 4, args);
    EXPECT_EQ(ReadText(kLog, 8), Gbk("第一行\r\n二\r\n3\r\n"));
    EXPECT_FALSE(log->document()->isUndoAvailable());
}

TEST_F(ControlsTest, ListAndComboCommandsKeepToTheirItems) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    auto itemText = [](CommandRoutine command, uint32_t unit, int32_t index) {
        ValueRecord args[] = {MakeControlReference(kTypeList, kSampleWindowId, unit),
                              MakeInteger(index)};
        ValueRecord r = Entries().CallCoreCommand(command, 2, args);
        std::string text = r.Text();
        Free(r.Pointer());
        return text;
    };
    EXPECT_EQ(itemText(commands::ListBoxGetItemText, kList, 1), Gbk("模板二"));
    EXPECT_EQ(itemText(commands::ListBoxGetItemText, kList, -1), "");
    EXPECT_EQ(itemText(commands::ListBoxGetItemText, kList, 2), "");
    EXPECT_EQ(itemText(commands::ComboBoxGetItemText, kCombo, 2), Gbk("30天支出佣金"));
    EXPECT_EQ(itemText(commands::ComboBoxGetItemText, kCombo, 3), "");

    ValueRecord list = MakeControlReference(kTypeList, kSampleWindowId, kList);
    auto select = [&](int32_t index, std::optional<int32_t> flag) {
        ValueRecord args[] = {list, MakeInteger(index), flag ? MakeInteger(*flag) : Omitted()};
        return Entries().CallCoreCommand(commands::SelectItem, 3, args).Logical();
    };
    EXPECT_TRUE(select(1, std::nullopt));
    EXPECT_EQ(ReadInt(kList, 16), 1);
    EXPECT_FALSE(select(0, 0)) << "clearing a single selection reports false";
    EXPECT_EQ(ReadInt(kList, 16), -1);
    EXPECT_FALSE(select(5, 1));

    std::string text = Gbk("模板三");
    ValueRecord add[] = {list, MakeTextValue(text.c_str()), MakeInteger(9)};
    EXPECT_EQ(Entries().CallCoreCommand(commands::AddItem, 3, add).Int(), 2);
    EXPECT_EQ(itemText(commands::ListBoxGetItemText, kList, 2), text);
    ValueRecord clear[] = {list};
    Entries().CallCoreCommand(commands::ClearItems, 1, clear);
    EXPECT_FALSE(select(0, std::nullopt)) << "an empty list selects nothing";
    EXPECT_EQ(itemText(commands::ListBoxGetItemText, kList, 0), "");
}

// A short call reads its missing arguments as omitted, never past the
// caller's array; a call naming no control at all ends the program like a
// reference to a control that is not loaded.
TEST_F(ControlsTest, ControlCommandsReadOnlyTheArgumentsTheyAreGiven) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    ValueRecord list[] = {MakeControlReference(kTypeList, kSampleWindowId, kList), MakeInteger(0)};
    auto text = [](ValueRecord r) {
        std::string t = r.Text();
        Free(r.Pointer());
        return t;
    };
    EXPECT_EQ(text(Entries().CallCoreCommand(commands::ListBoxGetItemText, 1, list)),
              text(Entries().CallCoreCommand(commands::ListBoxGetItemText, 2, list)))
        << "a missing index is item 0";
    EXPECT_TRUE(Entries().CallCoreCommand(commands::SelectItem, 2, list).Logical())
        << "a missing flag selects";
    EXPECT_EQ(ReadInt(kList, 16), 0);
    EXPECT_EXIT(Entries().CallCoreCommand(commands::ClearItems, 0, nullptr),
                ::testing::ExitedWithCode(255), "指定窗口或窗口组件不存在或尚未载入");
}

// Every visible control draws something where it sits: its part of the
// window's picture is not a single colour.
TEST_F(ControlsTest, ScreenshotOfEveryType) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    QWidget* window = Live(0);
    QImage shot = window->grab().toImage();
    ASSERT_EQ(shot.size(), window->size());
    int drawn = 0;
    for (const UnitRecord& unit : FindWindowDescription(kSampleWindowId)->units) {
        QWidget* control = Live(unit.id);
        if (unit.id == 0 || !control || !control->isVisible()) continue;
        SCOPED_TRACE(::testing::Message() << std::hex << unit.id);
        QRect place(control->mapTo(window, QPoint(0, 0)), control->size());
        QImage part = shot.copy(place & shot.rect());
        bool varied = false;
        for (int y = 0; y < part.height() && !varied; ++y)
            for (int x = 0; x < part.width() && !varied; ++x)
                varied = part.pixel(x, y) != part.pixel(0, 0);
        EXPECT_TRUE(varied) << "the control draws nothing";
        ++drawn;
    }
    EXPECT_GE(drawn, 12);
    const char* path = std::getenv("VELMORA_SCREENSHOT");
    if (path) {
        EXPECT_TRUE(shot.save(path));
    }
}

TEST_F(ControlsTest, ACaptionTooWideForItsLabelIsNarrowedToFit) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    auto* label = qobject_cast<QLabel*>(Live(kLabel));
    ASSERT_NE(label, nullptr);
    const int room = label->contentsRect().width();
    WriteText(kLabel, 8, Gbk("关键词列表（一行一个）："));  // 144 pixels at full width
    const int stretch = label->font().stretch();
    EXPECT_TRUE(stretch > 0 && stretch < 100) << stretch;
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), room);
    WriteText(kLabel, 8, Gbk("短"));
    EXPECT_EQ(label->font().stretch(), QFont().stretch()) << "a caption that fits keeps its font";
}

TEST_F(ControlsTest, TypedLettersTakeTheLetterCase) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    Write(kDigits, 18, 0);  // normal input
    Write(kDigits, 20, 2);  // upper case
    WriteText(kDigits, 8, "");
    QTest::keyClicks(Live(kDigits), "ab1");
    EXPECT_EQ(ReadText(kDigits, 8), "AB1");
    Write(kDigits, 20, 1);
    WriteText(kDigits, 8, "Xy");
    EXPECT_EQ(ReadText(kDigits, 8), "xy");
}

TEST_F(ControlsTest, OnlyTheUsersListSelectionRaisesTheEvent) {
    FindWindowDescription(kSampleWindowId)->FindUnit(kList)->events = {
        {0, HandlerOffset(0), nullptr}, {1, HandlerOffset(3), nullptr}};
    std::vector<WindowRecord> windows = {*FindWindowDescription(kSampleWindowId)};
    ASSERT_TRUE(ResolveHandlers(windows, {kHandlers, std::size(kHandlers)}));
    InstallWindowDescriptions(std::move(windows));
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    Write(kList, 16, 1);
    EXPECT_EQ(seen.digitsChanged, 0) << "a written selection raises nothing";
    auto* list = qobject_cast<QListWidget*>(Live(kList));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(seen.digitsChanged, 1);
    EXPECT_EQ(ReadInt(kList, 16), 0);
    EXPECT_EQ(seen.listDoubleClicked, 0);
    // A double click is a press, a release and the second press.
    const QPoint second = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(seen.listDoubleClicked, 1) << "a double click raises event 1";
}

TEST_F(ControlsTest, DroppingTheTabStripRebuildsAPlainContainerKeepingThePages) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    Write(kTab, 12, 1);
    Write(kTab, 13, 1);
    EXPECT_EQ(Live(kTab)->findChild<QTabBar*>(), nullptr);
    EXPECT_EQ(ReadInt(kTab, 12), 1) << "the rebuilt Tab keeps its page";
    EXPECT_TRUE(Live(kLog)->isVisible()) << "and shows that page's children";
    EXPECT_FALSE(Live(kDigits)->isVisible());
    EXPECT_EQ(Live(kLog)->parentWidget(), Live(kTab));
    EXPECT_FALSE(Live(kTab)->autoFillBackground()) << "option 14 at 0 is see-through";
    Write(kTab, 14, 1);
    EXPECT_TRUE(Live(kTab)->autoFillBackground()) << "the system colour fills too";
    Write(kTab, 15, 0x0000FF);
    EXPECT_TRUE(Live(kTab)->autoFillBackground());
    EXPECT_EQ(Live(kTab)->palette().color(QPalette::Window), QColor(255, 0, 0));
    Write(kTab, 12, 0);
    EXPECT_TRUE(Live(kDigits)->isVisible());
    EXPECT_FALSE(Live(kLog)->isVisible());
    Write(kTab, 12, 5);
    EXPECT_EQ(ReadInt(kTab, 12), 0) << "a page the Tab lacks changes nothing";
}

TEST_F(ControlsTest, TheWindowsOwnUnitAnswersForTheWindow) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    EXPECT_EQ(ReadInt(0, 2), 560) << "the stored outer width, frame included";
    EXPECT_EQ(Live(0)->width(), 560 - 6);
    Write(0, 2, 600);
    EXPECT_EQ(ReadInt(0, 2), 600);
    Write(0, 5, 0);
    EXPECT_FALSE(Live(0)->isVisible());
    Write(0, 5, 1);
    EXPECT_TRUE(Live(0)->isVisible());
    Write(0, 9, 0);  // no border
    EXPECT_TRUE(Live(0)->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(Live(0)->isVisible()) << "changing the border keeps a shown window shown";
}

TEST(PropertySlotTest, WithoutAWindowLayerEveryWindowIsMissing) {
    State().windows = nullptr;
    EXPECT_EXIT(Entries().WriteProperty(kSampleWindowId, 0, 0, -1, 1, 0),
                ::testing::ExitedWithCode(255), "未载入欲访问窗口组件所在的窗口");
}

struct ModeCase {
    uint32_t mode;
    const char* accepted;
    const char* refused;
};
class InputModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(InputModeTest, FiltersTypedCharacters) {
    const ModeCase& c = GetParam();
    for (const char* p = c.accepted; *p; ++p)
        EXPECT_TRUE(controls::InputModeAccepts(c.mode, char16_t(*p))) << c.mode << " " << *p;
    for (const char* p = c.refused; *p; ++p)
        EXPECT_FALSE(controls::InputModeAccepts(c.mode, char16_t(*p))) << c.mode << " " << *p;
    EXPECT_TRUE(controls::InputModeAccepts(c.mode, u'\b')) << "control characters pass";
}

INSTANTIATE_TEST_SUITE_P(Modes, InputModeTest,
                         ::testing::Values(ModeCase{0, "a1-.", ""}, ModeCase{2, "a1", ""},
                                           ModeCase{3, "09-", "a.+ "}, ModeCase{6, "5-", "."},
                                           ModeCase{7, "5-", "x"}, ModeCase{8, "5-", "."},
                                           ModeCase{4, "09-.", "a,"}, ModeCase{9, "1.", "e"},
                                           ModeCase{10, "-.", "+"}, ModeCase{5, "0189", "-."}),
                         [](const auto& info) { return "Mode" + std::to_string(info.param.mode); });

}  // namespace
}  // namespace velmora
