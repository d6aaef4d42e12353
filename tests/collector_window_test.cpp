// The collector's engine on the live window: the item list it fills, the
// editor boxes it loads, the log lines it writes and the pages it puts into
// the template folders, with the simulator answering its requests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/collection_run.h"
#include "app/collector_globals.h"
#include "app/main_window_ids.h"
#include "app/marketplace_collector.h"
#include "app/promotion_page.h"
#include "app/promotion_search.h"
#include "app/template_engine.h"
#include "app/template_library.h"
#include "app/window_calls.h"
#include "commands/control_commands.h"
#include "controls/list_view.h"
#include "runtime/gbk.h"
#include "tests/collector_samples.h"
#include "tests/live_program.h"
#include "tests/test_support.h"
#include "tools/marketsim/catalogue.h"
#include "tools/marketsim/pages.h"

namespace velmora::app {
namespace {

namespace fs = std::filesystem;
namespace sim = velmora::marketsim;
using velmora::testing::Contents;
using velmora::testing::Gbk;
using velmora::testing::LiveProgram;
using velmora::testing::PromotionBlock;
using velmora::testing::PromotionPage;
using velmora::testing::ReadFile;

// The "文件后缀：" box beside the template editor; the collector never reads it.
constexpr uint32_t kSuffixBox = 0x16011a9c;

const std::string kLoopStart = Gbk("[#商品循环开始#]");
const std::string kLoopEnd = Gbk("[#商品循环结束#]");
const std::string kSearchPrefix = "POST http://s.taobao.com/search?q=";

std::string Utf8(std::string_view gbk) {
    return GbkToUtf8Lossy(gbk);
}

std::string ReplaceAll(std::string text, const std::string& sought, const std::string& value) {
    for (size_t at = text.find(sought); at != std::string::npos;
         at = text.find(sought, at + value.size()))
        text.replace(at, sought.size(), value);
    return text;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A request line as the simulator logged it, its %XX escapes undone, so that
// the address reads in the GBK bytes the collector put into it.
std::string Unescaped(const std::string& line) {
    std::string out;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '%' && i + 2 < line.size()) {
            out += char(std::stoi(line.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += line[i];
        }
    }
    return out;
}

struct Row {
    std::string id, title, seller;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << "{" << Utf8(row.id) << " | " << Utf8(row.title) << " | " << Utf8(row.seller)
               << "}";
}

Row RowOf(const sim::CatalogueItem& item) {
    return {item.id, item.title, item.seller};
}

class CollectorWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program_.TakeMessages();
        program_.ClearLog();
        WriteText(kSuffixBox, "htm");
    }

    fs::path Root() const { return fs::path(program_.TemplateRoot()); }

    // The item list's rows, column by column, as the list holds them.
    std::vector<Row> ItemRows() const {
        controls::RowStore* rows = controls::RowsOf(program_.Control(kItemList));
        std::vector<Row> read;
        for (int row = 0; row < controls::RowCount(rows); ++row) {
            std::string cells[3];
            for (int column = 0; column < 3; ++column) {
                char buffer[4096];
                size_t n = controls::CopyCellText(rows, row, column, buffer, sizeof buffer);
                cells[column].assign(buffer, n);
            }
            read.push_back({cells[0], cells[1], cells[2]});
        }
        return read;
    }

    // Rows for the collector to look up: the first `count` items the
    // promotion search lists for the keyword, parsed into the item list.
    std::vector<sim::CatalogueItem> ListItems(const std::string& keyword, size_t count) {
        std::vector<sim::CatalogueItem> items =
            sim::PromotionItems(keyword, sim::SortKey::kSales, count);
        ParsePromotionPage(sim::PromotionPage(keyword, sim::SortKey::kSales, items).c_str());
        EXPECT_EQ(ItemRows().size(), items.size()) << "the item list holds the listed items";
        return items;
    }

