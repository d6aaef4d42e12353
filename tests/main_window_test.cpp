// The main window as the user drives it: how it opens, its pages, the checks
// and runs behind the start button, saving templates, and how it looks.
// VELMORA_SHOTS=<folder> makes the look tests keep their pictures of the pages.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "app/collection_run.h"
#include "app/collector_globals.h"
#include "app/image/skin_images.h"
#include "app/main_window_ids.h"
#include "app/promotion_page.h"
#include "app/promotion_search.h"
#include "app/skins.h"
#include "app/template_library.h"
#include "app/window_calls.h"
#include "controls/browser_profile.h"
#include "controls/hyper_linker.h"
#include "runtime/file_attributes.h"
#include "runtime/gbk.h"
#include "runtime/heap.h"
#include "runtime/window_table.h"
#include "tests/live_program.h"
#include "tests/test_support.h"
#include "tools/marketsim/hostile_site.h"
#include "tools/marketsim/sites.h"

namespace velmora::app {
namespace {

namespace fs = std::filesystem;
using velmora::testing::Gbk;
using velmora::testing::LiveProgram;

// The shape box that frames the login browser.
constexpr uint32_t kLoginFrame = 0x160132e6;

constexpr char kFirstLine[] = "正在努力采集.......";
constexpr char kSearchBySales[] = "正在按销量由高到底搜寻。。。";
constexpr char kRefused[] = "正在采集中，请等本次采集完成后再点开始生成";
constexpr char kStarterTemplate[] = "高贵大气";
constexpr char kPromotionPath[] = "/union/spread/selfservice/merchandisePromotion.htm";
constexpr char kMarketplaceSearch[] = "s.taobao.com/search";
constexpr char kSaved[] = "保存模板成功";
constexpr char kSaveFailed[] = "保存模板失败，请检查模板名称后重试";

fs::path ProgramFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Utf8Of(uint32_t unit) {
    return GbkToUtf8Lossy(ReadText(unit).view());
}

int CountOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

std::vector<std::string> Containing(const std::vector<std::string>& lines, const char* part) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.find(part) != std::string::npos) found.push_back(line);
    return found;
}

// The keyword a promotion search request carried: what stands between its
// "q=" and the fixed tail that follows it.
std::string KeywordOfSearch(const std::string& request) {
    size_t start = request.find("&q=");
    size_t end = request.find("&_fmu.a._0.u=");
    if (start == std::string::npos || end == std::string::npos || end < start) return "<none>";
    return request.substr(start + 3, end - start - 3);
}

std::set<std::string> FilesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// Moves a folder out of the way and puts it back afterwards; with `leaveEmpty`
// an empty folder stands in its place meanwhile.
class SetAside {
  public:
    SetAside(fs::path path, bool leaveEmpty) : path_(std::move(path)) {
        aside_ = path_;
        aside_ += ".aside";
        fs::rename(path_, aside_);
        if (leaveEmpty) fs::create_directory(path_);
    }
    ~SetAside() {
        fs::remove_all(path_);
        fs::rename(aside_, path_);
    }
    SetAside(const SetAside&) = delete;
    SetAside& operator=(const SetAside&) = delete;

  private:
    fs::path path_;
    fs::path aside_;
};

std::vector<std::string> TemplateListItems() {
    auto* list = LiveProgram::Get().Control<QListWidget>(kTemplateList);
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
    return items;
}

// The template list as start-up leaves it, after a test changed the folders.
void RelistTemplates() {
    LiveProgram::Get().Control<QListWidget>(kTemplateList)->clear();
    ListTemplates();
    SelectFirstTemplate();
}

// The page of the page control each of its direct children lives on.
std::vector<std::pair<uint32_t, int>> PagedUnits() {
    const WindowRecord* window = FindWindowDescription(kMainWindow);
    const UnitRecord* pages = window->FindUnit(kPageControl);
    std::vector<std::pair<uint32_t, int>> units;
    int page = 0;
    for (uint32_t child : pages->children) {
        if (child == 0)
            ++page;
        else
            units.emplace_back(child, page);
    }
    return units;
}

// Only the page's own units are shown, each as its stored visible flag says.
void ExpectOnlyPageShown(int page) {
    const WindowRecord* window = FindWindowDescription(kMainWindow);
    LiveProgram& program = LiveProgram::Get();
    int shown = 0;
    for (auto [unit, onPage] : PagedUnits()) {
        SCOPED_TRACE(::testing::Message()
                     << "unit 0x" << std::hex << unit << " on page " << onPage);
        bool stored = window->FindUnit(unit)->state & kStateVisible;
        EXPECT_EQ(program.Control(unit)->isVisible(), onPage == page && stored);
        shown += program.Control(unit)->isVisible();
    }
    EXPECT_GT(shown, 0) << "page " << page << " shows nothing";
}

