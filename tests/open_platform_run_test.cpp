// The open-platform source on the live window: a run through the simulated
// gateway writes the pages the catalogue predicts, the start button takes
// the source from the settings file, and every failure logs one line,
// writes nothing and lets the run go on.
#include <gtest/gtest.h>

#include <QListWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/collection_run.h"
#include "app/main_window_ids.h"
#include "app/open_platform_source.h"
#include "app/template_library.h"
#include "app/window_calls.h"
#include "commands/control_commands.h"
#include "net/http_client.h"
#include "runtime/gbk.h"
#include "tests/live_program.h"
#include "tests/loopback_server.h"
#include "tests/test_support.h"
#include "tools/marketsim/gateway.h"

namespace velmora::app {
namespace {

namespace fs = std::filesystem;
namespace sim = velmora::marketsim;
using velmora::testing::Gbk;
using velmora::testing::LiveProgram;
using velmora::testing::ReadFile;

constexpr char kTemplate[] = "接口模板";

class OpenPlatformRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program_.TakeMessages();
        program_.ClearLog();
        fs::create_directories(Folder());
        std::ofstream(Folder() / "模板文件.htm", std::ios::binary)
            << Gbk("<h>[#关键词#]</h>[#商品循环开始#][#商品排名#]|[#商品标题#]|[#商品网址#]|"
                   "[#商品图片地址#]|[#商品价格#]|[#商品销售量#]|[#卖家昵称#]|[#优惠券面额#]|"
                   "[#券后价#]|[#到手价#];[#商品循环结束#]<t>");
        auto* list = program_.Control<QListWidget>(kTemplateList);
        if (list->findItems(kTemplate, Qt::MatchExactly).isEmpty()) {
            CallCore(commands::ClearItems, {ControlOf(tag::kListBox, kTemplateList)});
            ListTemplates();
        }
        program_.ChooseTemplate(kTemplate);
        for (const char* name : {"手机.htm", "耳机.htm"}) fs::remove(Folder() / name);
    }

    fs::path Folder() const { return fs::path(program_.TemplateRoot()) / kTemplate; }

    static ApiSettings DemoApi() {
        ApiSettings api;
        api.appKey = sim::kDemoAppKey;
        api.appSecret = sim::kDemoAppSecret;
        api.adzoneId = sim::kDemoAdzoneId;
        api.gateway = "http://gw.api.velmora.local/router/rest";
        api.ratePerSecond = 0;
        return api;
    }

    // Retries and bans take no time here.
    static PlatformWaits NoWaits() {
        PlatformWaits waits = RealPlatformWaits();
        waits.sleep = [](std::chrono::milliseconds) { return true; };
        return waits;
    }

    // The page the catalogue predicts for the first `count` items in `sort`
    // order. Both methods show a coupon only where the price reaches its
    // threshold, and the price after it in two decimals.
    static std::string ExpectedPage(const char* keyword, sim::SortKey sort, size_t count) {
        std::string page = Gbk("<h>") + Gbk(keyword) + "</h>";
        std::vector<sim::CatalogueItem> items =
            sim::PromotionItems(Gbk(keyword), sort, sim::kMaxPageItems);
        for (size_t i = 0; i < count; ++i) {
            const sim::CatalogueItem& item = items.at(i);
            auto coupon = sim::CouponOf(item);
            std::string link = "https://s.taobao.com/item.htm?id=" + item.id;
            std::string amount, after = sim::FormatCents(item.priceCents), finalPrice = after;
            if (coupon) link += "&amp;coupon=1";
            if (coupon && item.priceCents >= coupon->thresholdCents) {
                amount = std::to_string(coupon->amountCents / 100);
                after = finalPrice = sim::FormatCents(item.priceCents - coupon->amountCents);
            }
            page += std::to_string(i + 1) + "|" + item.title + "|" + link +
                    "|http://s.taobao.com/pic/" + item.id + ".jpg|" +
                    sim::FormatCents(item.priceCents) + "|" + std::to_string(item.sales30) + "|" +
                    item.seller + "|" + amount + "|" + after + "|" + finalPrice + ";";
        }
        return page + "<t>";
    }

    LiveProgram& program_ = LiveProgram::Get();
};

TEST_F(OpenPlatformRunTest, RunWritesThePagesTheCatalogueListsByteForByte) {
    for (const char* method : {sim::kMaterialSearchMethod, sim::kUpgradeSearchMethod}) {
        SCOPED_TRACE(method);
        WriteText(kKeywordBox, Gbk("手机\r\n耳机\r\n").c_str());
        WriteInteger(kSortChoice, property::kComboBoxSelection, 1);
        program_.Type(kItemCountBox, "12");
        ApiSettings api = DemoApi();
        api.method = method;
        if (method == std::string(sim::kMaterialSearchMethod))
            api.signMethod = SignMethod::kHmacMd5;
        OpenPlatformSource source(api);

        RunCollection(source);

        WriteInteger(kSortChoice, property::kComboBoxSelection, 0);
        for (const char* keyword : {"手机", "耳机"})
            EXPECT_EQ(ReadFile(Folder() / (std::string(keyword) + ".htm")),
                      ExpectedPage(keyword, sim::SortKey::kCommissionRate, 12))
                << keyword;
        EXPECT_EQ(program_.LogLines().back(), "生成关键词\"耳机.htm\"完毕")
            << "the empty last line is skipped";
        EXPECT_TRUE(program_.TakeMessages().empty());
    }
}