    // A template folder holding the template file, or none when `bytes` is
    // null; the template list lists it.
    void MakeTemplate(const std::string& name, const std::string* bytes) {
        fs::create_directories(Root() / name);
        if (bytes) WriteFile(Root() / name / "模板文件.htm", *bytes);
        auto* list = program_.Control<QListWidget>(kTemplateList);
        if (list->findItems(QString::fromStdString(name), Qt::MatchExactly).isEmpty()) {
            CallCore(commands::ClearItems, {ControlOf(tag::kListBox, kTemplateList)});
            ListTemplates();
        }
    }

    // The editor boxes as a run would leave them for one keyword.
    void PrepareEditor(const std::string& name, const std::string& head, const std::string& loop,
                       const std::string& tail, const std::string& keyword) {
        WriteText(kTemplateNameBox, name.c_str());
        WriteText(kHeadBox, head.c_str());
        WriteText(kLoopBox, loop.c_str());
        WriteText(kTailBox, tail.c_str());
        SetCurrentKeyword(keyword.c_str());
    }

    // The marketplace searches since the last call, each as its GBK address
    // after "q=". The simulator logs a request once its answer is out, so the
    // expected number is waited for a moment.
    std::vector<std::string> MarketplaceQueries(size_t expected) {
        std::vector<std::string> queries;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        do {
            for (const std::string& line : program_.TakeRequests()) {
                if (line.rfind(kSearchPrefix, 0) != 0) continue;
                std::string request = Unescaped(line);
                // Drop " <status> <bytes>" from the end.
                request.erase(request.rfind(' '));
                request.erase(request.rfind(' '));
                queries.push_back(request.substr(kSearchPrefix.size()));
            }
            if (queries.size() >= expected) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (std::chrono::steady_clock::now() < deadline);
        return queries;
    }

    LiveProgram& program_ = LiveProgram::Get();
};

// ---- the promotion result page into the item list

TEST_F(CollectorWindowTest, ParseReplacesTheItemListWithTheAnchoredItems) {
    const std::string old =
        PromotionPage(PromotionBlock("900", "old", "o") + PromotionBlock("901", "older", "o"));
    struct Case {
        std::string name, page;
        std::vector<Row> rows;
    } cases[] = {
        {"three anchors in page order",
         PromotionPage(PromotionBlock("101", Gbk("苹果<span>手机</span>"), Gbk("小王")) +
                       PromotionBlock("202", Gbk("<span>耳机</span>"), Gbk("老李")) +
                       PromotionBlock("303", "c<SPAN>d</SPAN>", "z")),
         {{"101", Gbk("苹果手机"), Gbk("小王")},
          {"202", Gbk("耳机"), Gbk("老李")},
          {"303", "c<SPAN>d</SPAN>", "z"}}},
        // The first anchor stands at byte 1, before the scan starts.
        {"anchor in the first nine bytes",
         "list-info" + PromotionBlock("404", "t", "s"),
         {{"404", "t", "s"}}},
        {"page without anchors", "<html>no items</html>", {}},
        {"empty page", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParsePromotionPage(old.c_str());
        ASSERT_EQ(ItemRows().size(), 2u) << "old rows to be cleared";
        ParsePromotionPage(c.page.c_str());
        EXPECT_EQ(ItemRows(), c.rows);
    }
}

TEST_F(CollectorWindowTest, ParseListsEveryItemOfASimulatorPage) {
    const std::string keyword = Gbk("连衣裙");
    std::vector<sim::CatalogueItem> items = sim::PromotionItems(keyword, sim::SortKey::kSales, 40);
    ParsePromotionPage(sim::PromotionPage(keyword, sim::SortKey::kSales, items).c_str());
    std::vector<Row> expected;
    for (const sim::CatalogueItem& item : items) expected.push_back(RowOf(item));
    EXPECT_EQ(ItemRows(), expected);
}

// ---- collecting the listed items and writing the page

TEST_F(CollectorWindowTest, ItemCountDecidesHowManyItemsAreCollected) {
    const std::string keyword = Gbk("手机");
    MakeTemplate("计数模板", nullptr);
    std::vector<sim::CatalogueItem> items = ListItems(keyword, 5);
    const fs::path page = Root() / "计数模板" / "手机.htm";
    struct Case {
        std::string count;
        size_t items;
        std::vector<std::string> messages;
    } cases[] = {
        {"3.9", 3, {}}, {"", 0, {"请添加商品生成数量"}}, {"0", 0, {}}, {"-2", 0, {}},
        {"abc", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("count \"" + c.count + "\"");
        fs::remove(page);
        program_.ClearLog();
        program_.Type(kItemCountBox, QString::fromStdString(c.count));
        PrepareEditor(Gbk("计数模板"), Gbk("<[#关键词#]>"), Gbk("[#商品排名#],"), "|", keyword);
        MarketplaceQueries(0);

        CollectAndWritePage();

        EXPECT_EQ(program_.TakeMessages(), c.messages);
        std::string ranks;
        std::vector<std::string> lines;
        for (size_t i = 0; i < c.items; ++i) {
            ranks += std::to_string(i + 1) + ",";
            lines.push_back("开始搜寻" + Utf8(items[i].title) + "的信息");
            lines.push_back("搜寻" + Utf8(items[i].title) + "完毕");
        }
        EXPECT_EQ(ReadFile(page), Gbk("<手机>") + ranks + "|");
        EXPECT_EQ(program_.LogLines(), lines);
        std::vector<std::string> queries = MarketplaceQueries(c.items);
        ASSERT_EQ(queries.size(), c.items);
        // Each title is sent as it stands, in row order.
        for (size_t i = 0; i < c.items; ++i) EXPECT_EQ(queries[i], items[i].title);
    }
}

TEST_F(CollectorWindowTest, ItemsBeyondTheListedRowsHaveEmptyFields) {
    const std::string keyword = Gbk("手机");
    MakeTemplate("空行模板", nullptr);
    std::vector<sim::CatalogueItem> items = ListItems(keyword, 2);
    program_.Type(kItemCountBox, "3");
    PrepareEditor(Gbk("空行模板"), "",
                  Gbk("[#商品排名#]:[#商品标题#]|[#卖家昵称#]|[#商品价格#]|[#商品销售量#]|"
                      "[#商品网址#]|[#商品图片地址#];"),
                  "", keyword);
    MarketplaceQueries(0);

    CollectAndWritePage();

    std::string expected;
    for (size_t i = 0; i < items.size(); ++i) {
        const sim::CatalogueItem& item = items[i];
        expected += std::to_string(i + 1) + ":" + item.title + "|" + item.seller + "|" +
                    sim::FormatCents(item.priceCents) + "|" + std::to_string(item.sales30) + "|" +
                    sim::ItemUrl(item.id) + "|" + sim::PictureUrl(item.id) + ";";
    }
    EXPECT_EQ(ReadFile(Root() / "空行模板" / "手机.htm"), expected + "3:|||||;");
    std::vector<std::string> lines = program_.LogLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "开始搜寻的信息");
    EXPECT_EQ(lines[5], "搜寻完毕");
    std::vector<std::string> queries = MarketplaceQueries(3);
    ASSERT_EQ(queries.size(), 3u);
    EXPECT_EQ(queries[2], "") << "the third search ends in q=";
    EXPECT_TRUE(program_.TakeMessages().empty());
}

TEST_F(CollectorWindowTest, LoopBoxIsReadAfreshForEveryItem) {
    const std::string keyword = Gbk("手机");
    MakeTemplate("循环模板", nullptr);
    std::vector<sim::CatalogueItem> items = ListItems(keyword, 3);
    program_.Type(kItemCountBox, "3");
    PrepareEditor(Gbk("循环模板"), "", Gbk("A[#商品排名#];"), "", keyword);

    // Once the second item's first line is logged, the loop box is edited as
    // a user would during the collector's waits.
    auto* log = program_.Control<QPlainTextEdit>(kLogBox);
    const QString secondStarts = QString::fromStdString("开始搜寻" + Utf8(items[1].title));
    bool edited = false;
    QMetaObject::Connection watch = QObject::connect(log, &QPlainTextEdit::textChanged, [&] {
        if (edited || !log->toPlainText().contains(secondStarts)) return;
        edited = true;
        QTimer::singleShot(0, [this] { program_.Type(kLoopBox, "B[#商品排名#];"); });
    });
    CollectAndWritePage();
    QObject::disconnect(watch);

    EXPECT_TRUE(edited);
    EXPECT_EQ(ReadFile(Root() / "循环模板" / "手机.htm"), "A1;B2;B3;");
}

TEST_F(CollectorWindowTest, StopEndsTheItemLoopAfterTheItemInFlight) {
    const std::string keyword = Gbk("手机");
    MakeTemplate("停止模板", nullptr);
    std::vector<sim::CatalogueItem> items = ListItems(keyword, 3);
    program_.Type(kItemCountBox, "99999");
    PrepareEditor(Gbk("停止模板"), "<", Gbk("A[#商品排名#];"), ">", keyword);
    MarketplaceQueries(0);  // forget earlier tests' requests

    // The stop button is pressed while the second item is being looked up.
    auto* log = program_.Control<QPlainTextEdit>(kLogBox);
    const QString secondStarts = QString::fromStdString("开始搜寻" + Utf8(items[1].title));
    QMetaObject::Connection watch = QObject::connect(log, &QPlainTextEdit::textChanged, [&] {
        if (log->toPlainText().contains(secondStarts)) Globals().stopRequested = true;
    });
    CollectAndWritePage();
    QObject::disconnect(watch);
    Globals().stopRequested = false;

    EXPECT_EQ(ReadFile(Root() / "停止模板" / "手机.htm"), "<A1;A2;>")
        << "the item in flight is finished and the page written with what was collected";
    EXPECT_EQ(MarketplaceQueries(2).size(), 2u);
}

TEST_F(CollectorWindowTest, ThePageKeepsTheTemplatesLineEndsAndBytesGbkCannotRead) {
    const std::string keyword = Gbk("手机");
    MakeTemplate("换行模板", nullptr);
    ListItems(keyword, 2);
    program_.Type(kItemCountBox, "2");
    PrepareEditor(Gbk("换行模板"), "<p>\n", Gbk("A[#商品排名#]\r\n"), "</p>\x86\xFF\n", keyword);

    CollectAndWritePage();

    EXPECT_EQ(ReadFile(Root() / "换行模板" / "手机.htm"), "<p>\nA1\r\nA2\r\n</p>\x86\xFF\n");
}

// ---- loading a template into the editor boxes

TEST_F(CollectorWindowTest, LoadTemplateFillsTheEditorBoxesFromTheFile) {
    const std::string threeParts =
        Gbk("<头>\r\n") + kLoopStart + Gbk("<项 [#商品排名#]>") + kLoopEnd + Gbk("\r\n<尾>");
    const std::string noMarkers = Gbk("<p>[#商品排名#]，没有循环标记</p>");
    struct Case {
        std::string name;
        const std::string* file;
        std::string head, loop, tail;
        std::vector<std::string> log;
    } cases[] = {
        {"三段模板", &threeParts, Gbk("<头>\r\n"), Gbk("<项 [#商品排名#]>"), Gbk("\r\n<尾>"), {}},
        {"没有文件的模板", nullptr, "", "", "", {}},
        // Saving it back must not lose what a split at missing markers would cut.
        {"无标记模板",
         &noMarkers,
         noMarkers,
         "",
         "",
         {"模板\"无标记模板\"的模板文件.htm里找不到商品循环标记（按GBK和UTF-"
          "8都找不到），不能用它生成页面"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeTemplate(c.name, c.file);
        program_.ChooseTemplate(QString::fromStdString(c.name));
        PrepareEditor("stale", "stale head", "stale loop", "stale tail", "k");
        program_.ClearLog();

        LoadTemplate();

        EXPECT_EQ(ReadText(kTemplateNameBox).view(), Gbk(c.name.c_str()));
        EXPECT_EQ(ReadText(kHeadBox).view(), c.head);
        EXPECT_EQ(ReadText(kLoopBox).view(), c.loop);
        EXPECT_EQ(ReadText(kTailBox).view(), c.tail);
        EXPECT_EQ(program_.LogLines(), c.log);
    }
    EXPECT_TRUE(program_.TakeMessages().empty());
}

TEST_F(CollectorWindowTest, ALoadedTemplateSavesBackByteForByte) {
    // 運 is DF 5C in GBK: its second byte is a backslash in ASCII.
    const std::string yun = Gbk("運");
    const struct {
        const char* name;
        std::string head, loop, tail;
    } cases[] = {
        {"plain", "A", "B", "C"},
        {"LF only", "<p>\n" + yun + "\n", "\n<li>\n", "\n</p>\n"},
        {"CR LF", "<p>\r\n" + yun + "\r\n", "<li>\r\n", "\r\n</p>"},
        {"mixed", "a\nb\r\nc\r", "\r\n\n", yun + "\r\r\n\n"},
        {"not GBK (UTF-8 and stray bytes)", "<p>\xE2\x82\xAC\x80\n", "\xFF\xFF", "\x86</p>\xCA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = c.head + kLoopStart + c.loop + kLoopEnd + c.tail;
        MakeTemplate("往返模板", &file);
        program_.ChooseTemplate("往返模板");
        LoadTemplate();
        ASSERT_EQ(ReadText(kHeadBox).view(), c.head);
        ASSERT_EQ(ReadText(kLoopBox).view(), c.loop);
        ASSERT_EQ(ReadText(kTailBox).view(), c.tail);
        fs::remove(Root() / "往返模板" / "模板文件.htm");

        program_.Press(kSaveButton);

        EXPECT_EQ(program_.TakeMessages(), std::vector<std::string>{"保存模板成功"});
        EXPECT_EQ(ReadFile(Root() / "往返模板" / "模板文件.htm"), file);
    }
}

// ---- writing the page

TEST_F(CollectorWindowTest, AUtf8TemplateMakesUtf8PagesAndSavesBackUnchanged) {
    const std::string keyword = Gbk("手机");
    // A byte-order mark and a character GBK lacks, around the markers in UTF-8.
    const std::string file =
        "\xEF\xBB\xBF<h>[#关键词#] \xF0\x9F\x98\x80</h>\r\n[#商品循环开始#]<li>[#商品排名#] "
        "[#商品标题#]</li>[#商品循环结束#]\r\n<p>€</p>";
    MakeTemplate("统一码模板", &file);
    program_.ChooseTemplate("统一码模板");
    LoadTemplate();
    std::vector<sim::CatalogueItem> items = ListItems(keyword, 2);
    program_.Type(kItemCountBox, "2");
    SetCurrentKeyword(keyword.c_str());

    CollectAndWritePage();

    EXPECT_EQ(ReadFile(Root() / "统一码模板" / "手机.htm"),
              "\xEF\xBB\xBF<h>手机 \xF0\x9F\x98\x80</h>\r\n<li>1 " + Utf8(items[0].title) +
                  "</li><li>2 " + Utf8(items[1].title) + "</li>\r\n<p>€</p>");
    fs::remove(Root() / "统一码模板" / "模板文件.htm");
    program_.Press(kSaveButton);
    EXPECT_EQ(program_.TakeMessages(), std::vector<std::string>{"保存模板成功"});
    EXPECT_EQ(ReadFile(Root() / "统一码模板" / "模板文件.htm"), file);
}

TEST_F(CollectorWindowTest, StarterTemplatePageForAKeyword) {
    const std::string keyword = Gbk("手机");
    program_.LogIn();
    program_.ChooseTemplate("高贵大气");
    LoadTemplate();
    SetCurrentKeyword(keyword.c_str());
    std::optional<Text> result = FetchPromotionPage(keyword.c_str(), 0);
    ASSERT_TRUE(result.has_value());
    ParsePromotionPage(result->c_str());
    program_.Type(kItemCountBox, "2");

    CollectAndWritePage();

    // The editor boxes hand the parts on with the template's own line ends.
    const std::string templateFile = ReadFile(Root() / "高贵大气" / "模板文件.htm");
    const size_t start = templateFile.find(kLoopStart), end = templateFile.find(kLoopEnd);
    ASSERT_NE(start, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::string keywordMark = Gbk("[#关键词#]");
    const std::string head = ReplaceAll(templateFile.substr(0, start), keywordMark, keyword);
    const std::string loop =
        templateFile.substr(start + kLoopStart.size(), end - start - kLoopStart.size());
    const std::string tail =
        ReplaceAll(templateFile.substr(end + kLoopEnd.size()), keywordMark, keyword);
    std::string items;
    std::vector<sim::CatalogueItem> listed = sim::PromotionItems(keyword, sim::SortKey::kSales, 2);
    for (size_t i = 0; i < listed.size(); ++i) {
        const sim::CatalogueItem& item = listed[i];
        std::string rendered = ReplaceAll(loop, keywordMark, keyword);
        rendered = ReplaceAll(rendered, Gbk("[#商品图片地址#]"), sim::PictureUrl(item.id));
        rendered = ReplaceAll(rendered, Gbk("[#商品网址#]"), sim::ItemUrl(item.id));
        rendered = ReplaceAll(rendered, Gbk("[#商品标题#]"), item.title);
        rendered = ReplaceAll(rendered, Gbk("[#商品销售量#]"), std::to_string(item.sales30));
        rendered = ReplaceAll(rendered, Gbk("[#卖家昵称#]"), item.seller);
        rendered = ReplaceAll(rendered, Gbk("[#商品价格#]"), sim::FormatCents(item.priceCents));
        rendered = ReplaceAll(rendered, Gbk("[#商品排名#]"), std::to_string(i + 1));
        // The classic source knows no coupons.
        rendered = ReplaceAll(rendered, Gbk("[#优惠券面额#]"), "");
        rendered = ReplaceAll(rendered, Gbk("[#券后价#]"), "");
        items += rendered;
    }

    const std::string page = ReadFile(Root() / "高贵大气" / "手机.htm");
    EXPECT_EQ(page, head + items + tail);
    EXPECT_NE(page.find(Gbk("<title>手机 - 精选好货排行</title>")), std::string::npos);
    EXPECT_NE(page.find(Gbk("<span class=\"rank\">2</span>")), std::string::npos);
    EXPECT_EQ(page.find("[#"), std::string::npos) << "every placeholder filled";
    EXPECT_TRUE(program_.TakeMessages().empty());
}

TEST_F(CollectorWindowTest, PageIsKeywordDotHtmInTheNamedFolder) {
    fs::create_directories(Root() / "后缀模板");
    // The suffix box offers another suffix; pages keep theirs.
    WriteText(kSuffixBox, "html");
    struct Case {
        std::string name, keyword;
        fs::path written;
    } cases[] = {
        {"后缀模板", "手机", Root() / "后缀模板" / "手机.htm"},
        {"后缀模板", "v1.htm", Root() / "后缀模板" / "v1.htm.htm"},
        {"后缀模板", "", Root() / "后缀模板" / ".htm"},
        // No template name: two separators in a row, taken as one.
        {"", "无名", Root() / "无名.htm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + "/" + c.keyword);
        fs::remove(c.written);
        PrepareEditor(Gbk(c.name.c_str()), Gbk("H[#关键词#]"), "", Gbk("[#关键词#]T"),
                      Gbk(c.keyword.c_str()));
        WritePage("items");
        EXPECT_EQ(ReadFile(c.written),
                  "H" + Gbk(c.keyword.c_str()) + "items" + Gbk(c.keyword.c_str()) + "T");
        EXPECT_FALSE(fs::exists(c.written.string() + "l"));
    }
    EXPECT_TRUE(program_.LogLines().empty());
}

std::set<fs::path> FilesUnder(const fs::path& folder) {
    std::set<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.insert(entry.path());
    return files;
}

TEST_F(CollectorWindowTest,
       KeywordLeadingOutOfTheFolderOrHidingItsPageWritesNothingAndTheRunGoesOn) {
    const std::string file = Gbk("H[#关键词#]") + kLoopStart + "L" + kLoopEnd + "T";
    MakeTemplate("路径模板", &file);
    // Where "a/b" would land if it were taken as a path.
    fs::create_directories(Root() / "路径模板" / "a");
    program_.ChooseTemplate("路径模板");
    program_.Type(kItemCountBox, "0");
    WriteText(kKeywordBox, Gbk("..\\..\\x\r\n../x\r\na/b\r\n..\r\n.net\r\n手机").c_str());
    const fs::path pages = Root().parent_path();
    fs::remove(Root() / "路径模板" / "手机.htm");
    const std::set<fs::path> before = FilesUnder(pages);

    RunCollection();

    std::set<fs::path> added;
    std::ranges::set_difference(FilesUnder(pages), before, std::inserter(added, added.end()));
    EXPECT_EQ(added, std::set<fs::path>{Root() / "路径模板" / "手机.htm"});
    EXPECT_EQ(ReadFile(Root() / "路径模板" / "手机.htm"), Gbk("H手机T"));

    std::vector<std::string> refusals;
    for (const std::string& line : program_.LogLines())
        if (line.rfind("关键词\"", 0) == 0) refusals.push_back(line);
    EXPECT_EQ(
        refusals,
        (std::vector<std::string>{
            "关键词\"..\\..\\x\"含有路径分隔符或\"..\"，未生成页面",
            "关键词\"../x\"含有路径分隔符或\"..\"，未生成页面",
            "关键词\"a/b\"含有路径分隔符或\"..\"，未生成页面",
            "关键词\"..\"以点开头，页面会成为隐藏文件（索引页和网站地图都不列出），未生成页面",
            "关键词\".net\"以点开头，页面会成为隐藏文件（索引页和网站地图都不列出），未生成页面",
        }));
    ASSERT_FALSE(program_.LogLines().empty());
    EXPECT_EQ(program_.LogLines().back(), "生成关键词\"手机.htm\"完毕");
}

TEST_F(CollectorWindowTest, FailedWriteLogsOneLine) {
    // A file where the template folder should be: no write can go through it,
    // whoever the process runs as.
    WriteFile(Root() / "文件模板", "not a folder");
    struct Case {
        std::string name;
    } cases[] = {{"文件模板"}, {"不存在的模板"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program_.ClearLog();
        PrepareEditor(Gbk(c.name.c_str()), "H", "", "T", Gbk("手机"));
        WritePage("items");
        EXPECT_EQ(program_.LogLines(), std::vector<std::string>{"添加失败，请按正确方法操作"});
    }
    EXPECT_TRUE(fs::is_regular_file(Root() / "文件模板"));
    EXPECT_FALSE(fs::exists(Root() / "不存在的模板")) << "the folder is not made";
    EXPECT_TRUE(program_.TakeMessages().empty());
}

// ---- template folders from other people

TEST_F(CollectorWindowTest, HostileTemplateFoldersReachNothingOutside) {
    // The user's own files beside the program, which a template folder may name.
    const fs::path outside = Root().parent_path().parent_path() / "外面";
    fs::create_directories(outside / "模板");
    WriteFile(outside / "bashrc", "mine");
    WriteFile(outside / "velmora.conf", "app_secret = s3cr3t");
    const std::string file = Gbk("H[#关键词#]") + kLoopStart + "L" + kLoopEnd + "T";
    WriteFile(outside / "模板" / "模板文件.htm", file);
    const std::map<fs::path, std::string> before = Contents(outside);
    const std::string saved = "保存模板成功", notSaved = "保存模板失败，请检查模板名称后重试";
    struct Case {
        std::string name;
        fs::path link, target;  // a link in the folder; without a name, the folder is the link
        std::string keywords;   // one run, of a listed template only
        std::string page;       // 手机.htm afterwards; empty: none
        std::string logLine;    // a line the log holds; empty: none asked for
        std::string saving;     // the message after saving the template
    } cases[] = {
        {"链接页面", "手机.htm", outside / "bashrc", "手机", Gbk("H手机T"), "", saved},
        {"外链模板文件", "模板文件.htm", outside / "velmora.conf", "手机", "",
         "模板\"外链模板文件\"的模板文件."
         "htm不是模板文件夹里的普通文件（或是指向文件夹以外的链接），"
         "未使用该模板",
         saved},
        {"内链模板文件", "模板文件.htm", "部件.htm", "手机", Gbk("H手机T"), "", saved},
        {"保留名", "", "", "模板文件\r\n效果预览\r\n索引模板", "",
         "关键词\"索引模板\"是模板自己的文件名，未生成页面", saved},
        {"外链文件夹", "", outside / "模板", "", "",
         "模板名称\"外链文件夹\"的文件夹是指向模板目录以外的链接，未生成页面", notSaved},
        {"内链文件夹", "", "链接页面", "手机", Gbk("H手机T"), "", saved},
        // A line break in the name must not begin a line of its own in the log.
        {"坏\\名\n伪造", "", "", "", "",
         "模板名称\"坏\\名?伪造\"含有路径分隔符或\"..\"，未生成页面", notSaved},
        {"x\\..\\..\\..\\外面\\模板", "", "", "", "",
         "模板名称\"x\\..\\..\\..\\外面\\模板\"含有路径分隔符或\"..\"，未生成页面", notSaved},
    };
    program_.Type(kItemCountBox, "0");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = Root() / c.name;
        if (c.link.empty() && !c.target.empty()) {
            fs::create_directory_symlink(c.target, folder);
        } else {
            fs::create_directories(folder);
            WriteFile(folder / "模板文件.htm", file);
            WriteFile(folder / "部件.htm", file);
            if (!c.link.empty()) {
                fs::remove(folder / c.link);
                fs::create_symlink(c.target, folder / c.link);
            }
        }
        CallCore(commands::ClearItems, {ControlOf(tag::kListBox, kTemplateList)});
        ListTemplates();
        auto* list = program_.Control<QListWidget>(kTemplateList);
        const bool listed =
            !list->findItems(QString::fromStdString(c.name), Qt::MatchExactly).isEmpty();
        EXPECT_EQ(listed, !c.keywords.empty());
        program_.ClearLog();
        if (listed) {
            program_.ChooseTemplate(QString::fromStdString(c.name));
            WriteText(kKeywordBox, Gbk(c.keywords.c_str()).c_str());
            RunCollection();
        } else {
            // Typed into the name box, as a user could.
            PrepareEditor(Gbk(c.name.c_str()), "H", "", "T", Gbk("手机"));
            WritePage("items");
        }
        EXPECT_EQ(ReadFile(folder / "手机.htm"), c.page);
        const std::vector<std::string> lines = program_.LogLines();
        EXPECT_TRUE(c.logLine.empty() || std::ranges::find(lines, c.logLine) != lines.end());

        PrepareEditor(Gbk(c.name.c_str()), Gbk("H[#关键词#]"), "L", "T", "k");
        program_.Press(kSaveButton);
        EXPECT_EQ(program_.TakeMessages(), std::vector<std::string>{c.saving});
        EXPECT_EQ(Contents(outside), before);
    }
}

}  // namespace
}  // namespace velmora::app
