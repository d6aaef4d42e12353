// The collector's requests against the simulator over loopback, reached the
// way the program reaches the real sites: through the proxy setting.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "app/fetch_page.h"
#include "app/marketplace_page.h"
#include "app/promotion_page.h"
#include "app/template_text.h"
#include "net/cookie_store.h"
#include "net/http_client.h"
#include "net/page_reader.h"
#include "net/redirect_rule.h"
#include "runtime/gbk.h"
#include "runtime/heap.h"
#include "tests/running_simulator.h"
#include "tests/test_support.h"
#include "tools/marketsim/catalogue.h"
#include "tools/marketsim/hostile_site.h"
#include "tools/marketsim/pages.h"
#include "tools/marketsim/simulator_server.h"

namespace velmora::app {
namespace {

using velmora::testing::Gbk;
using velmora::testing::RunningSimulator;
namespace sim = velmora::marketsim;

// The HTTP object puts bytes above 0x7F on the wire percent-encoded.
std::string OnTheWire(std::string_view address) {
    static const char hex[] = "0123456789ABCDEF";
    std::string wire;
    for (unsigned char c : address) {
        if (c < 0x80) {
            wire += char(c);
        } else {
            wire += '%';
            wire += hex[c >> 4];
            wire += hex[c & 15];
        }
    }
    return wire;
}

class CollectorLoopbackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GT(sim_.Port(), 0);
        setenv("http_proxy", sim_.ProxyAddress().c_str(), 1);
        unsetenv("no_proxy");
        unsetenv("NO_PROXY");
        net::Cookies().Clear();
        before_ = LiveBlockCount();
    }

    void TearDown() override {
        EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked";
        net::Cookies().Clear();
        unsetenv("http_proxy");
    }

    void LogIn() {
        Text answer = FetchPage("http://www.alimama.com/membersvc/login.htm", "POST",
                                "logname=velmora_demo&password=demo2024");
        ASSERT_NE(answer.view().find(Gbk("退出")), std::string_view::npos) << "logged in";
    }