// What of a control can be seen, the parts its own children cover included,
// in the control's coordinates.
QRegion VisibleArea(QWidget* control) {
    QRegion area = control->visibleRegion();
    for (QWidget* child : control->findChildren<QWidget*>())
        if (child->isVisible())
            area += child->visibleRegion().translated(child->mapTo(control, QPoint(0, 0)));
    return area;
}

// Runs `press` from inside the handler in progress, once the log holds `mark`.
class PressWhenLogShows {
  public:
    PressWhenLogShows(uint32_t unit, std::string mark) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, unit, mark = std::move(mark)] {
            std::string log = GbkToUtf8Lossy(ReadText(kLogBox).view());
            if (log.find(mark) == std::string::npos) return;
            timer_.stop();
            pressed_ = true;
            LiveProgram::Get().Press(unit);
        });
        timer_.start();
    }
    bool Pressed() const { return pressed_; }

  private:
    QTimer timer_;
    bool pressed_ = false;
};

// Every test starts from an empty log and nothing recorded, and leaves the
// stop flag, the editor boxes and the selection as start-up left them.
class LiveWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program_.ClearLog();
        program_.TakeMessages();
        program_.TakeRequests();
    }
    void TearDown() override {
        Globals().stopRequested = false;
        program_.Type(kKeywordBox, "");
        program_.Type(kItemCountBox, "");
    }
    // Fills the keyword box (UTF-8, lines parted by CR LF) and the item count,
    // logs in or out, and forgets the log and the requests so far.
    void Prepare(const std::string& keywords, const QString& count = "1", bool loggedIn = true) {
        if (loggedIn)
            program_.LogIn();
        else
            program_.LogOut();
        WriteText(kKeywordBox, Gbk(keywords.c_str()).c_str());
        program_.Type(kItemCountBox, count);
        program_.ClearLog();
        program_.TakeRequests();
    }
    void Run(const std::string& keywords, const QString& count = "1", bool loggedIn = true) {
        Prepare(keywords, count, loggedIn);
        program_.Press(kStartButton);
    }
    fs::path TemplateFolder() const { return fs::path(program_.TemplateRoot()) / kStarterTemplate; }

    LiveProgram& program_ = LiveProgram::Get();
};

using MainWindowOpeningTest = LiveWindowTest;
using MainWindowPageTest = LiveWindowTest;
using MainWindowRunTest = LiveWindowTest;
using MainWindowTemplateTest = LiveWindowTest;
using MainWindowLookTest = LiveWindowTest;

TEST_F(MainWindowOpeningTest, OpensCentredOnTheInstructionsPageWithTheFirstChoices) {
    const UnitRecord& stored = FindWindowDescription(kMainWindow)->units.front();
    ASSERT_EQ(stored.width, 754);
    ASSERT_EQ(stored.height, 629);
    QRect screen = QGuiApplication::primaryScreen()->geometry();
    int left = screen.x() + (screen.width() - stored.width) / 2;
    int top = screen.y() + (screen.height() - stored.height) / 2;
    ASSERT_NE(QPoint(left, top), QPoint(stored.left, stored.top)) << "the test proves nothing";
    EXPECT_NEAR(ReadInteger(kMainWindowUnit, 0), left, 1);
    EXPECT_NEAR(ReadInteger(kMainWindowUnit, 1), top, 1);
    EXPECT_EQ(ReadInteger(kMainWindowUnit, 2), stored.width);
    EXPECT_EQ(ReadInteger(kMainWindowUnit, 3), stored.height);

    EXPECT_EQ(ReadInteger(kPageControl, property::kCurrentPage), page::kInstructions);
    EXPECT_EQ(ReadInteger(kTemplateList, property::kListBoxSelection), 0);
    ASSERT_FALSE(TemplateListItems().empty());
    EXPECT_EQ(TemplateListItems().front(), kStarterTemplate);
    EXPECT_EQ(ReadInteger(kSortChoice, property::kComboBoxSelection), 0);
    EXPECT_EQ(program_.Control<QComboBox>(kSortChoice)->currentText().toStdString(),
              "按销量由高到底");
}

TEST_F(MainWindowOpeningTest, ShowsOnlyTheInstructionsPage) {
    ExpectOnlyPageShown(page::kInstructions);
    EXPECT_FALSE(program_.Control(kLoginBrowser)->isVisible());
    EXPECT_TRUE(program_.Control(kHelpBrowser)->isVisible());
}

