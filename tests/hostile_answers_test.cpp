// Redirects and cookies from a site that works against the user, through the
// simulator's hostile site where it can play the case (it serves plain http
// only) and on the redirect rule itself everywhere.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "net/cookie_store.h"
#include "net/http_client.h"
#include "net/redirect_rule.h"
#include "tests/running_simulator.h"
#include "tools/marketsim/hostile_site.h"

namespace velmora::net {
namespace {

namespace sim = velmora::marketsim;

class HostileAnswersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GT(sim_.Port(), 0);
        setenv("http_proxy", sim_.ProxyAddress().c_str(), 1);
        unsetenv("no_proxy");
        unsetenv("NO_PROXY");
        Cookies().Clear();
    }
    void TearDown() override {
        Cookies().Clear();
        unsetenv("http_proxy");
    }

    // The simulator logs a request once its answer is out.
    bool Logged(const std::string& prefix) {
        for (int attempt = 0; attempt < 200; ++attempt) {
            for (const std::string& line : sim_.Log())
                if (line.starts_with(prefix)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    velmora::testing::RunningSimulator sim_;
};

std::string Hostile(const std::string& pathAndQuery) {
    return std::string("http://") + sim::kHostileHost + pathAndQuery;
}

std::string AskRedirect(long status, const char* host) {
    return Hostile(std::string(sim::kRedirectPath) + "?code=" + std::to_string(status) +
                   "&host=" + host);
}

TEST_F(HostileAnswersTest, RedirectsKeepTheFormOnItsHostAndNeverGoDownToHttp) {
    const std::string elsewhere = std::string("http://") + sim::kElsewhereHost + sim::kReportPath;
    const std::string here = Hostile(sim::kReportPath);
    const struct {
        std::string from, to;
        long status;
        const char* method;
        bool body;
        std::string then;  // the next hop's method; empty: refused
    } cases[] = {
        {AskRedirect(307, sim::kElsewhereHost), elsewhere, 307, "POST", true, ""},
        {AskRedirect(308, sim::kElsewhereHost), elsewhere, 308, "POST", true, ""},
        {AskRedirect(307, sim::kElsewhereHost), elsewhere, 307, "POST", false, ""},
        {AskRedirect(307, sim::kHostileHost), here, 307, "POST", true, "POST"},
        {AskRedirect(302, sim::kElsewhereHost), elsewhere, 302, "POST", true, "GET"},
        {AskRedirect(307, sim::kElsewhereHost), elsewhere, 307, "GET", false, "GET"},
        {"https://x.com/a", "http://x.com/b", 302, "GET", false, ""},
        {"https://x.com/a", "http://x.com/b", 307, "POST", true, ""},
        {"https://x.com/a", "http://x.com/b", 303, "POST", true, ""},
        {"http://x.com/a", "https://x.com/b", 307, "POST", true, "POST"},
        {"http://x.com/a", "https://y.com/b", 301, "GET", false, "GET"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from + " " + std::to_string(c.status) + " " + c.method);
        RedirectHop hop = FollowRedirect(c.from, c.to, c.status, c.method, c.body);
        EXPECT_EQ(hop.follow ? hop.method : "", c.then);
        if (!c.from.starts_with(Hostile("/"))) continue;

        HttpRequest request;
        request.method = c.method;
        request.url = c.from;
        request.body = "sign=1";
        request.sendBody = c.body;
        HttpResponse response = PerformRequest(request);
        EXPECT_EQ(response.refused, c.then.empty());
        EXPECT_TRUE(c.then.empty() || Logged(c.then + " " + c.to + " "));
    }
}

TEST_F(HostileAnswersTest, AFloodOfCookiesIsOneChangeAndAPlantedSecureOneNone) {
    int changes = 0;
    int listener = Cookies().AddChangesListener([&](const CookieChanges&) { ++changes; });
    for (const char* path : {sim::kCookieFloodPath, sim::kSecureCookiePath}) {
        HttpRequest request;
        request.url = Hostile(path);
        EXPECT_TRUE(PerformRequest(request).completed) << path;
    }
    Cookies().RemoveListener(listener);
    EXPECT_EQ(changes, 1);
    std::vector<Cookie> kept = Cookies().All();
    EXPECT_EQ(kept.size(), kCookiesPerSite);
    EXPECT_EQ(kept.front().name, "flood" + std::to_string(sim::kFloodCookies - kCookiesPerSite));
}

}  // namespace
}  // namespace velmora::net
