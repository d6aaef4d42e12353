#include "controls/list_view.h"

#include <gtest/gtest.h>

#include <QTreeView>
#include <string>

#include "controls/extended_ui_library.h"
#include "controls/list_view_commands.h"
#include "controls/list_view_data.h"
#include "runtime/heap.h"
#include "tests/live_window.h"
#include "tests/test_support.h"

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace velmora::controls {
namespace {

using velmora::testing::Gbk;

constexpr uint32_t kList = 0x16010001;
constexpr uint32_t kTypeListView = 0x00030004;

std::vector<ListColumn> ThreeColumns() {
    return {{0, -1, kAlignLeft, 100, Gbk("宝贝链接")},
            {0, -1, kAlignCentre, 100, Gbk("宝贝标题")},
            {0, -1, kAlignRight, 50, Gbk("商家名称")}};
}

// A hidden report list with the application's three columns.
WindowRecord ListWindow(uint32_t viewMode = kReportMode) {
    WindowRecord w;
    w.id = velmora::testing::kSampleWindowId;
    w.units.push_back(velmora::testing::WindowUnit({kList}));
    UnitRecord list = velmora::testing::Unit(kList, kTypeListView, 0, 0);
    ListViewData data;
    data.viewMode = viewMode;
    data.columns = WriteColumns(ThreeColumns());
    list.typeData = WriteStoredData(data);
    w.units.push_back(list);
    return w;
}

// Heap texts a command returned, freed with the test.
struct OwnedText {
    char* text;
    ~OwnedText() { Free(text); }
    std::string Str() const { return text ? text : ""; }
};

class ListViewTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { velmora::testing::EnsureApplication("list_view_tests"); }

    ValueRecord Call(CommandRoutine command, std::vector<ValueRecord> args) {
        args.insert(args.begin(),
                    MakeControlReference(tag::kListView, velmora::testing::kSampleWindowId, kList));
        return Entries().CallLibraryCommand(kExtendedUiLibrary, command,
                                            static_cast<int>(args.size()), args.data());
    }
    int Insert(std::vector<ValueRecord> args = {}) { return Call(InsertRow, args).Int(); }
    void Set(int row, int column, const std::string& text) {
        Call(SetCellText, {MakeInteger(row), MakeInteger(column), MakeTextValue(text.c_str())});
    }
    OwnedText Get(int row, std::vector<ValueRecord> more = {}) {
        more.insert(more.begin(), MakeInteger(row));
        return {static_cast<char*>(Call(GetCellText, more).Pointer())};
    }
    RowStore* Rows() { return RowsOf(window_.Live(kList)); }

    velmora::testing::LiveWindow window_{
        {CoreDataTypes(), velmora::testing::NoTypes(), ExtendedUiDataTypes()}, ListWindow()};
};

TEST_F(ListViewTest, AHiddenListHoldsItsColumnsAndRows) {
    ASSERT_TRUE(window_.Load());
    auto* view = qobject_cast<QTreeView*>(window_.Live(kList));
    ASSERT_NE(view, nullptr) << "report mode is a tree view without a root";
    EXPECT_FALSE(view->isVisible());
    ASSERT_EQ(ColumnCount(Rows()), 3);
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), QString("宝贝标题"));
    EXPECT_EQ(view->columnWidth(2), 50);
    EXPECT_EQ(view->model()->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).toInt() &
                  Qt::AlignRight,
              Qt::AlignRight);
    EXPECT_EQ(Insert(), 0);
    Set(0, 2, Gbk("商家"));
    EXPECT_EQ(Get(0, {MakeInteger(2)}).Str(), Gbk("商家"));
}

TEST_F(ListViewTest, InsertRowAppendsWhenThePositionIsOmittedOrNegative) {
    ASSERT_TRUE(window_.Load());
    EXPECT_EQ(Insert(), 0);
    EXPECT_EQ(Insert(), 1);
    EXPECT_EQ(Insert({MakeInteger(-5)}), 2);
    EXPECT_EQ(Insert({MakeInteger(99)}), 3) << "beyond the end also appends";
    EXPECT_EQ(Insert({MakeInteger(0), MakeTextValue("first")}), 0);
    EXPECT_EQ(Get(0).Str(), "first");
    EXPECT_EQ(RowCount(Rows()), 5);
}

TEST_F(ListViewTest, CellsOutsideTheListReadEmptyAndIgnoreWrites) {
    ASSERT_TRUE(window_.Load());
    Insert();
    Insert();
    Set(0, 0, "a");
    struct Case {
        int row, column;
    };
    for (Case c : {Case{3, 0}, Case{-1, 0}, Case{0, 3}, Case{0, -1}, Case{2, 0}}) {
        Set(c.row, c.column, "written");
        OwnedText read = Get(c.row, {MakeInteger(c.column)});
        EXPECT_EQ(read.text, nullptr) << c.row << "," << c.column;
    }
    EXPECT_EQ(Get(0).Str(), "a");
    EXPECT_EQ(RowCount(Rows()), 2);
}

