// Drives the simulator over real sockets the way the collector will: libcurl
// through a proxy setting, absolute-form targets, body-less posts, raw GBK in
// the address. The collector's cutting rules are written out here on their own
// and must find in the served pages exactly the items the catalogue holds.
#include <arpa/inet.h>
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <thread>

#include "tests/running_simulator.h"
#include "tests/test_support.h"
#include "tools/marketsim/catalogue.h"
#include "tools/marketsim/pages.h"
#include "tools/marketsim/simulator_server.h"
#include "tools/marketsim/site_hosts.h"

namespace velmora::marketsim {
namespace {

using velmora::testing::Gbk;
using velmora::testing::RunningSimulator;

// --- the collector's text rules (1-based positions, GBK-aware search) ---

int FindText(const std::string& text, const std::string& sought, int start) {
    int n = static_cast<int>(text.size());
    int s = std::max(start - 1, 0);
    if (s >= n) return -1;
    if (sought.empty()) return 1;
    while (n - s >= static_cast<int>(sought.size())) {
        if (text.compare(s, sought.size(), sought) == 0) return s + 1;
        if (static_cast<unsigned char>(text[s]) & 0x80) {
            if (s + 1 >= n) return -1;
            s += 2;
        } else {
            s += 1;
        }
    }
    return -1;
}

std::string TextBetween(const std::string& source, const std::string& start, const std::string& end,
                        int position) {
    int n = static_cast<int>(source.size());
    int q = FindText(source, start, position) + static_cast<int>(start.size());
    std::string rest = q < 1 || q > n ? std::string() : source.substr(q - 1);
    int e = FindText(rest, end, 0);
    return e <= 1 ? std::string() : rest.substr(0, e - 1);
}

std::string RemoveAll(std::string text, const std::string& what) {
    for (size_t at; (at = text.find(what)) != std::string::npos;) text.erase(at, what.size());
    return text;
}

struct Row {
    std::string id, title, seller;
};

std::vector<Row> ParsePromotionPage(const std::string& page) {
    std::vector<Row> rows;
    for (int p = FindText(page, "list-info", 10); p != -1; p = FindText(page, "list-info", p + 9)) {
        std::string block = TextBetween(page, "onerror", "J_WangWang", p);
        std::string title = TextBetween(block, "_blank\">", "</a>", 0);
        rows.push_back({TextBetween(block, "id=", "\"", 0),
                        RemoveAll(RemoveAll(title, "<span>"), "</span>"),
                        TextBetween(block, Gbk("掌柜："), "<span", 0)});
    }
    return rows;
}

struct Found {
    std::string pictureUrl, itemUrl, price, sales;
};

Found CutMarketplaceItem(const std::string& page, const std::string& id) {
    std::string block = TextBetween(page, "nid=\"" + id, Gbk("如实描述"), 0);
    return {TextBetween(block, "data-ks-lazyload=\"", "_210x210", 0),
            TextBetween(block, "traceNum=\"2\" href=\"", "\" class", 0),
            TextBetween(block, Gbk("price\">￥"), "<em>", 0),
            TextBetween(block, Gbk("最近30天 "), Gbk("人付款"), 0)};
}

std::string PromotionAddress(const std::string& sortValue, const std::string& keyword) {
    return std::string("http://") + sites::kPromotionSearchHost +
           "/union/spread/selfservice/merchandisePromotion.htm?cat=&discountId=&pidvid=&_fmu.a."
           "_0.t=1&_fmu.a._0.pe=40&_fmu.a._0.l=&_fmu.a._0.so=" +
           sortValue + "&c=&rewrite=&cat=&mid=&searchType=0&q=" + keyword +
           "&_fmu.a._0.u=&_fmu.a._0.s=&_fmu.a._0.sta=&_fmu.a._0.end=&_fmu.a._0.st=&_fmu.a._0.en=&_"
           "fmu.a._0.star=0&loc=";
}

// --- a running simulator and a client with a cookie store ---

class LoopbackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GT(sim_.Port(), 0);
        curl_ = curl_easy_init();
        curl_easy_setopt(curl_, CURLOPT_COOKIEFILE, "");
        curl_easy_setopt(curl_, CURLOPT_TIMEOUT, 4L);
        curl_easy_setopt(curl_, CURLOPT_NOPROXY, "");
        curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, &LoopbackTest::Collect);
    }

    void TearDown() override { curl_easy_cleanup(curl_); }

    static size_t Collect(char* data, size_t size, size_t count, void* out) {
        static_cast<std::string*>(out)->append(data, size * count);
        return size * count;
    }

    // One request through the proxy setting; a body-less request sends no
    // length header, as the collector's HTTP object does.
    std::string Fetch(const std::string& url, const char* method, const char* form = nullptr,
                      const char* hostHeader = nullptr) {
        std::string body;
        std::string proxy = sim_.ProxyAddress();
        curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl_, CURLOPT_PROXY, hostHeader ? "" : proxy.c_str());
        curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &body);
        curl_easy_setopt(curl_, CURLOPT_POSTFIELDS, form);
        curl_easy_setopt(curl_, CURLOPT_HTTPGET, form ? 0L : 1L);
        curl_easy_setopt(curl_, CURLOPT_CUSTOMREQUEST, method);
        std::string host = hostHeader ? std::string("Host: ") + hostHeader : std::string();
        curl_slist* headers = hostHeader ? curl_slist_append(nullptr, host.c_str()) : nullptr;
        curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers);
        CURLcode rc = curl_easy_perform(curl_);
        curl_slist_free_all(headers);
        curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, nullptr);
        EXPECT_EQ(rc, CURLE_OK) << url << ": " << curl_easy_strerror(rc);
        return body;
    }

    std::string MemberPage(const char* method) {
        return Fetch(std::string("http://") + sites::kMemberCentreHost + "/membersvc/index.htm",
                     method);
    }

    void LogIn() {
        std::string form = std::string("logname=") + kDemoAccount + "&password=" + kDemoPassword;
        Fetch(std::string("http://") + sites::kMemberCentreHost + "/membersvc/login.htm", "POST",
              form.c_str());
    }

    RunningSimulator sim_;
    CURL* curl_ = nullptr;
};