    // The simulator logs a request once its answer is out, so the line may
    // come a moment after the answer did.
    bool Logged(const std::string& prefix) {
        for (int attempt = 0; attempt < 200; ++attempt) {
            for (const std::string& line : sim_.Log())
                if (line.rfind(prefix, 0) == 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // The simulator logs a request before it answers, so this count is exact.
    size_t Requests(std::string_view path) {
        const std::string logged = std::string(path) + " ";
        size_t count = 0;
        for (const std::string& line : sim_.Log()) count += line.find(logged) != std::string::npos;
        return count;
    }

    RunningSimulator sim_;
    long before_ = 0;
};

TEST_F(CollectorLoopbackTest, SearchesInEachSortOrderAndCutsEveryItem) {
    LogIn();
    const std::string keyword = Gbk("手机");
    const struct {
        int index;
        sim::SortKey key;
        const char* value;
    } orders[] = {{0, sim::SortKey::kSales, "_totalnum"},
                  {1, sim::SortKey::kCommissionRate, "_commrate"},
                  {2, sim::SortKey::kCommissionPaid, "_totalfee"}};
    for (const auto& order : orders) {
        SCOPED_TRACE(order.value);
        std::optional<Text> page = FetchPromotionPage(keyword.c_str(), order.index);
        ASSERT_TRUE(page.has_value());
        // The request as the simulator saw it: a POST of the address, byte for byte.
        std::optional<Text> address = PromotionSearchAddress(keyword.c_str(), order.index);
        EXPECT_TRUE(Logged("POST " + OnTheWire(address->view()) + " 200 "));
        EXPECT_NE(OnTheWire(address->view()).find("&q=%CA%D6%BB%FA&_fmu.a._0.u="),
                  std::string::npos);

        std::vector<sim::CatalogueItem> expected = sim::PromotionItems(keyword, order.key, 40);
        std::vector<int> anchors = FindItemAnchors(page->c_str());
        ASSERT_EQ(anchors.size(), expected.size());
        for (size_t i = 0; i < anchors.size(); ++i) {
            PromotionItem item = CutPromotionItem(page->c_str(), anchors[i]);
            EXPECT_EQ(item.itemId.view(), expected[i].id);
            EXPECT_EQ(item.title.view(), expected[i].title);
            EXPECT_EQ(item.seller.view(), expected[i].seller);
        }
    }
}

TEST_F(CollectorLoopbackTest, WithoutLoginTheResultHoldsNoItems) {
    std::optional<Text> page = FetchPromotionPage(Gbk("手机").c_str(), 0);
    ASSERT_TRUE(page.has_value());
    EXPECT_FALSE(page->empty());
    EXPECT_TRUE(FindItemAnchors(page->c_str()).empty());
}

TEST_F(CollectorLoopbackTest, AnUnknownSortOrderSendsNothing) {
    LogIn();
    EXPECT_FALSE(FetchPromotionPage("x", 3).has_value());
    EXPECT_FALSE(FetchPromotionPage("x", -1).has_value());
    // A request made after them is seen; theirs never are.
    ASSERT_TRUE(FetchPromotionPage("y", 0).has_value());
    std::optional<Text> after = PromotionSearchAddress("y", 0);
    ASSERT_TRUE(Logged("POST " + std::string(after->view()) + " 200 "));
    for (const std::string& line : sim_.Log())
        EXPECT_EQ(line.find("&q=x&"), std::string::npos) << line;
}

TEST_F(CollectorLoopbackTest, EveryListedItemIsFoundOnTheMarketplace) {
    const std::string keyword = Gbk("连衣裙");
    std::vector<sim::CatalogueItem> listed = sim::PromotionItems(keyword, sim::SortKey::kSales, 40);
    ASSERT_GE(listed.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(listed[i].id);
        Text address = MarketplaceSearchAddress(listed[i].title.c_str());
        Text page = FetchPage(address.c_str(), "POST");
        MarketplaceFields fields = CutMarketplaceItem(page.c_str(), listed[i].id.c_str());
        EXPECT_EQ(fields.pictureUrl.view(), sim::PictureUrl(listed[i].id));
        EXPECT_EQ(fields.itemUrl.view(), sim::ItemUrl(listed[i].id));
        EXPECT_EQ(fields.price.view(), sim::FormatCents(listed[i].priceCents));
        EXPECT_EQ(fields.sales.view(), std::to_string(listed[i].sales30));
    }
}

TEST_F(CollectorLoopbackTest, TemplateFileIsReadByItsAddress) {
    namespace fs = std::filesystem;
    fs::path root = fs::temp_directory_path() / ("velmora_tpl_" + std::to_string(getpid()));
    fs::path folder = root / GbkToUtf8(Gbk("单页生成/模板/高贵大气")).value();
    fs::create_directories(folder);
    const std::string text = Gbk("<h>[#商品循环开始#]<li/>[#商品循环结束#]</h>");
    std::ofstream(folder / GbkToUtf8(Gbk("模板文件.htm")).value(), std::ios::binary) << text;

    std::string directory = Utf8ToGbk(root.string()).value();
    Text address = TemplateFileAddress(directory.c_str(), Gbk("高贵大气").c_str());
    Text read = FetchPage(address.c_str(), "POST");
    EXPECT_EQ(read.view(), text);
    TemplateParts parts = SplitTemplate(read.c_str());
    EXPECT_EQ(parts.head.view(), "<h>");
    EXPECT_EQ(parts.loop.view(), "<li/>");
    EXPECT_EQ(parts.tail.view(), "</h>");

    Text missing = TemplateFileAddress(directory.c_str(), Gbk("不存在").c_str());
    EXPECT_TRUE(FetchPage(missing.c_str(), "POST").empty());
    fs::remove_all(root);
}

// Each hostile answer ends its request like any other failure, for its own
// reason, and leaves nothing behind; the next ordinary request still works.
TEST_F(CollectorLoopbackTest, HostileAnswersEndAsFailuresAndLeaveNothing) {
    const struct {
        const char* path;
        bool refused;  // by a rule of ours rather than the network
    } cases[] = {{sim::kToLocalFilePath, true},
                 {sim::kToOtherSchemePath, true},
                 {sim::kSelfRedirectPath, true},
                 {sim::kEndlessPath, true},
                 {sim::kSilentPath, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        // The endless body takes its time to pass the cap; the rest must end
        // soon, the silent server by running out of time.
        net::SetRequestLimits(c.path == sim::kEndlessPath
                                  ? net::RequestLimits{}
                                  : net::RequestLimits{std::chrono::milliseconds(2000),
                                                       std::chrono::milliseconds(500)});
        const std::string address = std::string("http://") + sim::kHostileHost + c.path;
        net::HttpRequest request;
        request.url = address;
        net::HttpResponse response = net::PerformRequest(request);
        EXPECT_FALSE(response.completed);
        EXPECT_EQ(response.refused, c.refused);
        EXPECT_TRUE(response.body.empty());

        EXPECT_TRUE(FetchPage(address.c_str(), "POST").empty());
        ValueRecord arg = MakeTextValue(address.c_str()), read{};
        net::ReadWebPage(&read, 1, &arg);
        EXPECT_EQ(read.Pointer(), nullptr) << "the page reader keeps nothing either";
        Free(read.Pointer());
    }
    net::SetRequestLimits({});
    // Ten redirects followed, the eleventh refused: eleven requests each time.
    EXPECT_EQ(Requests(sim::kSelfRedirectPath), 3u * 11u);

    for (const char* path : {sim::kSuffixCookiePath, sim::kSecureCookiePath}) {
        const std::string cookiePage = std::string("http://") + sim::kHostileHost + path;
        EXPECT_FALSE(FetchPage(cookiePage.c_str(), "GET").empty());
    }
    EXPECT_TRUE(net::Cookies().All().empty())
        << "no cookie for the public suffix com, no Secure one over http";
    EXPECT_EQ(net::Cookies().HeaderFor("http://www.alimama.com/"), "");
    LogIn();
}

// One answer's cookies are one change, so one write of the jar; past the
// browsers' count the first of them go.
TEST_F(CollectorLoopbackTest, AFloodOfCookiesIsOneChangeKeptToTheBrowsersCount) {
    int changes = 0;
    int listener = net::Cookies().AddChangesListener([&](const net::CookieChanges&) { ++changes; });
    const std::string flood = std::string("http://") + sim::kHostileHost + sim::kCookieFloodPath;
    EXPECT_FALSE(FetchPage(flood.c_str(), "GET").empty());
    net::Cookies().RemoveListener(listener);
    EXPECT_EQ(changes, 1);
    std::vector<net::Cookie> kept = net::Cookies().All();
    ASSERT_EQ(kept.size(), net::kCookiesPerSite);
    EXPECT_EQ(kept[0].name, "flood" + std::to_string(sim::kFloodCookies - net::kCookiesPerSite));
}

// The simulator speaks plain http only: the rows from https are for the rule.
TEST_F(CollectorLoopbackTest, RedirectsKeepAFormOnItsHostAndNeverGoDownToHttp) {
    auto ask = [](long status, const char* host) {
        return std::string("http://") + sim::kHostileHost + sim::kRedirectPath +
               "?code=" + std::to_string(status) + "&host=" + host;
    };
    const std::string away = std::string("http://") + sim::kElsewhereHost + sim::kReportPath;
    const std::string here = std::string("http://") + sim::kHostileHost + sim::kReportPath;
    const struct {
        std::string from, to;
        long status;
        const char* method;
        bool body;
        std::string then;  // the next hop's method; empty: refused
    } cases[] = {
        {ask(307, sim::kElsewhereHost), away, 307, "POST", true, ""},
        {ask(308, sim::kElsewhereHost), away, 308, "POST", true, ""},
        {ask(307, sim::kElsewhereHost), away, 307, "POST", false, ""},
        {ask(307, sim::kHostileHost), here, 307, "POST", true, "POST"},
        {ask(302, sim::kElsewhereHost), away, 302, "POST", true, "GET"},
        {ask(307, sim::kElsewhereHost), away, 307, "GET", false, "GET"},
        {"https://x.com/a", "http://x.com/b", 302, "GET", false, ""},
        {"https://x.com/a", "http://x.com/b", 307, "POST", true, ""},
        {"https://x.com/a", "http://x.com/b", 303, "POST", true, ""},
        {"http://x.com/a", "https://x.com/b", 307, "POST", true, "POST"},
        {"http://x.com/a", "https://y.com/b", 301, "GET", false, "GET"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from + " " + std::to_string(c.status) + " " + c.method);
        net::RedirectHop hop = net::FollowRedirect(c.from, c.to, c.status, c.method, c.body);
        EXPECT_EQ(hop.follow ? hop.method : "", c.then);
        if (c.from.find(sim::kHostileHost) == std::string::npos) continue;
        net::HttpRequest request;
        request.method = c.method;
        request.url = c.from;
        request.body = "sign=1";
        request.sendBody = c.body;
        EXPECT_EQ(net::PerformRequest(request).refused, c.then.empty());
        EXPECT_TRUE(c.then.empty() || Logged(c.then + " " + c.to + " "));
    }
}

}  // namespace
}  // namespace velmora::app