TEST_F(ListViewTest, OmittedColumnAndTextMeanCaptionAndEmpty) {
    ASSERT_TRUE(window_.Load());
    Insert({Omitted(), MakeTextValue("caption")});
    EXPECT_EQ(Get(0).Str(), "caption");
    Call(SetCellText, {MakeInteger(0)});
    EXPECT_EQ(Get(0).text, nullptr) << "an omitted text empties cell 0";
}

TEST_F(ListViewTest, LongCellsReadBackWhole) {
    ASSERT_TRUE(window_.Load());
    Insert();
    // Around the first buffer's size and well past it; GBK pairs included.
    for (size_t length : {510u, 511u, 512u, 600u, 5000u}) {
        std::string text(length, 'x');
        for (size_t i = 0; i + 1 < length; i += 7) text.replace(i, 2, Gbk("宝"));
        Set(0, 1, text);
        EXPECT_EQ(Get(0, {MakeInteger(1)}).Str(), text) << length;
    }
}

TEST_F(ListViewTest, DeleteAllRowsKeepsTheColumns) {
    ASSERT_TRUE(window_.Load());
    Insert();
    Insert();
    Set(0, 0, "gone");
    Call(DeleteAllRows, {});
    EXPECT_EQ(Get(0).text, nullptr);
    EXPECT_EQ(ColumnCount(Rows()), 3);
    EXPECT_EQ(Insert(), 0);
}

TEST_F(ListViewTest, RowFieldsFollowTheirDefaults) {
    ASSERT_TRUE(window_.Load());
    QAbstractItemModel* model = qobject_cast<QTreeView*>(window_.Live(kList))->model();
    Insert();
    Insert(
        {Omitted(), Omitted(), MakeInteger(-7), MakeInteger(3), MakeInteger(-2), MakeInteger(42)});
    Insert({Omitted(), Omitted(), MakeInteger(4), Omitted(), MakeInteger(2)});
    struct Expected {
        int image, indent, data;
    };
    const Expected expected[] = {{-1, 0, 0}, {-1, 0, 42}, {4, 2, 0}};
    for (int row = 0; row < 3; ++row) {
        QModelIndex cell = model->index(row, 0);
        EXPECT_EQ(model->data(cell, Qt::UserRole + 2).toInt(), expected[row].image) << row;
        EXPECT_EQ(model->data(cell, Qt::UserRole + 3).toInt(), expected[row].indent) << row;
        EXPECT_EQ(model->data(cell, Qt::UserRole + 4).toInt(), expected[row].data) << row;
    }
}

TEST(ListViewDataTest, ReadsBackWhatItWrote) {
    ListViewData data;
    data.version = 0;
    data.viewMode = kReportMode;
    data.gridLines = 1;
    data.selectedRow = 7;
    data.font = FontData{};
    data.font->face = Gbk("宋体");
    data.columns = WriteColumns(ThreeColumns());
    data.initialRows = {1, 2, 3};
    EXPECT_EQ(ReadStoredData<ListViewData>(WriteStoredData(data)), data);
    EXPECT_EQ(ReadColumns(data.columns), ThreeColumns());
}

TEST(ListViewDataTest, UnusableDataIsRefused) {
    ListViewData data;
    data.version = 2;
    EXPECT_FALSE(ReadStoredData<ListViewData>(WriteStoredData(data))) << "a newer layout";
    data.version = 1;
    std::vector<uint8_t> bytes = WriteStoredData(data);
    bytes.resize(bytes.size() - 3);
    EXPECT_FALSE(ReadStoredData<ListViewData>(bytes)) << "cut short";
    EXPECT_EQ(ReadStoredData<ListViewData>({}), ListViewData{}) << "empty: every default";

    std::vector<uint8_t> columns = WriteColumns(ThreeColumns());
    columns.pop_back();  // the last caption loses its terminator
    EXPECT_FALSE(ReadColumns(columns));
    EXPECT_EQ(ReadColumns({}), std::vector<ListColumn>{});
}

TEST(ListViewDataTest, NegativeBlockLengthsAreEmpty) {
    std::vector<uint8_t> bytes = WriteStoredData(ListViewData{});
    // The six trailing blocks are empty: six zero length words at the end.
    for (size_t i = 0; i < 6; ++i)
        for (size_t b = 0; b < 4; ++b) bytes[bytes.size() - 4 * (i + 1) + b] = 0xFF;
    auto read = ReadStoredData<ListViewData>(bytes);
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->font);
    EXPECT_TRUE(read->columns.empty());
    EXPECT_TRUE(read->initialRows.empty());
}

}  // namespace
}  // namespace velmora::controls