TEST_F(LoopbackTest, LowerCasePostSeesTheLogin) {
    const std::string logout = Gbk("退出");
    EXPECT_EQ(MemberPage("post").find(logout), std::string::npos);
    LogIn();
    // A stalled body-less post would run into the client's time-out instead.
    EXPECT_NE(MemberPage("post").find(logout), std::string::npos);
    EXPECT_NE(MemberPage("GET").find(logout), std::string::npos);
}

TEST_F(LoopbackTest, CollectorCutsFindTheCatalogueItems) {
    LogIn();
    struct Case {
        const char* sortValue;
        SortKey key;
    };
    for (const char* utf8 : {"手机", "iphone 15"}) {
        std::string keyword = Gbk(utf8);
        // The collector sends the keyword's bytes as they are; a space has to
        // travel escaped, or the request line would break.
        std::string onWire = keyword;
        for (size_t at; (at = onWire.find(' ')) != std::string::npos;) onWire.replace(at, 1, "%20");
        for (Case c :
             {Case{"_totalnum", SortKey::kSales}, Case{"_commrate", SortKey::kCommissionRate},
              Case{"_totalfee", SortKey::kCommissionPaid}}) {
            std::vector<Row> rows =
                ParsePromotionPage(Fetch(PromotionAddress(c.sortValue, onWire), "POST"));
            std::vector<CatalogueItem> expected = PromotionItems(keyword, c.key, 40);
            ASSERT_EQ(rows.size(), expected.size()) << utf8 << " " << c.sortValue;
            for (size_t i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(rows[i].id, expected[i].id);
                EXPECT_EQ(rows[i].title, expected[i].title);
                EXPECT_EQ(rows[i].seller, expected[i].seller);
            }
        }

        // Each listed item, looked up on the marketplace by its title.
        std::vector<Row> rows =
            ParsePromotionPage(Fetch(PromotionAddress("_totalnum", onWire), "POST"));
        std::vector<CatalogueItem> expected = PromotionItems(keyword, SortKey::kSales, 40);
        for (size_t i = 0; i < 6; ++i) {
            std::string title = rows[i].title;
            for (size_t at; (at = title.find(' ')) != std::string::npos;)
                title.replace(at, 1, "%20");
            std::string page = Fetch(
                std::string("http://") + sites::kMarketplaceHost + "/search?q=" + title, "POST");
            Found f = CutMarketplaceItem(page, rows[i].id);
            EXPECT_EQ(f.pictureUrl, PictureUrl(expected[i].id));
            EXPECT_EQ(f.itemUrl, ItemUrl(expected[i].id));
            EXPECT_EQ(f.price, FormatCents(expected[i].priceCents));
            EXPECT_EQ(f.sales, std::to_string(expected[i].sales30));
        }
    }
}

