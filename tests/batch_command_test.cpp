// The batch command's parts that need no program: its command line, its
// keyword files, its progress line and what it reads from a keyword's log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/batch_options.h"
#include "app/batch_progress.h"
#include "app/batch_summary.h"
#include "app/keyword_file.h"
#include "app/run_log.h"
#include "app/visible_text.h"
#include "tests/test_support.h"

namespace velmora::app {
namespace {

using velmora::testing::Gbk;

TEST(BatchCommandLine, ReadsOptionsAndRefusesBadOnes) {
    struct Case {
        std::vector<std::string> arguments;
        BatchAction action;
        std::string file, templateName, source, baseUrl;
        int count, sort;
        bool json;
    } cases[] = {
        {{"kw.txt"}, BatchAction::kRun, "kw.txt", "", "", "", 20, 0, false},
        {{"--template", "高贵大气", "--count=5", "--sort", "2", "-", "--json"},
         BatchAction::kRun,
         "-",
         "高贵大气",
         "",
         "",
         5,
         2,
         true},
        {{"--source", "api", "--base-url=https://shop.example/", "--", "--odd"},
         BatchAction::kRun,
         "--odd",
         "",
         "api",
         "https://shop.example/",
         20,
         0,
         false},
        {{"--help", "--bogus"}, BatchAction::kRefuse, "", "", "", "", 20, 0, false},
        {{"kw.txt", "--version"}, BatchAction::kVersion, "", "", "", "", 20, 0, false},
        {{"--configure"}, BatchAction::kConfigure, "", "", "", "", 20, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        BatchCommand command = ParseBatchCommand(c.arguments);
        EXPECT_EQ(command.action, c.action) << command.error;
        if (c.action != BatchAction::kRun) continue;
        EXPECT_EQ(command.options.keywordFile, c.file);
        EXPECT_EQ(command.options.templateName, c.templateName);
        EXPECT_EQ(command.options.source, c.source);
        EXPECT_EQ(command.options.baseUrl, c.baseUrl);
        EXPECT_EQ(command.options.count, c.count);
        EXPECT_EQ(command.options.sort, c.sort);
        EXPECT_EQ(command.options.json, c.json);
    }

    const std::vector<std::vector<std::string>> refused = {
        {},
        {"a.txt", "b.txt"},
        {"--count", "0", "a"},
        {"--count", "12x", "a"},
        {"--count"},
        {"--sort", "3", "a"},
        {"--source", "web", "a"},
        {"--base-url", "shop.example", "a"},
        {"--base-url", "http://", "a"},
        {"--template=", "a"},
        {"--json=yes", "a"},
        {"--configure", "a"},
    };
    for (const auto& arguments : refused) {
        BatchCommand command = ParseBatchCommand(arguments);
        EXPECT_EQ(command.action, BatchAction::kRefuse)
            << (arguments.empty() ? "(nothing)" : arguments.front());
        EXPECT_FALSE(command.error.empty());
    }
}

TEST(BatchKeywordFile, TakesUtf8OrElseGbk) {
    struct Case {
        std::string name, bytes;
        std::vector<std::string> keywords;
        bool fromGbk;
    } cases[] = {
        {"UTF-8 with CR LF and blanks", "手机\r\n\r\n  连衣裙 \r\n\t\n", {"手机", "连衣裙"}, false},
        {"byte-order mark", "\xEF\xBB\xBF手机\n", {"手机"}, false},
        {"GBK", Gbk("手机\r\n连衣裙"), {"手机", "连衣裙"}, true},
        {"ASCII", "iphone 15\nA&B", {"iphone 15", "A&B"}, false},
        {"empty", "", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<KeywordList> list = DecodeKeywords(c.bytes);
        ASSERT_TRUE(list);
        EXPECT_EQ(list->keywords, c.keywords);
        EXPECT_EQ(list->fromGbk, c.fromGbk);
    }
    // A lone lead byte at the end is neither UTF-8 nor GBK.
    EXPECT_FALSE(DecodeKeywords("abc\xC4"));
}

TEST(BatchKeywordFile, Utf8CheckRefusesWhatDecodersMustNotAccept) {
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xE6\x89", "\x80", "\xFF"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    for (const char* good : {"", "ascii", "手机", "\xF0\x9F\x93\xB1", "\xEF\xBF\xBF"})
        EXPECT_TRUE(IsValidUtf8(good)) << good;
}

TEST(BatchProgressLine, CountsAndEstimatesTheTimeLeft) {
    using std::chrono::milliseconds;
    EXPECT_EQ(ProgressLine(1, 10, "手机", "collecting", 0, milliseconds(0)),
              "keyword 1/10 手机 · collecting · time left unknown");
    EXPECT_EQ(ProgressLine(3, 10, "a", "20 items", 2, milliseconds(20000)),
              "keyword 3/10 a · 20 items · 1:20 left");
    EXPECT_EQ(ProgressLine(2, 1000, "b", "failed", 1, milliseconds(9000)),
              "keyword 2/1000 b · failed · 2:29:51 left");
    EXPECT_EQ(ProgressLine(10, 10, "c", "20 items", 10, milliseconds(5000)),
              "keyword 10/10 c · 20 items · 0:00 left");
}

TEST(BatchProgressLine, ControlCharactersFromOutsideBecomeMarks) {
    EXPECT_EQ(VisibleText("x\r\nforged\x7f\tkept", TextEncoding::kUtf8), "x??forged?\tkept");
    EXPECT_EQ(VisibleText("\u009b31m\u00a0", TextEncoding::kUtf8), "?31m\u00a0") << "CSI goes";
    EXPECT_EQ(VisibleText("\xc2\x9b\x1b", TextEncoding::kGbk), "\xc2\x9b?") << "a GBK character";
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    BatchProgress(out, false, 1).End(1, "k\x1b[2J", 7, "cause\r\nforged", false);
    std::rewind(out);
    char buffer[256];
    const size_t size = std::fread(buffer, 1, sizeof buffer, out);
    std::fclose(out);
    EXPECT_EQ(std::string(buffer, size),
              "failed: k?[2J: cause??forged\nkeyword 1/1 k?[2J · failed · 0:00 left\n")
        << "a failed keyword's items are not counted";
}

TEST(BatchRunLog, FindsTheCause) {
    const std::string failed =
        Gbk("搜寻完毕\r\n开始搜寻单个宝贝信息。。。。\r\n添加失败，请按正确方法操作\r\n"
            "生成关键词\"a/b.htm\"完毕");
    EXPECT_EQ(FailureCause(failed), Gbk("添加失败，请按正确方法操作"));
    EXPECT_EQ(FailureCause(""), "");
}

TEST(BatchSummaryJson, ListsFailuresWithCausesTimesAndFiles) {
    BatchSummary summary;
    summary.templateName = "高贵大气";
    summary.source = "classic";
    summary.folder = "/d/模板/高贵大气";
    summary.keywords = {
        {"手机", true, 20, "", "/d/模板/高贵大气/手机.htm", std::chrono::milliseconds(900)},
        {"a/b", false, 3, "关键词\"a/b\"含有路径分隔符", "", std::chrono::milliseconds(100)}};
    summary.time = std::chrono::milliseconds(1000);
    summary.sitemapWritten = true;
    const std::string json = SummaryJson(summary);
    for (const char* part :
         {"\"pages\": 1", "\"keywords\": 2", "\"items\": 20",
          "\"cause\": \"关键词\\\"a/b\\\"含有路径分隔符\"", "\"total_ms\": 1000",
          "\"per_keyword_ms\": 500", "\"index\": false", "\"file\": \"/d/模板/高贵大气/手机.htm\"",
          "\"folder\": \"/d/模板/高贵大气\"", "\"index_file\": null",
          "\"sitemap_file\": \"/d/模板/高贵大气/sitemap.xml\""})
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    EXPECT_EQ(ClosingLine(summary),
              "1 page written (20 items), 1 failed, in /d/模板/高贵大气; index.htm NOT written, "
              "sitemap.xml written");
    EXPECT_EQ(ExitStatus(summary), kBatchSomeFailed);
    summary.keywords.pop_back();
    EXPECT_EQ(ExitStatus(summary), kBatchAllWritten);
    summary.siteProblems = {"未生成索引页：index.htm 是关键词“index”的页面"};
    EXPECT_EQ(ExitStatus(summary), kBatchSomeFailed) << "no index is a failure";
}

}  // namespace
}  // namespace velmora::app
