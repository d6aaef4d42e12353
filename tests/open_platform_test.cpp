// The open platform's protocol without a window: the request, the answer's
// two shapes, and the simulated gateway's checks (the signatures are in
// open_platform_signature_test.cpp).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/open_platform_answer.h"
#include "app/open_platform_request.h"
#include "app/request_rate.h"
#include "runtime/gbk.h"
#include "tools/marketsim/catalogue.h"
#include "tools/marketsim/gateway.h"

namespace velmora::app {
namespace {

namespace sim = velmora::marketsim;
using namespace std::chrono_literals;

using Strings = std::vector<std::string>;

Strings Fields(const PlatformItem& item) {
    return {item.title,  item.link,         item.picture,          item.price,     item.sales,
            item.seller, item.couponAmount, item.priceAfterCoupon, item.finalPrice};
}

TEST(OpenPlatformTest, RequestCarriesTheSystemParametersAndTheSearch) {
    EXPECT_EQ(ChinaTimestamp(std::chrono::system_clock::from_time_t(1767576600)),
              "2026-01-05 09:30:00");  // 01:30 UTC
    ApiSettings api;
    api.appKey = "12345678";
    api.appSecret = "test-secret";
    api.adzoneId = "9876";
    api.method = "taobao.tbk.dg.material.optional";
    const struct {
        int sortIndex;
        bool hasCoupon;
        SignMethod signMethod;
        const char* sort;  // null: no sort parameter
        const char* sign;  // computed by hand as above
    } cases[] = {
        {0, false, SignMethod::kMd5, "total_sales_des", "2B62040D6D3CAD9F297D98CFDF335293"},
        {1, true, SignMethod::kHmacSha256, "tk_rate_des",
         "6B526E37AC7A2DF7EE1D63AF65191C92F09FD108200107EA60993175279E0264"},
        {2, false, SignMethod::kMd5, "tk_total_commi_des", "0EC4A821DE511BEF5D7BE518AE065A34"},
        {-1, false, SignMethod::kMd5, nullptr, "77E8C1560AC548627BD5A145D92857A7"},
    };
    for (const auto& c : cases) {
        api.hasCoupon = c.hasCoupon;
        api.signMethod = c.signMethod;
        net::PlatformParameters sent =
            SignedSearchParameters(api, {"手机", c.sortIndex, 3, 100}, "2026-01-05 09:30:00");
        EXPECT_EQ(sent["sign_method"], SignMethodName(c.signMethod));
        EXPECT_EQ(sent["page_no"], "3");
        EXPECT_EQ(sent["page_size"], "100");
        EXPECT_EQ(sent.count("sort") ? sent["sort"] : "(none)", c.sort ? c.sort : "(none)");
        EXPECT_EQ(sent.count("has_coupon"), c.hasCoupon ? 1u : 0u);
        EXPECT_EQ(sent["sign"], c.sign);
        std::string body = FormBody(sent);
        EXPECT_EQ(body.find("test-secret"), std::string::npos);
        EXPECT_NE(body.find("&q=%E6%89%8B%E6%9C%BA&"), std::string::npos) << body;
        EXPECT_NE(body.find("timestamp=2026-01-05%2009%3A30%3A00"), std::string::npos) << body;
    }
    // The one page that matters: what went in is what the known-answer test signs.
    api.hasCoupon = false;
    api.signMethod = SignMethod::kMd5;
    net::PlatformParameters first =
        SignedSearchParameters(api, {"手机", 0, 1, 20}, "2026-01-05 09:30:00");
    EXPECT_EQ(first["sign"], "CD7B05F9F66A48D626AB3AB1B781DA7B");
}

TEST(OpenPlatformTest, AnswersInBothShapesAndWhatGoesWrong) {
    PlatformAnswer flat = ParseSearchAnswer(R"({"tbk_dg_material_optional_response":{
        "total_results":2,"result_list":{"map_data":[
        {"title":"手机 壳","pict_url":"//img.example.com/a.jpg","zk_final_price":"59.90",
         "volume":1200,"nick":"店","url":"//click.example.com/a",
         "coupon_share_url":"//coupon.example.com/a","coupon_amount":"10","coupon_start_fee":"59.00"},
        {"title":"B","pict_url":"https://img.example.com/b.jpg","zk_final_price":"8",
         "volume":"7","nick":"","shop_title":"S","url":"//click.example.com/b"}]}}})");
    ASSERT_EQ(flat.problem, AnswerProblem::kNone);
    EXPECT_EQ(flat.totalResults, 2);
    ASSERT_EQ(flat.items.size(), 2u);
    // title, link, picture, price, sales, seller, coupon amount, price after coupon, final price
    EXPECT_EQ(Fields(flat.items[0]),
              (Strings{"手机 壳", "https://coupon.example.com/a", "https://img.example.com/a.jpg",
                       "59.90", "1200", "店", "10", "49.90", "49.90"}));
    EXPECT_EQ(Fields(flat.items[1]),
              (Strings{"B", "https://click.example.com/b", "https://img.example.com/b.jpg", "8",
                       "7", "S", "", "8", "8"}));