TEST_F(LoopbackTest, AbsentSessionGivesAPageWithoutItems) {
    EXPECT_TRUE(
        ParsePromotionPage(Fetch(PromotionAddress("_totalnum", Gbk("手机")), "POST")).empty());
}

TEST_F(LoopbackTest, OriginFormRoutesByHostHeader) {
    std::string url = "http://127.0.0.1:" + std::to_string(sim_.Port()) + "/shuoming.html";
    std::string page = Fetch(url, "GET", nullptr, sites::kMakerHost);
    EXPECT_NE(page.find(Gbk("[#商品循环开始#]")), std::string::npos);
}

TEST_F(LoopbackTest, LogsOneLineForEachRequest) {
    MemberPage("post");
    Fetch(std::string("http://") + sites::kMarketplaceHost + "/search?q=" + Gbk("手机"), "GET");
    Fetch(std::string("http://") + sites::kMarketplaceHost + "/nothing", "GET");
    std::vector<std::string> log = sim_.Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].rfind("POST http://www.alimama.com/membersvc/index.htm 200 ", 0), 0u)
        << log[0];
    // The keyword shows as readable text, not as GBK bytes.
    EXPECT_EQ(log[1].rfind("GET http://s.taobao.com/search?q=手机 200 ", 0), 0u) << log[1];
    EXPECT_EQ(log[2].rfind("GET http://s.taobao.com/nothing 404 ", 0), 0u) << log[2];
}

TEST_F(LoopbackTest, IdleBrowserConnectionsDoNotStallOthers) {
    // A browser behind a proxy keeps up to 32 connections open and idle.
    std::vector<int> idle;
    for (int i = 0; i < 32; ++i) {
        int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(sim_.Port()));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        idle.push_back(fd);
    }
    // Well inside the time an idle connection may hold a worker.
    curl_easy_setopt(curl_, CURLOPT_TIMEOUT_MS, 2000L);
    EXPECT_FALSE(MemberPage("GET").empty());
    for (int fd : idle) close(fd);
}

TEST(RequestLogLineTest, KeepsOneLineAndAddsTheHost) {
    EXPECT_EQ(RequestLogLine("GET", "help.velmora.local", "/a\x1b[2Jb", 200, 5),
              "GET http://help.velmora.local/a?[2Jb 200 5");
    EXPECT_EQ(RequestLogLine("POST", "www.alimama.com", "/m", 200, 5,
                             CookieNames("sim_session=secret; seen=1")),
              "POST http://www.alimama.com/m 200 5 cookies: sim_session seen")
        << "names only: a log never shows a session's value";
}

}  // namespace
}  // namespace velmora::marketsim
