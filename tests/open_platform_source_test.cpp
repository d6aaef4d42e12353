// The open-platform source's paging against a gateway on loopback that holds
// more items than one page: how many pages it asks for, and in what order the
// items come out.
#include "app/open_platform_source.h"

#include <gtest/gtest.h>

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
    std::vector<std::pair<int, int>> pages_;  // page_no, page_size
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

}  // namespace
}  // namespace velmora::app