// Offline and on a first start the instructions come from this copy itself:
// the help browser and both links open the page written beside the templates,
// each link at its own section.
TEST_F(MainWindowOpeningTest, TheHelpBrowserAndBothLinksOpenTheLocalInstructions) {
    const fs::path page = fs::path(program_.TemplateRoot()).parent_path() / "使用说明.htm";
    ASSERT_TRUE(fs::exists(page));
    auto* view = program_.Control(kHelpBrowser)->findChild<QWebEngineView*>();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->url(), QUrl::fromLocalFile(QString::fromStdString(page.string())));

    QStringList opened;
    controls::SetLinkOpener([&](const QString& link) { return opened << link, true; });
    for (uint32_t link : {0x160132ebu, 0x16011aa5u})
        QTest::mouseClick(program_.Control(link), Qt::LeftButton);
    controls::SetLinkOpener({});
    const QString path = "file://" + QString::fromStdString(page.string());
    EXPECT_EQ(opened, (QStringList{path + "#templates", path + "#update"}));
    const std::string written = Slurp(page);
    for (const char* section : {"id=\"templates\"", "id=\"update\""})
        EXPECT_NE(written.find(section), std::string::npos) << section;
}

TEST_F(MainWindowOpeningTest, TheReportListIsNeverShownYetHoldsTheSearchRows) {
    QWidget* list = program_.Control(kItemList);
    EXPECT_FALSE(list->isVisible());
    program_.LogIn();
    std::optional<Text> page = FetchPromotionPage(Gbk("手机").c_str(), 0);
    ASSERT_TRUE(page && !page->empty());
    ParsePromotionPage(page->c_str());
    size_t items = FindItemAnchors(page->c_str()).size();
    ASSERT_GT(items, 0u);
    auto* view = qobject_cast<QAbstractItemView*>(list);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(size_t(view->model()->rowCount()), items);
    EXPECT_EQ(view->model()->columnCount(), 3);
    for (uint32_t pageSwitch :
         {kPreviewSwitch, kTemplateEditorSwitch, kLogSwitch, kInstructionsSwitch, kLoginButton}) {
        program_.Press(pageSwitch);
        EXPECT_FALSE(list->isVisible()) << "after unit 0x" << std::hex << pageSwitch;
    }
    program_.TakeMessages();
}

TEST_F(MainWindowOpeningTest, SkinEngineFileIsWrittenHiddenOnceNextToTheProgram) {
    const fs::path engine = ProgramFolder() / "SkinH_EL.dll";
    ASSERT_TRUE(fs::exists(engine));
    const void* image = SkinEngineImage();
    EXPECT_EQ(Slurp(engine),
              std::string(reinterpret_cast<const char*>(ByteSetData(image)), ByteSetLength(image)));
    auto attributes = ReadFileAttributes(engine.string());
    ASSERT_TRUE(attributes);
    EXPECT_TRUE(*attributes & attribute::kHidden);
    EXPECT_FALSE(qApp->styleSheet().isEmpty()) << "no skin attached at start-up";

    // Start-up's skin step again: the file there is left as it is.
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(engine, longAgo);
    ApplySkin(12);
    EXPECT_EQ(fs::last_write_time(engine), longAgo);
    EXPECT_TRUE(*ReadFileAttributes(engine.string()) & attribute::kHidden);
}

struct PageSwitchCase {
    uint32_t unit;
    int page;
    const char* missingMessage;  // null: the page needs no template file
    const char* missingFile;     // the file the message names, in this copy's data folder
};

const PageSwitchCase kPageSwitches[] = {
    {kPreviewSwitch, page::kPreview, "您没把预览文件放在指定位置，请按张以下方式放入。例如：",
     "效果预览.htm"},
    {kTemplateEditorSwitch, page::kTemplateEditor,
     "您没把模板放在指定位置，请按张以下方式放入。例如：", "模板文件.htm"},
    {kLogSwitch, page::kLog, nullptr, nullptr},
    {kInstructionsSwitch, page::kInstructions, nullptr, nullptr},
};

// Presses the case's switch with the login page up and `head` in the head
// box; the switch's page, and it alone, is shown.
void SwitchFromTheLoginPage(const PageSwitchCase& c, const char* head) {
    WriteInteger(kPageControl, property::kCurrentPage, page::kLogin);
    WriteText(kHeadBox, head);
    LiveProgram::Get().Press(c.unit);
    EXPECT_EQ(ReadInteger(kPageControl, property::kCurrentPage), c.page);
    ExpectOnlyPageShown(c.page);
}

