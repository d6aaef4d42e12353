// The open-platform source's paging against a gateway on loopback that holds
// more items than one page: how many pages it asks for, and in what order the
// items come out.
#include "app/open_platform_source.h"

#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <nlohmann/json.hpp>

#include "app/collector_globals.h"
#include "runtime/gbk.h"
#include "tests/loopback_server.h"

namespace velmora::app {
namespace {

constexpr int kTotal = 230;
constexpr char kMarkupSeller[] = R"(手机 a<b>&"c'd)";

std::string FormField(const std::string& body, const std::string& name) {
    size_t at = body.find(name + "=");
    if (at == std::string::npos) return {};
    at += name.size() + 1;
    return body.substr(at, body.find('&', at) - at);
}

class OpenPlatformSourceTest : public ::testing::Test {
  protected:
    OpenPlatformSourceTest()
        : gateway_([this](httplib::Server& server) {
              server.Post(
                  "/router/rest", [this](const httplib::Request& req, httplib::Response& res) {
                      const int pageNo = std::stoi(FormField(req.body, "page_no"));
                      const int pageSize = std::stoi(FormField(req.body, "page_size"));
                      {
                          std::lock_guard lock(mutex_);
                          pages_.emplace_back(pageNo, pageSize);
                          if (!script_.empty()) {
                              auto [status, body] = script_.front();
                              script_.pop_front();
                              if (status) {
                                  res.status = status;
                                  return res.set_content(body, "application/json");
                              }
                          }
                      }
                      nlohmann::json items = nlohmann::json::array();
                      for (int n = (pageNo - 1) * pageSize + 1;
                           n <= std::min(kTotal, pageNo * pageSize); ++n)
                          items.push_back({{"title", "item " + std::to_string(n)},
                                           {"zk_final_price", "1"},
                                           {"nick", kMarkupSeller},
                                           {"url", "//x.example/?a=1&b=2"}});
                      nlohmann::json answer = {
                          {"x_response",
                           {{"total_results", kTotal}, {"result_list", {{"map_data", items}}}}}};
                      res.set_content(answer.dump(), "application/json");
                  });
          }) {
        api_.appKey = "key";
        api_.appSecret = "secret";
        api_.adzoneId = "1";
        api_.gateway = gateway_.Url("/router/rest");
        api_.ratePerSecond = 0;
        setenv("no_proxy", "127.0.0.1", 1);
    }
    ~OpenPlatformSourceTest() override {
        unsetenv("no_proxy");
        Globals().stopRequested = false;
    }

    std::vector<std::pair<int, int>> Pages() {
        std::lock_guard lock(mutex_);
        return std::exchange(pages_, {});
    }

