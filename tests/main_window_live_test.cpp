// The main window built from its stored block, offscreen: what the stored
// properties become on the live controls. The browsers are stood in for by
// plain widgets so that no browser engine starts.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>
#include <algorithm>

#include "app/image/main_window_block.h"
#include "app/image/site_hosts.h"
#include "controls/control_support.h"
#include "controls/core_types.h"
#include "controls/extended_ui_library.h"
#include "controls/hyper_linker.h"
#include "tests/live_window.h"

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace velmora {
namespace {

QWidget* CreateStandIn(const CreateRequest& request) {
    auto* widget = new QWidget(request.parent);
    controls::AttachToUnit(widget, request);
    return widget;
}

InterfaceRoutine StandInInterface(int request) {
    return request == kRequestCreate ? reinterpret_cast<InterfaceRoutine>(CreateStandIn) : nullptr;
}

const DataTypeEntry kBrowserStandIn[] = {
    {.name = "", .englishName = "HtmlViewer", .interface = StandInInterface}};

WindowRecord MainWindowRecord() {
    WindowBlockResult read = ReadWindowBlock({app::kMainWindowBlock, app::kMainWindowBlockSize});
    EXPECT_TRUE(read.Ok()) << read.error;
    return read.windows.empty() ? WindowRecord{} : std::move(read.windows[0]);
}

class MainWindowLiveTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { testing::EnsureApplication("main_window_block_tests"); }
    void SetUp() override { ASSERT_TRUE(window_.Load()); }

    template <typename Widget>
    Widget* Live(uint32_t unit) {
        auto* widget = qobject_cast<Widget*>(window_.Live(unit));
        EXPECT_TRUE(widget) << std::hex << unit;
        return widget;
    }

    testing::LiveWindow window_{
        {controls::CoreDataTypes(), kBrowserStandIn, controls::ExtendedUiDataTypes()},
        MainWindowRecord()};
};

TEST_F(MainWindowLiveTest, TheSortChoiceDropsDownItsThreeOrders) {
    auto* combo = Live<QComboBox>(0x1601000a);
    ASSERT_TRUE(combo);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    EXPECT_EQ(items, (QStringList{"按销量由高到底", "按佣金比率由高到底", "30天支出佣金由高到底"}));
    EXPECT_TRUE(combo->isEditable());
    EXPECT_GE(combo->maxVisibleItems(), 3) << "the dropped list has room for every order";
}

TEST_F(MainWindowLiveTest, TheHiddenItemStoreHasItsThreeColumns) {
    auto* list = Live<QTreeView>(0x1601192f);
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->isVisible());
    const QAbstractItemModel* rows = list->model();
    ASSERT_EQ(rows->columnCount(), 3);
    const std::pair<QString, int> expected[] = {
        {"宝贝链接", 100}, {"宝贝标题", 100}, {"商家名称", 50}};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(rows->headerData(c, Qt::Horizontal).toString(), expected[c].first);
        EXPECT_EQ(list->columnWidth(c), expected[c].second);
    }
}

TEST_F(MainWindowLiveTest, ThePageSwitchesShowTheirCaptions) {
    const std::pair<uint32_t, QString> radios[] = {{0x16010013, "生成日志"},
                                                   {0x16010012, "模板制作"},
                                                   {0x16010011, "模板预览"},
                                                   {0x16010010, "使用说明"}};
    for (const auto& [unit, caption] : radios) {
        auto* radio = Live<QRadioButton>(unit);
        ASSERT_TRUE(radio);
        EXPECT_EQ(radio->text(), caption);
    }
}

TEST_F(MainWindowLiveTest, BothLinksOpenTheMakersSiteWhenClicked) {
    QStringList opened;
    controls::SetLinkOpener([&](const QString& link) { return opened << link, true; });
    for (uint32_t unit : {0x160132ebu, 0x16011aa5u})
        QTest::mouseClick(window_.Live(unit), Qt::LeftButton);
    controls::SetLinkOpener({});
    QString site = QString("http://%1/").arg(app::kMakerHost);
    EXPECT_EQ(opened, (QStringList{site, site}));
}

TEST_F(MainWindowLiveTest, TheWindowIconOffersEveryStoredSize) {
    QWidget* window = window_.Live(0);
    ASSERT_TRUE(window);
    QList<QSize> sizes = window->windowIcon().availableSizes();
    std::sort(sizes.begin(), sizes.end(),
              [](const QSize& a, const QSize& b) { return a.width() < b.width(); });
    EXPECT_EQ(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {128, 128}}));
    // At 48 pixels the full-colour image is shown, not the 16-colour one
    // listed first: only it has edges that are partly see-through.
    QImage image = window->windowIcon().pixmap(48, 48).toImage();
    ASSERT_EQ(image.size(), QSize(48, 48));
    int soft = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) soft += qAlpha(image.pixel(x, y)) % 255 != 0;
    EXPECT_GT(soft, 0);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(24, 24)), 255);
}

}  // namespace
}  // namespace velmora