// Each test runs in a process of its own, so here the login browser has
// never opened a page: its address is empty and a start asks for the login.
TEST_F(MainWindowOpeningTest, WithTheLoginPageNeverOpenedAStartAsksForTheLogin) {
    if (!ReadText(kLoginBrowser, property::kBrowserAddress).empty())
        GTEST_SKIP() << "an earlier test of this process opened the login page";
    WriteText(kKeywordBox, "a");
    program_.Type(kItemCountBox, "1");
    program_.ClearLog();
    program_.Press(kStartButton);
    EXPECT_EQ(program_.TakeMessages(), std::vector<std::string>{"请登陆阿里妈妈"});
    EXPECT_EQ(program_.LogLines(), std::vector<std::string>{kFirstLine});
}

TEST_F(MainWindowPageTest, EachSwitchShowsItsPageWithTheTemplateInPlace) {
    for (const PageSwitchCase& c : kPageSwitches) {
        SCOPED_TRACE(c.page);
        SwitchFromTheLoginPage(c, "");
        EXPECT_TRUE(program_.TakeMessages().empty());
        // The template pages load the selected template into the editor.
        EXPECT_EQ(ReadText(kHeadBox).empty(), c.missingMessage == nullptr);
    }
}

TEST_F(MainWindowPageTest, WithoutTemplatesTheTemplatePagesSayWhatIsMissing) {
    SetAside root(program_.TemplateRoot(), true);
    for (const PageSwitchCase& c : kPageSwitches) {
        SCOPED_TRACE(c.page);
        SwitchFromTheLoginPage(c, "kept");
        std::vector<std::string> expected;
        if (c.missingMessage)
            expected.push_back(c.missingMessage + program_.TemplateRoot() + "/高贵大气/" +
                               c.missingFile);
        EXPECT_EQ(program_.TakeMessages(), expected);
        EXPECT_EQ(Utf8Of(kHeadBox), "kept");
        if (c.page == page::kPreview) {
            EXPECT_EQ(program_.Control(kPreviewBrowser)
                          ->findChild<QWebEngineView*>()
                          ->url()
                          .toString()
                          .toStdString(),
                      "about:blank")
                << "the last template's preview stays in view";
        }
    }
}

TEST_F(MainWindowPageTest, TheLoginBrowserShowsOnlyItsFramedWindow) {
    program_.Press(kLoginButton);
    EXPECT_EQ(ReadInteger(kPageControl, property::kCurrentPage), page::kLogin);
    ExpectOnlyPageShown(page::kLogin);
    QWidget* browser = program_.Control(kLoginBrowser);
    QWidget* frame = program_.Control(kLoginFrame);
    ASSERT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->parentWidget(), frame);
    EXPECT_EQ(frame->geometry(), QRect(48, 64, 384, 280));
    EXPECT_EQ(browser->geometry(), QRect(-768, 0, 1152, 1416));
    // In the browser's own coordinates: 768 to 1152 across, 0 to 280 down.
    EXPECT_EQ(VisibleArea(browser), QRegion(768, 0, 384, 280));
}

struct FailedCheckCase {
    const char* name;
    std::string keywords;
    bool loggedIn;
    QString count;
    const char* message;
};

TEST_F(MainWindowRunTest, AFailedCheckIsReportedAfterTheFirstLogLine) {
    const FailedCheckCase cases[] = {
        {"empty keyword box", "", true, "3", "请输入查询关键词"},
        {"not logged in", "a", false, "3", "请登陆阿里妈妈"},
        {"empty item count", "a", true, "", "请输入生成宝贝的数量"},
    };
    for (const FailedCheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Twice: a refused start must not block the next one.
        for (int press = 0; press < 2; ++press) {
            WriteInteger(kPageControl, property::kCurrentPage, page::kLogin);
            Run(c.keywords, c.count, c.loggedIn);
            EXPECT_EQ(program_.TakeMessages(), std::vector<std::string>{c.message});
            EXPECT_EQ(program_.LogAtLastMessage(), std::string(kFirstLine) + "\r\n");
            EXPECT_EQ(program_.LogLines(), std::vector<std::string>{kFirstLine});
            EXPECT_EQ(ReadInteger(kPageControl, property::kCurrentPage), page::kLog);
            std::vector<std::string> requests = program_.TakeRequests();
            EXPECT_TRUE(Containing(requests, kPromotionPath).empty());
            // Without keywords not even the login is checked.
            if (c.keywords.empty()) {
                EXPECT_TRUE(Containing(requests, "POST ").empty());
            }
        }
    }
}

struct KeywordLinesCase {
    const char* name;
    std::string text;
    std::vector<std::string> keywords;
};