    ApiSettings api_;
    std::mutex mutex_;
    std::deque<std::pair<int, std::string>> script_;  // answers before the catalogue's; 0: its own
    std::vector<std::pair<int, int>> pages_;          // page_no, page_size
    velmora::testing::HttpServer gateway_;
};

TEST_F(OpenPlatformSourceTest, AsksPageAfterPageUntilItHasEnoughOrTheGatewayHasNoMore) {
    const struct {
        int count;
        std::vector<std::pair<int, int>> pages;
        int items;
    } cases[] = {
        {7, {{1, 7}}, 7},
        {100, {{1, 100}}, 100},
        {120, {{1, 100}, {2, 100}}, 120},
        {500, {{1, 100}, {2, 100}, {3, 100}}, kTotal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        OpenPlatformSource source(api_);
        KeywordItems got = CollectItems(source, {"k", 0, c.count});
        ASSERT_EQ(got.outcome.status, SearchStatus::kFound) << got.outcome.cause.view();
        EXPECT_EQ(Pages(), c.pages);
        ASSERT_EQ(got.items.size(), size_t(c.items));
        for (int rank = 1; rank <= c.items; ++rank) {
            EXPECT_EQ(got.items[rank - 1].rank, rank);
            EXPECT_EQ(got.items[rank - 1].title.view(), "item " + std::to_string(rank));
        }
    }
}

// Plain texts of the answer reach the template as HTML text.
TEST_F(OpenPlatformSourceTest, AnswerTextsAreEscapedForHtml) {
    OpenPlatformSource source(api_);
    KeywordItems got = CollectItems(source, {"k", 0, 1});
    ASSERT_EQ(got.items.size(), 1u) << got.outcome.cause.view();
    EXPECT_EQ(got.items[0].seller.view(), *Utf8ToGbk(R"(手机 a&lt;b&gt;&amp;&quot;c&#39;d)"));
    EXPECT_EQ(got.items[0].itemUrl.view(), std::string_view("https://x.example/?a=1&amp;b=2"));
}

TEST_F(OpenPlatformSourceTest, AStopRequestSendsNothing) {
    Globals().stopRequested = true;
    OpenPlatformSource source(api_);
    EXPECT_EQ(source.Search({"k", 0, 5}).status, SearchStatus::kStopped);
    EXPECT_TRUE(Pages().empty());
}

TEST_F(OpenPlatformSourceTest, BansAreWaitedOutAndPassingFailuresRetried) {
    const std::string ban = R"({"error_response":{"code":7,"msg":"App Call Limited",
        "sub_msg":"This ban will last for 30 more seconds","request_id":"r7"}})";
    const std::string remote = R"({"error_response":{"code":15,"request_id":"r15"}})";
    const std::pair<int, std::string> ok{0, ""}, busy{502, "<html>busy</html>"};
    const struct {
        std::vector<std::pair<int, std::string>> script;
        int count;
        SearchStatus status;
        std::vector<int> pauses;  // milliseconds; jitter is always 0.5
        std::string cause;        // in the failure line
        size_t requests;
    } cases[] = {
        {{{200, ban}, ok}, 5, SearchStatus::kFound, {30000}, "", 2},
        {{busy, busy}, 5, SearchStatus::kFound, {1250, 2500}, "", 3},
        {{{200, remote}, {200, remote}, {200, remote}, {200, remote}},
         5,
         SearchStatus::kFailed,
         {1250, 2500, 5000},
         "code 15, request_id r15",
         4},
        {{{200, R"({"error_response":{"code":7,"sub_msg":"ban for 601 seconds"}})"}},
         5,
         SearchStatus::kFailed,
         {},
         "sub_msg ban for 601 seconds",
         1},
        {{ok, busy, busy, busy, busy},
         120,
         SearchStatus::kFailed,
         {1250, 2500, 5000},
         "HTTP 502",
         5},
        {{{200, R"({"error_response":{"code":15,"sub_code":"50001","sub_msg":"无结果"}})"}},
         5,
         SearchStatus::kFailed,
         {},
         *Utf8ToGbk("没有找到商品"),
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.requests);
        script_.assign(c.script.begin(), c.script.end());
        std::vector<int> pauses, bans;
        OpenPlatformSource source(
            api_,
            {[&](std::chrono::milliseconds ms) {
                 pauses.push_back(static_cast<int>(ms.count()));
                 return true;
             },
             [] { return 0.5; }, [&](auto, std::chrono::seconds s) { bans.push_back(s.count()); }});
        KeywordItems got = CollectItems(source, {"k", 0, c.count});
        EXPECT_EQ(got.outcome.status, c.status);
        EXPECT_NE(got.outcome.cause.view().find(c.cause), std::string_view::npos)
            << got.outcome.cause.view();
        EXPECT_EQ(pauses, c.pauses);
        EXPECT_EQ(bans.size(), c.script[0].second == ban ? 1u : 0u);
        EXPECT_EQ(Pages().size(), c.requests);
    }
    // A stop request during a wait ends the keyword; a blank one sends nothing.
    script_ = {{200, ban}};
    OpenPlatformSource stopped(api_, {[](auto) { return false; }, [] { return 0.0; }, {}});
    EXPECT_EQ(stopped.Search({"k", 0, 5}).status, SearchStatus::kStopped);
    EXPECT_EQ(stopped.Search({" \xA1\xA1\t", 0, 5}).status, SearchStatus::kSkipped);
    EXPECT_EQ(Pages().size(), 1u);
}

}  // namespace
}  // namespace velmora::app
