#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "tools/marketsim/pages.h"
#include "tools/marketsim/site_hosts.h"
#include "tools/marketsim/sites.h"

namespace velmora::marketsim {
namespace {

using velmora::testing::Gbk;

const char kPromotionPath[] = "/union/spread/selfservice/merchandisePromotion.htm";

class SitesTest : public ::testing::Test {
  protected:
    SiteResponse Ask(const char* method, const char* host, const char* path, std::string query = "",
                     std::string body = "") {
        SiteRequest r;
        r.method = method;
        r.host = host;
        r.path = path;
        r.query = std::move(query);
        r.cookies = cookies_;
        r.body = std::move(body);
        return sites_.Respond(r);
    }

    static std::string Header(const SiteResponse& r, const std::string& name) {
        for (const auto& [n, v] : r.headers) {
            if (n == name) return v;
        }
        return {};
    }

    // Posts the login form and keeps the cookie the way a browser would.
    void LogIn() {
        SiteResponse r = Ask("POST", sites::kMemberCentreHost, "/membersvc/login.htm", "",
                             std::string("logname=") + kDemoAccount + "&password=" + kDemoPassword);
        ASSERT_EQ(r.status, 302);
        std::string cookie = Header(r, "Set-Cookie");
        cookies_ = cookie.substr(0, cookie.find(';'));
    }

    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }

    Sites sites_;
    std::string cookies_;
};

TEST_F(SitesTest, LoginFormLeadsToALoggedInMemberPage) {
    const std::string logout = Gbk("退出");
    SiteResponse before = Ask("GET", sites::kMemberCentreHost, "/membersvc/index.htm");
    EXPECT_EQ(before.status, 200);
    EXPECT_EQ(before.body.find(logout), std::string::npos);
    EXPECT_NE(before.body.find(std::string("value=\"") + kDemoAccount + "\""), std::string::npos);

    LogIn();
    std::string cookie = cookies_;
    EXPECT_TRUE(cookie.starts_with(std::string(kSessionCookie) + "="));
    // The collector checks with a post of the same page.
    for (const char* method : {"GET", "POST"}) {
        SiteResponse after = Ask(method, sites::kMemberCentreHost, "/membersvc/index.htm");
        EXPECT_NE(after.body.find(logout), std::string::npos) << method;
    }

    // Logging out ends the session on the server, whatever the client keeps.
    SiteResponse out = Ask("GET", sites::kMemberCentreHost, "/membersvc/logout.htm");
    EXPECT_EQ(out.status, 302);
    EXPECT_NE(Header(out, "Set-Cookie").find("Max-Age=0"), std::string::npos);
    cookies_ = cookie;
    EXPECT_EQ(Ask("POST", sites::kMemberCentreHost, "/membersvc/index.htm").body.find(logout),
              std::string::npos);
}

TEST_F(SitesTest, SessionCookieReachesThePromotionSearchHost) {
    SiteResponse r = Ask("POST", sites::kMemberCentreHost, "/membersvc/login.htm", "",
                         std::string("logname=") + kDemoAccount + "&password=" + kDemoPassword);
    std::string setCookie = Header(r, "Set-Cookie");
    EXPECT_NE(setCookie.find("Domain=.alimama.com"), std::string::npos);
    EXPECT_NE(setCookie.find("Path=/"), std::string::npos);
}

TEST_F(SitesTest, WrongCredentialsAreRefused) {
    for (const char* body : {"logname=velmora_demo&password=wrong", "logname=x&password=demo2024",
                             "", "password=demo2024"}) {
        SiteResponse r = Ask("POST", sites::kMemberCentreHost, "/membersvc/login.htm", "", body);
        EXPECT_EQ(r.status, 200) << body;
        EXPECT_TRUE(Header(r, "Set-Cookie").empty()) << body;
        EXPECT_NE(r.body.find(Gbk("密码错误")), std::string::npos) << body;
    }
    // A made-up cookie opens nothing.
    cookies_ = std::string(kSessionCookie) + "=0123456789abcdef0123456789abcdef";
    EXPECT_EQ(
        Ask("POST", sites::kPromotionSearchHost, kPromotionPath, "q=a").body.find("list-info"),
        std::string::npos);
}

TEST_F(SitesTest, PromotionSearchNeedsTheSessionAndListsTheKeywordsItems) {
    std::string query = "_fmu.a._0.pe=40&_fmu.a._0.so=_commrate&q=" + Gbk("手机") + "&loc=";
    SiteResponse anonymous = Ask("POST", sites::kPromotionSearchHost, kPromotionPath, query);
    EXPECT_EQ(Count(anonymous.body, "list-info"), 0u);

    LogIn();
    SiteResponse r = Ask("POST", sites::kPromotionSearchHost, kPromotionPath, query);
    std::vector<CatalogueItem> expected = PromotionItems(Gbk("手机"), SortKey::kCommissionRate, 40);
    EXPECT_EQ(Count(r.body, "list-info"), expected.size());
    EXPECT_EQ(Count(r.body, "J_WangWang"), expected.size());
    EXPECT_LT(r.body.find(expected[0].id), r.body.find(expected[1].id));

    std::string small = "_fmu.a._0.pe=3&q=" + Gbk("手机");
    EXPECT_EQ(
        Count(Ask("GET", sites::kPromotionSearchHost, kPromotionPath, small).body, "list-info"),
        3u);
    EXPECT_EQ(
        Count(Ask("GET", sites::kPromotionSearchHost, kPromotionPath, "q=").body, "list-info"), 0u);
}

TEST_F(SitesTest, RequestTextIsEscapedInEveryPage) {
    LogIn();
    std::string hostile = "<script>alert(1)</script>";
    std::string pages[] = {
        Ask("GET", sites::kPromotionSearchHost, kPromotionPath, "q=" + hostile).body,
        Ask("GET", sites::kMarketplaceHost, "/search", "q=" + hostile).body,
        Ask("GET", sites::kMarketplaceHost, "/item.htm", "id=" + hostile).body,
        Ask("GET", "nowhere.example", "/<script>").body,
    };
    for (const std::string& page : pages) {
        EXPECT_EQ(page.find("<script>"), std::string::npos);
        EXPECT_NE(page.find("&lt;script&gt;"), std::string::npos);
    }
}

TEST_F(SitesTest, MarketplaceServesSearchesAndPictures) {
    std::vector<CatalogueItem> items = Catalogue(Gbk("手机"));
    SiteResponse search = Ask("POST", sites::kMarketplaceHost, "/search", "q=" + items[3].title);
    EXPECT_EQ(Count(search.body, "nid=\""), items.size());
    EXPECT_EQ(Count(search.body, "nid=\"" + items[3].id + "\""), 1u);

    SiteResponse picture =
        Ask("GET", sites::kMarketplaceHost, ("/pic/" + items[0].id + ".jpg_210x210.jpg").c_str());
    EXPECT_EQ(picture.contentType, "image/svg+xml");
    EXPECT_TRUE(picture.body.starts_with("<svg"));
    EXPECT_EQ(Ask("GET", sites::kMarketplaceHost, "/pic/blank.gif").contentType, "image/gif");
    for (const char* bad : {"/pic/.jpg", "/pic/123", "/pic/12x.jpg", "/nothing"}) {
        EXPECT_EQ(Ask("GET", sites::kMarketplaceHost, bad).status, 404) << bad;
    }
}

TEST_F(SitesTest, RoutesByHost) {
    EXPECT_EQ(Ask("GET", sites::kMakerHost, "/shuoming.html").status, 200);
    EXPECT_EQ(Ask("GET", sites::kMakerHost, "/").status, 302);
    EXPECT_EQ(Ask("GET", sites::kMemberCentreHost, "/").status, 302);
    // A path of one site asked of another host is unknown there.
    EXPECT_EQ(Ask("GET", sites::kMarketplaceHost, "/shuoming.html").status, 404);
    EXPECT_EQ(Ask("GET", sites::kMakerHost, kPromotionPath).status, 404);
    EXPECT_EQ(Ask("GET", "127.0.0.1", "/search").status, 404);
}

TEST_F(SitesTest, InstructionsExplainEveryPlaceholderAndTheLoopMarkers) {
    std::string page = Ask("GET", sites::kMakerHost, "/shuoming.html").body;
    for (const char* text :
         {"[#关键词#]", "[#商品图片地址#]", "[#商品网址#]", "[#商品标题#]", "[#商品销售量#]",
          "[#卖家昵称#]", "[#商品价格#]", "[#商品排名#]", "[#商品循环开始#]", "[#商品循环结束#]",
          "模板文件.htm", "效果预览.htm", "一行一个", "排序方式", "商品数量"}) {
        EXPECT_NE(page.find(Gbk(text)), std::string::npos) << text;
    }
    EXPECT_NE(page.find("charset=gbk"), std::string::npos);
}

}  // namespace
}  // namespace velmora::marketsim