TEST_F(MainWindowRunTest, EachLineOfTheKeywordBoxIsOneKeyword) {
    const KeywordLinesCase cases[] = {
        {"an empty line in between", "a\r\n\r\nb", {"a", "", "b"}},
        {"one closing line break adds nothing", "a\r\n", {"a"}},
        {"two closing line breaks add one empty keyword", "a\r\n\r\n", {"a", ""}},
    };
    for (const KeywordLinesCase& c : cases) {
        SCOPED_TRACE(c.name);
        Run(c.text);
        EXPECT_EQ(program_.TakeMessages(), std::vector<std::string>{});
        std::vector<std::string> keywords;
        for (const std::string& request : Containing(program_.TakeRequests(), kPromotionPath))
            keywords.push_back(KeywordOfSearch(request));
        EXPECT_EQ(keywords, c.keywords);
        std::string log = GbkToUtf8Lossy(ReadText(kLogBox).view());
        size_t searchLines = 0;
        for (size_t at = log.find(kSearchBySales); at != std::string::npos;
             at = log.find(kSearchBySales, at + 1))
            ++searchLines;
        EXPECT_EQ(searchLines, c.keywords.size());
    }
}

TEST_F(MainWindowRunTest, TheNextKeywordsSearchLineFollowsTheLastOnesClosingText) {
    Run("手机\r\n耳机");
    EXPECT_TRUE(program_.TakeMessages().empty());
    std::vector<std::string> lines = program_.LogLines();
    EXPECT_EQ(CountOf(lines, std::string("生成关键词\"手机.htm\"完毕") + kSearchBySales), 1);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "生成关键词\"耳机.htm\"完毕");
    EXPECT_TRUE(fs::exists(TemplateFolder() / "手机.htm"));
    EXPECT_TRUE(fs::exists(TemplateFolder() / "耳机.htm"));

    // A next run's first line goes on the same line too.
    program_.Press(kStartButton);
    lines = program_.LogLines();
    EXPECT_EQ(CountOf(lines, std::string("生成关键词\"耳机.htm\"完毕") + kFirstLine), 1);
}

TEST_F(MainWindowRunTest, AfterStopEveryRunOnlySearchesAndLogs) {
    const std::set<std::string> before = FilesIn(TemplateFolder());
    program_.Press(kStopButton);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        Run("stop-a\r\nstop-b", "2");
        EXPECT_TRUE(program_.TakeMessages().empty());
        EXPECT_EQ(program_.LogLines(),
                  (std::vector<std::string>{kFirstLine, kSearchBySales, kSearchBySales}));
        std::vector<std::string> requests = program_.TakeRequests();
        EXPECT_EQ(Containing(requests, kPromotionPath).size(), 2u);
        EXPECT_TRUE(Containing(requests, kMarketplaceSearch).empty());
        EXPECT_EQ(FilesIn(TemplateFolder()), before);
    }
}

TEST_F(MainWindowRunTest, APressOfStopDuringARunEndsItAtTheNextCheck) {
    const std::set<std::string> before = FilesIn(TemplateFolder());
    Prepare("during-a\r\nduring-b", "2");
    PressWhenLogShows stop(kStopButton, kSearchBySales);
    program_.Press(kStartButton);
    ASSERT_TRUE(stop.Pressed());
    EXPECT_EQ(program_.LogLines(),
              (std::vector<std::string>{kFirstLine, kSearchBySales, "搜寻完毕",
                                        "开始搜寻单个宝贝信息。。。。", kSearchBySales}));
    EXPECT_EQ(FilesIn(TemplateFolder()), before);
}

TEST_F(MainWindowRunTest, AStopDuringTheItemsWritesThePageOfTheItemsSoFar) {
    Prepare("items-a\r\nitems-b", "99999");
    PressWhenLogShows stop(kStopButton, "的信息");
    program_.Press(kStartButton);
    ASSERT_TRUE(stop.Pressed());
    std::vector<std::string> lines = program_.LogLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_TRUE(lines[4].starts_with("开始搜寻")) << lines[4];
    EXPECT_TRUE(lines[5].starts_with("搜寻")) << lines[5];
    EXPECT_EQ(lines[6], std::string("生成关键词\"items-a.htm\"完毕") + kSearchBySales)
        << "the usual closing line, then the next keyword only searches";
    EXPECT_EQ(Containing(program_.TakeRequests(), kMarketplaceSearch).size(), 1u);
    const fs::path page = TemplateFolder() / "items-a.htm";
    EXPECT_TRUE(fs::exists(page));
    EXPECT_FALSE(fs::exists(TemplateFolder() / "items-b.htm"));
    fs::remove(page);
}

