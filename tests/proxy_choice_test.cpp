#include "net/proxy_choice.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "net/url_parts.h"

namespace velmora::net {
namespace {

TEST(ProxyChoice, ReadsTheEnvironmentAsLibcurlDoes) {
    using K = ProxyChoice::Kind;
    struct Case {
        const char* url;
        std::map<std::string, std::string> environment;
        K kind;
        const char* host;
        int port;
    } cases[] = {
        {"http://a.example/", {}, K::kSystem, "", 0},
        {"http://a.example/", {{"http_proxy", ""}}, K::kSystem, "", 0},
        {"http://a.example/",
         {{"http_proxy", "http://127.0.0.1:8080"}},
         K::kNamed,
         "127.0.0.1",
         8080},
        {"http://a.example/", {{"HTTP_PROXY", "Proxy.Lan:3128/"}}, K::kNamed, "proxy.lan", 3128},
        {"http://a.example/", {{"http_proxy", "proxy.lan"}}, K::kNamed, "proxy.lan", 1080},
        {"http://a.example/", {{"http_proxy", "http://[::1]"}}, K::kNamed, "[::1]", 1080},
        {"https://a.example/", {{"http_proxy", "p:1"}}, K::kSystem, "", 0},
        {"https://a.example/", {{"https_proxy", "p:2"}}, K::kNamed, "p", 2},
        {"https://a.example/", {{"all_proxy", "p:3"}}, K::kNamed, "p", 3},
        {"http://a.example/", {{"http_proxy", "socks5://p:4"}}, K::kUnusable, "", 0},
        {"http://a.example/", {{"http_proxy", "p:5"}, {"no_proxy", "*"}}, K::kDirect, "", 0},
        {"http://sub.a.example/",
         {{"http_proxy", "p:5"}, {"no_proxy", "x, .A.example"}},
         K::kDirect,
         "",
         0},
        {"http://ba.example/",
         {{"http_proxy", "p:5"}, {"NO_PROXY", "a.example"}},
         K::kNamed,
         "p",
         5},
        {"http://[::1]:80/", {{"http_proxy", "p:5"}, {"no_proxy", "::1"}}, K::kDirect, "", 0},
    };
    for (const Case& c : cases) {
        ProxyChoice choice = ChooseProxy(c.url, [&](const char* name) -> const char* {
            auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        });
        SCOPED_TRACE(c.url + (c.environment.empty() ? "" : " " + c.environment.begin()->second));
        EXPECT_EQ(choice.kind, c.kind);
        if (c.kind == K::kNamed) {
            EXPECT_EQ(choice.host, c.host);
            EXPECT_EQ(choice.port, c.port);
        }
    }
}

TEST(ResolveLocation, MakesTheRedirectAbsolute) {
    const char* base = "http://h.example:81/a/b/c?q=1#f";
    struct Case {
        const char* location;
        const char* resolved;
    } cases[] = {
        {"https://o.example/x", "https://o.example/x"},
        {"ftp:x", "ftp:x"},
        {"//o.example/y", "http://o.example/y"},
        {"/d/../e?r#g", "http://h.example:81/e?r"},
        {"?z", "http://h.example:81/a/b/c?z"},
        {"d", "http://h.example:81/a/b/d"},
        {"../d/./e/", "http://h.example:81/a/d/e/"},
        {"../../../..", "http://h.example:81/"},
        {"d:e/f", "d:e/f"},
        {"./d:e", "http://h.example:81/a/b/d:e"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveLocation(base, c.location), c.resolved) << c.location;
    EXPECT_EQ(ResolveLocation("http://h.example", "d"), "http://h.example/d");
}

}  // namespace
}  // namespace velmora::net