    PlatformAnswer nested = ParseSearchAnswer(R"({"tbk_dg_material_optional_upgrade_response":{
        "total_results":1,"result_list":{"map_data":[{
        "item_basic_info":{"title":"T","pict_url":"//img.example.com/t.jpg","volume":3,
                           "shop_title":"S"},
        "price_promotion_info":{"zk_final_price":"212.5","final_promotion_price":"170.5",
          "final_promotion_path_list":{"final_promotion_path_map_data":[
            {"promotion_title":"跨店满减","promotion_fee":"22"},
            {"promotion_title":"商品券","promotion_desc":"每200减20","promotion_fee":"20"}]}},
        "publish_info":{"click_url":"//click.example.com/t"}},
        {"price_promotion_info":{"zk_final_price":"9","final_promotion_path_list":[]}}]}}})");
    ASSERT_EQ(nested.items.size(), 2u);
    EXPECT_EQ(Fields(nested.items[0]),
              (Strings{"T", "https://click.example.com/t", "https://img.example.com/t.jpg", "212.5",
                       "3", "S", "20", "192.50", "170.5"}));
    EXPECT_EQ(Fields(nested.items[1]), (Strings{"", "", "", "9", "", "", "", "9", "9"}));

    // Numbers beyond any real price or count empty their field.
    PlatformAnswer absurd = ParseSearchAnswer(R"({"x_response":{"total_results":-1,
        "result_list":{"map_data":[{"zk_final_price":"614800000000614892","volume":"1e+300",
        "coupon_amount":-5,"final_promotion_price":"99999999999999999999"}]}}})");
    EXPECT_EQ(absurd.totalResults, 0);
    EXPECT_EQ(Fields(absurd.items.at(0)), (Strings{"", "", "", "", "", "", "", "", ""}));

    const struct {
        const char* body;
        AnswerProblem problem;
        const char* detail;
    } failures[] = {
        {"<html>busy</html>", AnswerProblem::kNotJson, ""},
        {"", AnswerProblem::kNotJson, ""},
        {"[1,2]", AnswerProblem::kNotJson, ""},
        {R"({"error_response":{"code":25,"msg":"Invalid Signature","sub_code":"isv.x","sub_msg":"y"}})",
         AnswerProblem::kRefused, "code 25, msg Invalid Signature, sub_code isv.x, sub_msg y"},
        {R"({"error_response":{"code":7,"msg":"App Call Limited","request_id":"r1"}})",
         AnswerProblem::kRefused, "code 7, msg App Call Limited, request_id r1"},
        {R"({"error_response":{"code":15,"sub_code":"50001","sub_msg":"无结果"}})",
         AnswerProblem::kNone, ""},
        {R"({"something":{}})", AnswerProblem::kNoResult, ""},
    };
    for (const auto& f : failures) {
        PlatformAnswer answer = ParseSearchAnswer(f.body);
        EXPECT_EQ(answer.problem, f.problem) << f.body;
        EXPECT_EQ(answer.detail, f.detail) << f.body;
    }
    EXPECT_TRUE(ParseSearchAnswer(R"({"x_response":{"result_list":"odd"}})").items.empty());
}