TEST_F(MainWindowRunTest, AStartDuringARunIsRefusedAndStartsNothing) {
    // Pressed while the first checks wait, and while the run itself waits.
    for (const char* mark : {kFirstLine, "搜寻完毕"}) {
        SCOPED_TRACE(mark);
        Prepare("busy");
        PressWhenLogShows again(kStartButton, mark);
        program_.Press(kStartButton);
        ASSERT_TRUE(again.Pressed());
        EXPECT_TRUE(program_.TakeMessages().empty());
        std::vector<std::string> lines = program_.LogLines();
        EXPECT_EQ(CountOf(lines, kRefused), 1);
        EXPECT_EQ(CountOf(lines, kFirstLine), 1);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "生成关键词\"busy.htm\"完毕");
        EXPECT_EQ(Containing(program_.TakeRequests(), kPromotionPath).size(), 1u);
    }
    // Once the run is over the button starts runs again.
    program_.ClearLog();
    program_.Press(kStartButton);
    EXPECT_EQ(CountOf(program_.LogLines(), kRefused), 0);
    EXPECT_EQ(Containing(program_.TakeRequests(), kPromotionPath).size(), 1u);
}

// A template passed around may carry a hostile preview: its script can read
// no local file, and what it opens of the affiliate site goes without the
// login's session.
TEST_F(MainWindowTemplateTest, AHostilePreviewGetsNeitherLocalFilesNorTheLogin) {
    program_.LogIn();
    ASSERT_TRUE(IsLoggedIn());
    const fs::path folder = fs::path(program_.TemplateRoot()) / "hostile-preview";
    fs::create_directories(folder);
    std::ofstream(folder / "模板文件.htm", std::ios::binary) << "<p>";
    std::ofstream(folder / "效果预览.htm", std::ios::binary) << marketsim::HostilePreviewPage();
    RelistTemplates();
    program_.TakeRequests();

    // The simulator's request lines until one holds `part`, for at most 30 s.
    std::vector<std::string> requests;
    auto logUntil = [&](const char* part) {
        for (int i = 0; i < 3000 && Containing(requests, part).empty(); ++i) {
            ResponsiveWait(10);
            for (std::string& line : program_.TakeRequests()) requests.push_back(std::move(line));
        }
    };
    program_.ChooseTemplate("hostile-preview");
    program_.Press(kPreviewSwitch);
    logUntil("from=preview");
    EXPECT_EQ(Containing(requests, "/report?local=").size(), 1u);
    EXPECT_EQ(Containing(requests, "/report?local=blocked").size(), 1u);
    const std::vector<std::string> visits = Containing(requests, "from=preview");
    ASSERT_EQ(visits.size(), 1u);
    EXPECT_EQ(visits[0].find(marketsim::kSessionCookie), std::string::npos)
        << "the member centre saw no session: " << visits[0];
    requests.clear();
    EXPECT_TRUE(IsLoggedIn()) << "while the login browser keeps its own";
    logUntil("POST ");
    const std::vector<std::string> checks = Containing(requests, "POST ");
    ASSERT_FALSE(checks.empty());
    EXPECT_NE(checks.back().find(marketsim::kSessionCookie), std::string::npos)
        << "the login check carries it: " << checks.back();

    fs::remove_all(folder);
    RelistTemplates();
}

TEST_F(MainWindowTemplateTest, SavingUnderANewNameCreatesAndListsTheFolder) {
    program_.Press(kMakeNewButton);
    for (uint32_t box : {kTemplateNameBox, kHeadBox, kLoopBox, kTailBox})
        EXPECT_TRUE(ReadText(box).empty());
    program_.Type(kTemplateNameBox, QString::fromUtf8("新模板"));
    program_.Type(kHeadBox, QString::fromUtf8("<p>头</p>"));
    program_.Type(kLoopBox, "<li>[#title#]</li>");
    program_.Type(kTailBox, "</p>");
    program_.Press(kSaveButton);

    const fs::path folder = fs::path(program_.TemplateRoot()) / "新模板";
    EXPECT_EQ(program_.TakeMessages(), std::vector<std::string>{kSaved});
    EXPECT_EQ(Slurp(folder / "模板文件.htm"),
              Gbk("<p>头</p>[#商品循环开始#]<li>[#title#]</li>[#商品循环结束#]</p>"));
    std::vector<std::string> items = TemplateListItems();
    EXPECT_EQ(CountOf(items, "新模板"), 1);
    EXPECT_EQ(CountOf(items, kStarterTemplate), 1);
    EXPECT_EQ(ReadInteger(kTemplateList, property::kListBoxSelection), 0);
    EXPECT_EQ(Utf8Of(kTemplateNameBox), "新模板");
    EXPECT_EQ(Utf8Of(kLoopBox), "<li>[#title#]</li>");
    // Its preview comes from its own parts, and a later save keeps it.
    const std::string preview = Slurp(folder / "效果预览.htm");
    EXPECT_EQ(preview, Gbk("<p>头</p><li>[#title#]</li><li>[#title#]</li><li>[#title#]</li>"
                           "<li>[#title#]</li></p>"));
    std::ofstream(folder / "效果预览.htm", std::ios::binary) << "by hand";
    program_.Press(kSaveButton);
    program_.TakeMessages();
    EXPECT_EQ(Slurp(folder / "效果预览.htm"), "by hand");

    fs::remove_all(folder);
    RelistTemplates();
}

