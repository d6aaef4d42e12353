// The site files of a template folder: which files are pages, the index from
// the built-in default or the folder's index template, the sitemap, and the
// page that bears the index's name.
#include "app/site_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/site_index.h"
#include "app/site_pages.h"
#include "app/sitemap.h"
#include "runtime/heap.h"
#include "runtime/native_path.h"
#include "tests/test_support.h"

namespace velmora::app {
namespace {

namespace fs = std::filesystem;
using velmora::testing::Contents;
using velmora::testing::Gbk;
using velmora::testing::ReadFile;

// 2024-05-01 08:00:00 UTC and an hour later.
constexpr std::time_t kEarlier = 1714550400;
constexpr std::time_t kLater = kEarlier + 3600;

class SiteFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        velmora::testing::SetEnvironment("TZ", "UTC");
#ifdef _WIN32
        _tzset();
#else
        tzset();
#endif
        folder_ = velmora::testing::NewTemporaryFolder("velmora-site-");
        ASSERT_FALSE(folder_.empty());
        blocks_ = LiveBlockCount();
    }
    void TearDown() override {
        EXPECT_EQ(LiveBlockCount(), blocks_) << "blocks leaked";
        fs::remove_all(folder_);
    }

    void Put(const std::string& name, const std::string& bytes, std::time_t modified = kEarlier) {
        const fs::path path = folder_ / velmora::testing::Utf8Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        fs::last_write_time(path, std::chrono::file_clock::from_sys(
                                      std::chrono::system_clock::from_time_t(modified)));
    }

    fs::path folder_;
    long blocks_ = 0;
};

TEST_F(SiteFilesTest, ListsPagesNewestFirstAndNothingElse) {
    for (const char* own : {"模板文件.htm", "效果预览.htm", "索引模板.htm", "index.htm"})
        Put(own, "x", kLater);
    Put("手机.htm", "page");
    Put("b.htm", "page", kLater);
    Put("a.htm", "page", kLater);
    Put(".a.htm.velmora-1-1", "being written");
    Put(".a.htm", "hidden");
    Put("notes.txt", "x");
    Put(".htm", "no keyword");
    Put("\xF0\x9F\x93\xB1.htm", "a name GBK cannot hold");
    fs::create_directory(folder_ / "folder.htm");

    std::vector<SitePage> pages = ListSitePages(folder_);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].fileName, "a.htm");
    EXPECT_EQ(pages[1].fileName, "b.htm");
    EXPECT_EQ(pages[2].fileName, "手机.htm");
    EXPECT_EQ(pages[2].keyword, Gbk("手机"));
    EXPECT_EQ(pages[0].modified, kLater);
    EXPECT_TRUE(ListSitePages(folder_ / "missing").empty());
}

TEST_F(SiteFilesTest, IndexFromTheFoldersTemplateFillsOnePassPerPage) {
    const std::string indexTemplate =
        Gbk("<h>[#生成时间#] [#关键词#]\r\n[#商品循环开始#]<a href=\"[#页面地址#]\">[#关键词#]</a> "
            "[#生成时间#] [#商品标题#]\r\n[#商品循环结束#]</h>");
    const std::vector<SitePage> pages = {
        {"A&B <x>.htm", "A&B <x>", kLater},
        {"手机 壳.htm", Gbk("手机 壳"), kEarlier},
        {"trick.htm", Gbk("[#页面地址#]"), kEarlier},
    };
    EXPECT_EQ(RenderSiteIndex(indexTemplate, pages, kLater + 60),
              Gbk("<h>2024-05-01 09:01 [#关键词#]\r\n"
                  "<a href=\"A%26B%20%3Cx%3E.htm\">A&amp;B &lt;x&gt;</a> 2024-05-01 09:00 "
                  "[#商品标题#]\r\n"
                  "<a href=\"%E6%89%8B%E6%9C%BA%20%E5%A3%B3.htm\">手机 壳</a> 2024-05-01 08:00 "
                  "[#商品标题#]\r\n"
                  "<a href=\"trick.htm\">[#页面地址#]</a> 2024-05-01 08:00 [#商品标题#]\r\n"
                  "</h><!-- velmora site index -->\r\n"));
}

TEST_F(SiteFilesTest, DefaultIndexListsEveryPageInTheStartersStyle) {
    const std::string index =
        RenderSiteIndex("", {{"b.htm", "b", kLater}, {"a.htm", "a", kEarlier}}, kLater);
    EXPECT_TRUE(IsSiteIndex(index));
    EXPECT_NE(index.find("charset=gbk"), std::string::npos);
    EXPECT_NE(index.find("#1b1712"), std::string::npos) << "the starter template's colours";
    const size_t b = index.find("<li><a href=\"b.htm\">b</a><span>2024-05-01 09:00</span></li>");
    const size_t a = index.find("<li><a href=\"a.htm\">a</a><span>2024-05-01 08:00</span></li>");
    ASSERT_NE(b, std::string::npos) << index;
    EXPECT_LT(b, a);
    EXPECT_EQ(index.find("[#"), std::string::npos) << "every placeholder filled";
    EXPECT_FALSE(IsSiteIndex(Gbk("<html>关键词 index 的页面</html>")));
}