TEST(OpenPlatformTest, HostileAnswersLoseTheirLinksOrAreRefusedUnparsed) {
    auto item = [](const std::string& fields) {
        return R"({"x_response":{"result_list":{"map_data":[{)" + fields + "}]}}}";
    };
    const std::string deep(kMaxAnswerDepth, '[');
    const struct {
        Strings read;  // link, picture, then the fields emptied; none: refused as too deep
        std::string body;
    } cases[] = {
        {{"", "https://p", "url"}, item(R"("url":"javascript:0","pict_url":"//p")")},
        {{"https://c", "http://p", "coupon_share_url"},
         item(R"("coupon_share_url":"data:,x","url":"//c","pict_url":"http://p")")},
        {{"HTTPS://c", "", "pict_url"}, item(R"("url":"HTTPS://c","pict_url":" javascript:x")")},
        {{"", "", "pict_url", "coupon_share_url", "url"},
         item(R"("coupon_share_url":"JavaScript:y","url":"vbscript:x","pict_url":"data:,")")},
        {{"https://c", ""}, item(R"("title":")" + deep + R"(","url":"//c")")},
        {{}, R"({"x_response":)" + deep + std::string(kMaxAnswerDepth, ']') + "}"},
        {{}, std::string(1 << 20, '[')},
    };
    for (const auto& c : cases) {
        PlatformAnswer answer = ParseSearchAnswer(c.body);
        Strings read;
        for (const PlatformItem& item : answer.items) {
            read = {item.link, item.picture};
            read.insert(read.end(), item.refusedAddresses.begin(), item.refusedAddresses.end());
        }
        EXPECT_EQ(read, c.read) << c.body.substr(0, 100);
        EXPECT_EQ(answer.problem == AnswerProblem::kTooDeep, c.read.empty());
    }
}

TEST(OpenPlatformTest, CouponShownOnlyFromItsThresholdPriceAfterInTwoDecimals) {
    const struct {
        const char *price, *coupon, *threshold, *shown, *after;
    } cases[] = {
        {"59.90", "10", "59.00", "10", "49.90"},
        {"264.80", "20", "299", "", "264.80"},
        {"59.90", "10", "59.9", "10", "49.90"},
        {"20", "5", "", "5", "15.00"},
        {"20.05", "0.05", "0", "0.05", "20.00"},
        {"3", "5", "0", "5", "0.00"},
        {"59.90", "", "0", "", "59.90"},
        {"abc", "5", "0", "", "abc"},
        {"9.999", "1", "0", "", "9.999"},
        {"20", "5", "x", "", "20"},
        {"614800000000614892", "5", "0", "", "614800000000614892"},
    };
    for (const auto& c : cases) {
        CouponPrice applied = ApplyCoupon(c.price, c.coupon, c.threshold);
        EXPECT_EQ(Strings({applied.coupon, applied.priceAfterCoupon}), Strings({c.shown, c.after}))
            << c.price << " " << c.coupon << " " << c.threshold;
    }
}

TEST(OpenPlatformTest, RateSpacesRequestsEvenly) {
    RequestRate::Clock::time_point t0{};
    RequestRate two(2);
    EXPECT_EQ(two.Reserve(t0), 0ms);
    EXPECT_EQ(two.Reserve(t0), 500ms);
    EXPECT_EQ(two.Reserve(t0 + 100ms), 900ms);
    EXPECT_EQ(two.Reserve(t0 + 5s), 0ms) << "an idle spell is not saved up";
    RequestRate off(0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(off.Reserve(t0), 0ms);
}

// ---- the simulated gateway

class GatewayTest : public ::testing::Test {
  protected:
    GatewayTest() {
        api_.appKey = sim::kDemoAppKey;
        api_.appSecret = sim::kDemoAppSecret;
        api_.adzoneId = sim::kDemoAdzoneId;
    }

    sim::SiteResponse Response(const net::PlatformParameters& parameters,
                               std::chrono::seconds skew = 0s) {
        sim::SiteRequest request;
        request.method = "POST";
        request.body = FormBody(parameters);
        auto sent = std::chrono::system_clock::from_time_t(1767576600);
        return sim::GatewayAnswer(request, sent + skew);
    }
    nlohmann::json Answer(const net::PlatformParameters& parameters,
                          std::chrono::seconds skew = 0s) {
        return nlohmann::json::parse(Response(parameters, skew).body);
    }
    net::PlatformParameters Signed(SearchPage page) {
        return SignedSearchParameters(api_, page, "2026-01-05 09:30:00");
    }
    // `value` null: without the parameter.
    static net::PlatformParameters Resigned(net::PlatformParameters p, const char* name,
                                            const char* value) {
        if (value)
            p[name] = value;
        else
            p.erase(name);
        // A method nobody can sign with still needs a sign to be refused for its method.
        p["sign"] = net::SignPlatformParameters(p, sim::kDemoAppSecret).value_or("0");
        return p;
    }

    ApiSettings api_;
};

TEST_F(GatewayTest, RefusesWhatThePlatformRefuses) {
    const net::PlatformParameters good = Signed({"手机", 0, 1, 20});
    net::PlatformParameters tampered = good;
    tampered["q"] = "耳机";
    ApiSettings wrongSecret = api_;
    wrongSecret.appSecret = "another";
    const struct {
        net::PlatformParameters parameters;
        std::chrono::seconds skew;
        int code;
    } cases[] = {
        {tampered, 0s, 25},
        {SignedSearchParameters(wrongSecret, {"手机", 0, 1, 20}, "2026-01-05 09:30:00"), 0s, 25},
        {good, 11min, 31},
        {good, -11min, 31},
        {Resigned(good, "adzone_id", nullptr), 0s, 40},
        {Resigned(good, "app_key", "other"), 0s, 29},
        {Resigned(good, "sign_method", "hmac-sha1"), 0s, 41},
        {Resigned(good, "q", nullptr), 0s, 40},
        {Resigned(good, "v", "1.0"), 0s, 34},
        {Resigned(good, "method", "taobao.tbk.other"), 0s, 22},
        {Resigned(good, "timestamp", nullptr), 0s, 30},
        {Resigned(good, "page_size", "101"), 0s, 41},
        {Resigned(good, "sort", "price_cheap"), 0s, 41},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        nlohmann::json answer = Answer(cases[i].parameters, cases[i].skew);
        ASSERT_TRUE(answer.contains("error_response")) << i << answer.dump();
        EXPECT_EQ(answer["error_response"]["code"], cases[i].code) << i;
    }
    EXPECT_FALSE(Answer(good, 9min).contains("error_response"));
}

TEST_F(GatewayTest, ServesTheDocumentedChoicesTheClientDoesNotMake) {
    const net::PlatformParameters good = Signed({"手机", 0, 1, 20});
    const nlohmann::json expected = Answer(good);
    EXPECT_EQ(Answer(Resigned(good, "sign_method", "hmac")), expected);
    // XML is the default, for answers and refusals: the same fields, escaped.
    const std::string total =
        "<total_results>" +
        expected["tbk_dg_material_optional_upgrade_response"]["total_results"].dump();
    const struct {
        net::PlatformParameters parameters;
        std::chrono::seconds skew;
        std::string part;
    } xmlCases[] = {{Resigned(good, "format", "xml"), 0s, total},
                    {Resigned(good, "format", nullptr), 0s, "&amp;coupon=1</coupon_share_url>"},
                    {Resigned(good, "format", nullptr), 11min, "<code>31</code>"},
                    {Resigned(good, "format", "yaml"), 0s, "<code>23</code>"}};
    for (const auto& c : xmlCases) {
        sim::SiteResponse xml = Response(c.parameters, c.skew);
        EXPECT_TRUE(xml.contentType.starts_with("text/xml")) << c.part;
        EXPECT_NE(xml.body.find(c.part), std::string::npos) << c.part << "\n" << xml.body;
    }
    // No keyword but another filter: a search, which finds nothing here.
    nlohmann::json byCategory = Answer(Resigned(Resigned(good, "q", nullptr), "cat", "16"));
    EXPECT_EQ(byCategory["tbk_dg_material_optional_upgrade_response"]["total_results"], 0);
}

TEST_F(GatewayTest, PagesTheCatalogueInTheChosenOrder) {
    const std::string keyword = *Utf8ToGbk("手机");
    std::vector<sim::CatalogueItem> expected =
        sim::PromotionItems(keyword, sim::SortKey::kCommissionRate, sim::kMaxPageItems);
    std::vector<std::string> ids;
    for (int pageNo = 1; pageNo <= 4; ++pageNo) {
        PlatformAnswer page = ParseSearchAnswer(Answer(Signed({"手机", 1, pageNo, 10})).dump());
        ASSERT_EQ(page.problem, AnswerProblem::kNone);
        EXPECT_EQ(page.totalResults, static_cast<int64_t>(expected.size()));
        for (const PlatformItem& item : page.items) ids.push_back(item.link);
    }
    ASSERT_EQ(ids.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(ids[i].starts_with("https://s.taobao.com/item.htm?id=" + expected[i].id));

    // The documented orders the window does not offer are served too.
    for (const char* order : {"price_asc", "price_des", "match"}) {
        net::PlatformParameters sorted = Signed({"手机", 0, 1, 40});
        sorted["sort"] = order;
        sorted["sign"] = *net::SignPlatformParameters(sorted, sim::kDemoAppSecret);
        PlatformAnswer page = ParseSearchAnswer(Answer(sorted).dump());
        ASSERT_EQ(page.items.size(), expected.size()) << order;
        if (order == std::string("match")) continue;
        const bool ascending = order == std::string("price_asc");
        for (size_t i = 1; i < page.items.size(); ++i) {
            const double before = std::stod(page.items[i - 1].price);
            const double price = std::stod(page.items[i].price);
            EXPECT_TRUE(ascending ? before <= price : before >= price) << order << " " << i;
        }
    }

    api_.hasCoupon = true;
    for (const char* method : {sim::kMaterialSearchMethod, sim::kUpgradeSearchMethod}) {
        api_.method = method;
        PlatformAnswer coupons = ParseSearchAnswer(Answer(Signed({"手机", 0, 1, 100})).dump());
        ASSERT_FALSE(coupons.items.empty());
        EXPECT_LT(coupons.items.size(), expected.size());
        for (const PlatformItem& item : coupons.items) EXPECT_TRUE(item.link.ends_with("coupon=1"));
    }
}

}  // namespace
}  // namespace velmora::app