TEST_F(MainWindowTemplateTest, OnlyFoldersNotStartingWithADotAreTemplates) {
    const fs::path root = program_.TemplateRoot();
    fs::create_directories(root / ".hidden");
    fs::create_directories(root / "_draft");
    std::ofstream(root / "plain.htm") << "a plain file";
    RelistTemplates();
    std::vector<std::string> items = TemplateListItems();
    EXPECT_EQ(CountOf(items, "_draft"), 1);
    EXPECT_EQ(CountOf(items, ".hidden"), 0);
    EXPECT_EQ(CountOf(items, "plain.htm"), 0);
    EXPECT_EQ(CountOf(items, kStarterTemplate), 1);
    for (const char* name : {".hidden", "_draft", "plain.htm"}) fs::remove_all(root / name);
    RelistTemplates();
}

TEST_F(MainWindowTemplateTest, SavingWithAnEmptyNameWritesIntoTheTemplateRoot) {
    program_.Press(kMakeNewButton);
    program_.Type(kHeadBox, "h");
    program_.Type(kLoopBox, "l");
    program_.Type(kTailBox, "t");
    program_.Press(kSaveButton);
    const fs::path file = fs::path(program_.TemplateRoot()) / "模板文件.htm";
    EXPECT_EQ(program_.TakeMessages(), std::vector<std::string>{kSaved});
    EXPECT_EQ(Slurp(file), Gbk("h[#商品循环开始#]l[#商品循环结束#]t"));
    EXPECT_FALSE(fs::exists(file.parent_path() / "效果预览.htm"));
    fs::remove(file);
    RelistTemplates();
}

TEST_F(MainWindowTemplateTest, AFailedSaveIsReportedAndKeepsTheBoxes) {
    const fs::path root = program_.TemplateRoot();
    std::ofstream(root / "占位") << "a plain file";
    const std::vector<std::string> listed = TemplateListItems();
    struct SaveCase {
        const char* name;
        const char* templateName;
        bool withoutRoot;
    };
    const SaveCase cases[] = {
        {"no template root", "新模板", true},
        {"a plain file holds the name", "占位", false},
        {"a name leading out of the root", "..\\外面", false},
        {"a name with a slash", "甲/乙", false},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<SetAside> aside;
        if (c.withoutRoot) aside.emplace(root, false);
        program_.Type(kTemplateNameBox, QString::fromUtf8(c.templateName));
        program_.Type(kHeadBox, "head");
        program_.Type(kLoopBox, "loop");
        program_.Type(kTailBox, "tail");
        program_.Press(kSaveButton);
        EXPECT_EQ(program_.TakeMessages(), std::vector<std::string>{kSaveFailed});
        EXPECT_EQ(Utf8Of(kTemplateNameBox), c.templateName);
        EXPECT_EQ(Utf8Of(kHeadBox), "head");
        EXPECT_EQ(Utf8Of(kLoopBox), "loop");
        EXPECT_EQ(Utf8Of(kTailBox), "tail");
        EXPECT_EQ(TemplateListItems(), listed);
    }
    EXPECT_FALSE(fs::exists(root / "新模板"));
    EXPECT_FALSE(fs::exists(root.parent_path() / "外面"));
    EXPECT_FALSE(fs::exists(root / "甲"));
    EXPECT_EQ(Slurp(root / "占位"), "a plain file");
    fs::remove(root / "占位");
}

// Every caption fits its stored width with the bundled CJK font: labels
// (the credit line among them), group box titles, radio buttons and buttons.
TEST_F(MainWindowLookTest, EveryCaptionFitsItsStoredWidth) {
    int creditLine = 0, captions = 0;
    for (const UnitRecord& unit : FindWindowDescription(kMainWindow)->units) {
        QWidget* control = program_.Control(unit.id);
        SCOPED_TRACE(::testing::Message() << "unit 0x" << std::hex << unit.id);
        QString text;
        int room = 0;
        if (auto* label = qobject_cast<QLabel*>(control)) {
            text = label->text();
            room = label->contentsRect().width();
            if (unit.parent == 0) {
                ++creditLine;
                EXPECT_TRUE(label->isVisible());
            }
        } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
            text = box->title();
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = text;
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                       QStyle::SC_GroupBoxLabel, box);
            room = box->width() - title.left() -
                   (title.width() - box->fontMetrics().horizontalAdvance(text));
        } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
            text = radio->text();
            room = radio->width() -
                   (radio->sizeHint().width() - radio->fontMetrics().horizontalAdvance(text));
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            text = button->text();
            room = button->contentsRect().width();
        }
        if (text.isEmpty()) continue;
        SCOPED_TRACE(text.toStdString());
        ++captions;
        EXPECT_LE(QFontMetrics(control->font()).horizontalAdvance(text), room);
    }
    EXPECT_EQ(creditLine, 4);
    EXPECT_EQ(captions, 29);
}