TEST_F(OpenPlatformRunTest, StartTakesTheSourceFromTheSettingsAndNeedsNoLogin) {
    const fs::path config = fs::path(program_.TemplateRoot()).parent_path() / "config";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    Settings settings;
    settings.api = DemoApi();
    ASSERT_TRUE(SaveSettings(settings, SettingsPath()));
    std::ofstream(SettingsPath(), std::ios::app) << "[api]\nhas_coupon = maybe\n";
    program_.LogOut();
    WriteText(kKeywordBox, Gbk("手机").c_str());
    program_.Type(kItemCountBox, "2");

    program_.Press(kStartButton);
    fs::remove_all(config);

    std::vector<std::string> log = program_.LogLines();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], std::string("采集来源：开放平台接口 ") + sim::kUpgradeSearchMethod);
    EXPECT_NE(log[1].find("has_coupon is not true or false"), std::string::npos);
    for (const std::string& line : log)
        EXPECT_EQ(line.find(sim::kDemoAppSecret), std::string::npos);
    EXPECT_TRUE(program_.TakeMessages().empty()) << "no login asked for";
    EXPECT_EQ(ReadFile(Folder() / "手机.htm"), ExpectedPage("手机", sim::SortKey::kSales, 2));
}

TEST_F(OpenPlatformRunTest, HostileAnswersLogWhatWasDroppedOrRefusedWithoutTheirControls) {
    const std::string item = "关键词\"hostile-links\"第 ",
                      dropped = " 不是 http 或 https 地址，已留空";
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {sim::kHostileLinksKeyword,
         {item + "1 个商品的 url" + dropped, item + "2 个商品的 coupon_share_url" + dropped,
          item + "3 个商品的 pict_url" + dropped, "开始搜寻单个宝贝信息。。。。",
          "生成关键词\"hostile-links.htm\"完毕"}},
        {sim::kDeepAnswerKeyword, {"关键词\"deep-answer\"未生成页面：网关的回答嵌套层数过多"}},
        {std::string(sim::kControlMessageKeyword) + "\x1b[2J",
         {"关键词\"control-message?[2J\"未生成页面：开放平台拒绝了请求（code 15, msg "
          "?]52;c;b3duZWQ=??[2J??关键词\"x\"未生成页面：forged, sub_code isv.?31m, request_id "
          "velmora-sim）"}},
        // A ban is waited out (here at once) and said; a passing error is retried quietly.
        {sim::kBannedOnceKeyword,
         {"关键词\"banned-once\"：开放平台暂时限制调用，等待 1 秒后重试",
          "开始搜寻单个宝贝信息。。。。", "生成关键词\"banned-once.htm\"完毕"}},
        {sim::kRemoteErrorOnceKeyword,
         {"开始搜寻单个宝贝信息。。。。", "生成关键词\"remote-error-once.htm\"完毕"}},
        {sim::kNoResultKeyword, {"关键词\"no-result\"未生成页面：开放平台没有找到商品"}},
    };
    program_.Type(kItemCountBox, "4");
    for (const auto& [keyword, log] : cases) {
        SCOPED_TRACE(keyword);
        program_.ClearLog();
        WriteText(kKeywordBox, Gbk(keyword.c_str()).c_str());
        OpenPlatformSource source(DemoApi(), NoWaits());

        RunCollection(source);

        EXPECT_EQ(program_.LogLines(), log);
    }
    for (const char* page : {"hostile-links.htm", "banned-once.htm", "remote-error-once.htm"})
        fs::remove(Folder() / page);
}

TEST_F(OpenPlatformRunTest, EachFailureLogsItsCauseKeepsThePageAndGoesOn) {
    setenv("no_proxy", "127.0.0.1", 1);
    const net::RequestLimits limits = net::CurrentRequestLimits();
    net::SetRequestLimits({std::chrono::milliseconds(1000), std::chrono::milliseconds(1000)});
    velmora::testing::SilentServer silent;
    velmora::testing::RawServer html(
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 11\r\n\r\n<html></htm");
    const std::string emptyBody = R"({"tbk_dg_material_optional_response":{"total_results":0}})";
    velmora::testing::RawServer empty(
        "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
        std::to_string(emptyBody.size()) + "\r\n\r\n" + emptyBody);
    auto local = [](int port) {
        return "http://127.0.0.1:" + std::to_string(port) + "/router/rest";
    };
    const int closed = velmora::testing::ClosedPort();
    const struct {
        const char* name;
        std::string gateway;
        const char* secret;
        std::string cause;
    } cases[] = {
        {"refused", DemoApi().gateway, "not-the-secret",
         "开放平台拒绝了请求（code 25, msg Invalid Signature, request_id velmora-sim）"},
        {"time-out", local(silent.Port()), nullptr, "网关在 1 秒内没有回答"},
        {"not JSON", local(html.Port()), nullptr, "网关的回答不是 JSON"},
        {"empty", local(empty.Port()), nullptr, "开放平台没有找到商品"},
        {"unreachable", local(closed), nullptr, "无法连接网关 " + local(closed)},
    };
    WriteText(kKeywordBox, Gbk("手机\r\n耳机").c_str());
    program_.Type(kItemCountBox, "3");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        program_.ClearLog();
        std::ofstream(Folder() / "手机.htm", std::ios::binary) << "kept";
        ApiSettings api = DemoApi();
        api.gateway = c.gateway;
        if (c.secret) api.appSecret = c.secret;
        OpenPlatformSource source(api, NoWaits());

        RunCollection(source);

        EXPECT_EQ(program_.LogLines(),
                  (std::vector<std::string>{"关键词\"手机\"未生成页面：" + c.cause,
                                            "关键词\"耳机\"未生成页面：" + c.cause}));
        EXPECT_EQ(ReadFile(Folder() / "手机.htm"), "kept");
        EXPECT_FALSE(fs::exists(Folder() / "耳机.htm"));
    }
    net::SetRequestLimits(limits);
    unsetenv("no_proxy");
}

}  // namespace
}  // namespace velmora::app