TEST_F(SiteFilesTest, SitemapEncodesNamesAndEscapesForXml) {
    const std::string sitemap =
        RenderSitemap("https://shop.example/a&b",
                      {{"index.htm", kLater}, {"a b&c.htm", kEarlier}, {"手机.htm", kEarlier}});
    EXPECT_EQ(sitemap,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
              "  <url>\n    <loc>https://shop.example/a&amp;b/index.htm</loc>\n"
              "    <lastmod>2024-05-01T09:00:00+00:00</lastmod>\n  </url>\n"
              "  <url>\n    <loc>https://shop.example/a&amp;b/a%20b%26c.htm</loc>\n"
              "    <lastmod>2024-05-01T08:00:00+00:00</lastmod>\n  </url>\n"
              "  <url>\n    <loc>https://shop.example/a&amp;b/%E6%89%8B%E6%9C%BA.htm</loc>\n"
              "    <lastmod>2024-05-01T08:00:00+00:00</lastmod>\n  </url>\n"
              "</urlset>\n");
    EXPECT_TRUE(IsSiteBaseUrl("http://shop.example"));
    for (const char* bad : {"", "ftp://x", "https://", "https:///x", "http://a b"})
        EXPECT_FALSE(IsSiteBaseUrl(bad)) << bad;
}

TEST_F(SiteFilesTest, WritesIndexAndSitemapAndKeepsAPageNamedIndex) {
    Put("模板文件.htm", "template");
    Put("手机.htm", "page");
    SiteFilesReport report = WriteSiteFiles(folder_.string().c_str(), "", kLater);
    EXPECT_TRUE(report.indexWritten);
    EXPECT_FALSE(report.sitemapWritten) << "no base address, no sitemap";
    EXPECT_TRUE(report.problems.empty());
    EXPECT_NE(ReadFile(folder_ / "index.htm").find("%E6%89%8B%E6%9C%BA.htm"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder_ / "sitemap.xml"));

    // Written again over its own earlier self, from the folder's template now.
    Put("索引模板.htm", Gbk("[#商品循环开始#][#关键词#];[#商品循环结束#]"));
    report = WriteSiteFiles(folder_.string().c_str(), "http://shop.example", kLater);
    EXPECT_TRUE(report.indexWritten && report.sitemapWritten);
    EXPECT_EQ(ReadFile(folder_ / "index.htm"), Gbk("手机;<!-- velmora site index -->\r\n"));

    // The keyword "index" wrote its page over the index: the page stays.
    Put("index.htm", "the page of the keyword index");
    report = WriteSiteFiles(folder_.string().c_str(), "http://shop.example", kLater);
    EXPECT_FALSE(report.indexWritten);
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_NE(report.problems[0].find("index.htm"), std::string::npos);
    EXPECT_EQ(ReadFile(folder_ / "index.htm"), "the page of the keyword index");
    EXPECT_NE(ReadFile(folder_ / "sitemap.xml").find("http://shop.example/index.htm"),
              std::string::npos);

    // Without a base address the old sitemap would name an earlier site's pages.
    report = WriteSiteFiles(folder_.string().c_str(), "", kLater);
    EXPECT_FALSE(fs::exists(folder_ / "sitemap.xml"));

    report = WriteSiteFiles((folder_ / "missing").string().c_str(), "", kLater);
    EXPECT_FALSE(report.indexWritten);
    EXPECT_EQ(report.problems,
              std::vector<std::string>{Gbk("索引页写入失败：") +
                                       NativePathOf(folder_ / "missing" / "index.htm") + Gbk("：") +
                                       "No such file or directory"});
}

TEST_F(SiteFilesTest, HostileTemplateFoldersKeepSiteFilesInside) {
#ifdef _WIN32
    GTEST_SKIP() << "built of symbolic links, which Windows grants only by a privilege";
#endif
    const fs::path root = folder_ / "单页生成" / "模板";
    const fs::path outside = folder_ / "外面";
    fs::create_directories(outside / "站");
    std::ofstream(outside / "profile") << "mine";
    std::ofstream(outside / "velmora.conf") << "app_secret = s3cr3t";
    const std::map<fs::path, std::string> before = Contents(outside);
    auto withPage = [](const fs::path& f) {
        fs::create_directories(f / "部件");
        std::ofstream(f / "手机.htm") << "page";
    };
    struct Case {
        std::string name;
        std::function<void(const fs::path&)> arrange;
        bool index, sitemap;
    } cases[] = {
        {"链接站点文件",
         [&](const fs::path& f) {
             withPage(f);
             fs::create_symlink(outside / "profile", f / "sitemap.xml");
             fs::create_symlink(outside / "missing", f / "index.htm");
         },
         true, true},
        {"外链索引模板",
         [&](const fs::path& f) {
             withPage(f);
             fs::create_symlink(outside / "velmora.conf", f / "索引模板.htm");
         },
         false, true},
        {"内链索引模板",
         [&](const fs::path& f) {
             withPage(f);
             std::ofstream(f / "部件" / "索引.htm")
                 << Gbk("[#商品循环开始#][#关键词#];[#商品循环结束#]");
             fs::create_symlink("部件/索引.htm", f / "索引模板.htm");
         },
         true, true},
        {"外链文件夹", [&](const fs::path& f) { fs::create_directory_symlink(outside / "站", f); },
         false, false},
        {"内链文件夹",
         [&](const fs::path& f) {
             withPage(root / "内链目标");
             fs::create_directory_symlink("内链目标", f);
         },
         true, true},
        {"x\\..\\..\\..\\外面\\站", withPage, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange(root / c.name);
        SiteFilesReport report = WriteTemplateSite(
            folder_.string().c_str(), Gbk(c.name.c_str()).c_str(), "http://shop.example", kLater);
        EXPECT_EQ(report.indexWritten, c.index);
        EXPECT_EQ(report.sitemapWritten, c.sitemap);
        EXPECT_EQ(report.problems.size(), c.index ? 0u : 1u);
        EXPECT_EQ(Contents(outside), before);
    }
}

}  // namespace
}  // namespace velmora::app