// After a run, pages 0, 1, 2 and 4 as the user sees them: the window's own
// children (outer frame, credit line) all fit inside it.
TEST_F(MainWindowLookTest, PagesAfterARunFitTheWindow) {
    Run("手机\r\n耳机", "3");
    EXPECT_TRUE(program_.TakeMessages().empty());
    QWidget* window = program_.Control(kMainWindowUnit);
    const WindowRecord* description = FindWindowDescription(kMainWindow);
    for (const UnitRecord& unit : description->units) {
        if (unit.id == kMainWindowUnit || unit.parent != 0) continue;
        SCOPED_TRACE(::testing::Message() << "unit 0x" << std::hex << unit.id);
        QWidget* control = program_.Control(unit.id);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(window->rect().contains(control->geometry()));
    }
    const char* shots = std::getenv("VELMORA_SHOTS");
    if (shots) fs::create_directories(shots);
    const std::pair<uint32_t, int> views[] = {{kLoginButton, page::kLogin},
                                              {kTemplateEditorSwitch, page::kTemplateEditor},
                                              {kLogSwitch, page::kLog},
                                              {kInstructionsSwitch, page::kInstructions}};
    QImage previous;
    for (auto [pageSwitch, page] : views) {
        SCOPED_TRACE(page);
        program_.Press(pageSwitch);
        ResponsiveWait(1500);  // the browsers load their pages
        EXPECT_EQ(ReadInteger(kPageControl, property::kCurrentPage), page);
        QPixmap picture = window->grab();
        // Each page switch shows another picture, the whole window's.
        QImage image = picture.toImage();
        EXPECT_EQ(image.size(), window->size());
        EXPECT_NE(image, previous) << "the page did not change on the screen";
        previous = image;
        if (shots) {
            fs::path file = fs::path(shots) / ("page-" + std::to_string(page) + ".png");
            EXPECT_TRUE(picture.save(QString::fromStdString(file.string()))) << file;
        }
    }
    EXPECT_TRUE(program_.TakeMessages().empty());
}

// A page the starter template wrote, as a wide screen and a phone show it:
// four columns and two, nothing wider than the screen. Kept as page-1280.png
// and page-phone.png with VELMORA_SHOTS.
TEST_F(MainWindowLookTest, TheStarterPageFillsItsColumnsWideAndOnAPhone) {
    Run("连衣裙", "8");
    const QUrl page =
        QUrl::fromLocalFile(QString::fromStdString((TemplateFolder() / "连衣裙.htm").string()));
    const char* shots = std::getenv("VELMORA_SHOTS");
    for (auto [width, columns, name] : {std::tuple{1280, 4, "page-1280"}, {390, 2, "page-phone"}}) {
        SCOPED_TRACE(name);
        QWebEngineView view;
        // The simulator's pictures, as the program's own browsers show them.
        view.setPage(new QWebEnginePage(controls::PrivateProfile(), &view));
        view.settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        view.resize(width, 900);
        view.show();
        bool loaded = false;
        QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool) { loaded = true; });
        view.load(page);
        for (int i = 0; i < 500 && !loaded; ++i) ResponsiveWait(10);
        ResponsiveWait(1000);  // the pictures
        QVariantList measured;
        view.page()->runJavaScript(
            "[...document.querySelectorAll('.item')].filter(e => e.offsetTop == "
            "document.querySelector('.item').offsetTop).length + ',' + "
            "(document.documentElement.scrollWidth <= innerWidth) + ',' + "
            "document.documentElement.scrollHeight",
            [&](const QVariant& answer) { measured = {answer}; });
        for (int i = 0; i < 500 && measured.isEmpty(); ++i) ResponsiveWait(10);
        ASSERT_FALSE(measured.isEmpty());
        const QStringList answer = measured[0].toString().split(',');
        EXPECT_EQ(answer.value(0).toInt(), columns);
        EXPECT_EQ(answer.value(1).toStdString(), "true") << "the page is wider than the screen";
        if (!shots) continue;
        view.resize(width, std::min(answer.value(2).toInt(), width == 390 ? 1600 : 1100));
        ResponsiveWait(500);
        fs::create_directories(shots);
        EXPECT_TRUE(
            view.grab().save(QString::fromStdString((fs::path(shots) / name).string() + ".png")));
    }
}

}  // namespace
}  // namespace velmora::app
