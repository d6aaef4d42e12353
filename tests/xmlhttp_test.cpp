#include "commands/xmlhttp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands/automation_commands.h"
#include "commands/automation_invoke.h"
#include "commands/automation_variant.h"
#include "loopback_server.h"
#include "net/cookie_store.h"
#include "net/http_client.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "test_support.h"

namespace velmora::commands {
namespace {

using testing::Gbk;
using testing::HttpServer;
using testing::RawServer;

class XmlHttpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        net::Cookies().Clear();
        before_ = LiveBlockCount();
        object_ = static_cast<ComObjectBlock*>(Allocate(sizeof(ComObjectBlock)));
        std::memset(static_cast<void*>(object_), 0, sizeof(ComObjectBlock));
        ASSERT_TRUE(
            Core(CreateAutomationObject, {ObjectValue(), MakeTextValue(kXmlHttpProgId)}).Logical());
    }
    void TearDown() override {
        Core(ReleaseObject, {ObjectValue()});
        Free(object_);
        net::SetRequestLimits({});
        net::Cookies().Clear();
        EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked";
    }

    static ValueRecord Core(CommandRoutine routine, std::vector<ValueRecord> args) {
        return Entries().CallCoreCommand(routine, int(args.size()), args.data());
    }
    ValueRecord ObjectValue() const { return MakePointer(tag::kComObject, object_); }

    int Call(const char* member, std::vector<ValueRecord> args = {}) {
        args.insert(args.begin(), {ObjectValue(), MakeTextValue(member)});
        Core(CallObjectMethod, args);
        return LastAutomationError();
    }
    int Open(const std::string& method, const std::string& url) {
        return Call("open", {MakeTextValue(method.c_str()), MakeTextValue(url.c_str()),
                             MakeLogical(false)});
    }
    // A member read as text (GBK) through a Variant, as an application would.
    std::string ReadText(const char* member, std::vector<ValueRecord> args = {}) {
        args.insert(args.begin(), {ObjectValue(), MakeTextValue(member)});
        ValueRecord v = Core(ReadObjectProperty, args);
        uint64_t bits = 0;
        std::string text;
        if (VariantToRuntime(*static_cast<Variant*>(v.Pointer()), tag::kText, &bits) && bits) {
            text = reinterpret_cast<char*>(uintptr_t(bits));
            Free(reinterpret_cast<char*>(uintptr_t(bits)));
        }
        Core(ClearVariant, {v});
        Free(v.Pointer());
        return text;
    }
    std::string Body() {
        ValueRecord v = Core(ReadObjectProperty, {ObjectValue(), MakeTextValue("responseBody")});
        ValueRecord set = Core(VariantToByteSet, {v});
        std::string bytes(reinterpret_cast<const char*>(ByteSetData(set.Pointer())),
                          ByteSetLength(set.Pointer()));
        Free(set.Pointer());
        Core(ClearVariant, {v});
        Free(v.Pointer());
        return bytes;
    }

    ComObjectBlock* object_ = nullptr;
    long before_ = 0;
};

// Empty removes the variable.
void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    if (value.empty())
        ::unsetenv(name);
    else
        ::setenv(name, value.c_str(), 1);
#endif
}

std::string RawAnswer(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

TEST_F(XmlHttpTest, StandardMethodsGoOnTheWireInUpperCase) {
    RawServer server(RawAnswer("ok"));
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/p?q=1";
    struct {
        const char* method;
        const char* requestLine;
        bool hasLength;
    } cases[] = {{"get", "GET /p?q=1 HTTP/1.1\r\n", false},
                 {"post", "POST /p?q=1 HTTP/1.1\r\n", true},
                 {"POST", "POST /p?q=1 HTTP/1.1\r\n", true},
                 {"Head", "HEAD /p?q=1 HTTP/1.1\r\n", false},
                 {"mkcol", "mkcol /p?q=1 HTTP/1.1\r\n", true}};
    for (const auto& c : cases) {
        ASSERT_EQ(Open(c.method, url), 0);
        ASSERT_EQ(Call("send", {MakeTextValue("")}), 0) << c.method;
        std::string request = server.LastRequest();
        EXPECT_TRUE(request.starts_with(c.requestLine)) << request;
        EXPECT_EQ(request.find("Content-Length: 0") != std::string::npos, c.hasLength) << request;
        EXPECT_EQ(request.find("Content-Type"), std::string::npos) << "none unless set";
        EXPECT_EQ(Body(), c.requestLine[0] == 'H' ? "" : "ok");
    }
}

// A byte that could end a line, or a method that is no token, would let the
// rest of the request pass for headers of its own: nothing is sent.
TEST_F(XmlHttpTest, RequestsThatCouldSmuggleAHeaderAreNotSent) {
    RawServer server(RawAnswer("ok"));
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
    struct {
        const char* method;
        std::string url;
        const char* headerValue;
    } cases[] = {{"GE T", base + "/p", nullptr},
                 {"GET\r\nX-Injected: 1\r\n", base + "/p", nullptr},
                 {"GET", base + "/p\tq", nullptr},
                 {"GET", base + "/p\x7Fq", nullptr},
                 {"GET", base + "/p", "a\x01b"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method + (" " + c.url));
        ASSERT_EQ(Open(c.method, c.url), 0);
        if (c.headerValue) {
            ASSERT_EQ(
                Call("setRequestHeader", {MakeTextValue("X-A"), MakeTextValue(c.headerValue)}), 0);
        }
        EXPECT_NE(Call("send"), 0);
        EXPECT_EQ(Body(), "");
    }
    EXPECT_EQ(server.LastRequest(), "") << "nothing reached the server";
    // Spaces and GBK bytes in an address travel as before.
    ASSERT_EQ(Open("GET", base + "/a b" + Gbk("手机")), 0);
    ASSERT_EQ(Call("send"), 0);
    EXPECT_TRUE(server.LastRequest().starts_with("GET /a%20b%CA%D6%BB%FA HTTP/1.1\r\n"))
        << server.LastRequest();
}

TEST_F(XmlHttpTest, ResponseMembersDescribeTheAnswer) {
    const std::string page = Gbk("<p>手机</p>");
    HttpServer server([&](httplib::Server& s) {
        s.Post("/page", [&](const httplib::Request& req, httplib::Response& res) {
            res.set_header("X-Seen", req.get_header_value("X-Asked"));
            res.set_content(page + req.body, "text/html; charset=GBK");
        });
    });
    ASSERT_EQ(Open("POST", server.Url("/page")), 0);
    EXPECT_EQ(ReadText("readyState"), "1");
    ASSERT_EQ(Call("setRequestHeader", {MakeTextValue("X-Asked"), MakeTextValue("yes")}), 0);
    ASSERT_EQ(Call("send", {MakeTextValue(Gbk("体").c_str())}), 0);
    EXPECT_EQ(ReadText("readyState"), "4");
    EXPECT_EQ(ReadText("status"), "200");
    EXPECT_EQ(ReadText("statusText"), "OK");
    EXPECT_EQ(ReadText("getResponseHeader", {MakeTextValue("x-seen")}), "yes");
    EXPECT_NE(ReadText("getAllResponseHeaders").find("X-Seen: yes\r\n"), std::string::npos);
    EXPECT_EQ(Body(), page + Gbk("体")) << "a text body travels as GBK";
    EXPECT_EQ(ReadText("responseText"), page + Gbk("体")) << "decoded by its declared charset";
}

TEST_F(XmlHttpTest, ErrorPagesAreAnswersLikeAnyOther) {
    HttpServer server([](httplib::Server& s) {
        s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("not here", "text/html");
        });
    });
    ASSERT_EQ(Open("GET", server.Url("/missing")), 0);
    ASSERT_EQ(Call("send"), 0);
    EXPECT_EQ(ReadText("status"), "404");
    EXPECT_EQ(Body(), "not here");
}

TEST_F(XmlHttpTest, BadAddressesFailAtOpen) {
    for (const char* address : {"", "word", "ftp://127.0.0.1/x", "http://", "http://h:x/",
                                "file:///etc/hostname", ".", "..", ".x/y", ".../x", "~/x"}) {
        EXPECT_EQ(Open("GET", address), -11) << address;
        EXPECT_EQ(Call("send"), -11) << "send without a successful open";
        EXPECT_EQ(Body(), "");
    }
    EXPECT_EQ(Open("", "http://127.0.0.1/"), -11) << "no method";
}

TEST_F(XmlHttpTest, UnreachableServerFailsAtOnce) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Open("GET", "http://127.0.0.1:" + std::to_string(testing::ClosedPort()) + "/"), 0);
    EXPECT_EQ(Call("send"), -11);
    EXPECT_EQ(Body(), "");
    EXPECT_EQ(LastAutomationError(), -11) << "no response before an answer arrived";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(XmlHttpTest, SilentServerRunsOutOfTime) {
    testing::SilentServer silent;
    net::SetRequestLimits({std::chrono::milliseconds(2000), std::chrono::milliseconds(300)});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Open("GET", "http://127.0.0.1:" + std::to_string(silent.Port()) + "/"), 0);
    EXPECT_EQ(Call("send"), -11);
    EXPECT_EQ(Body(), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(XmlHttpTest, CookiesComeFromAndGoBackToTheStore) {
    HttpServer server([](httplib::Server& s) {
        s.Get("/login", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "ticket=t1; Path=/; HttpOnly");
            res.set_redirect("/home");
        });
        s.Get("/home", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content("cookies:" + req.get_header_value("Cookie"), "text/plain");
        });
    });
    net::Cookies().SetFromHeader("browser=b1", server.Url("/"));
    ASSERT_EQ(Open("GET", server.Url("/home")), 0);
    ASSERT_EQ(Call("send"), 0);
    EXPECT_EQ(Body(), "cookies:browser=b1") << "a cookie in the store is sent";

    ASSERT_EQ(Open("GET", server.Url("/login")), 0);
    ASSERT_EQ(Call("send"), 0);
    EXPECT_EQ(Body(), "cookies:browser=b1; ticket=t1")
        << "the redirect's cookie lands in the store and travels on the next hop";
    auto all = net::Cookies().All();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_TRUE(all[1].httpOnly);
}

TEST_F(XmlHttpTest, GbkAddressBytesArrivePercentEncoded) {
    RawServer server(RawAnswer("x"));
    std::string url =
        "http://127.0.0.1:" + std::to_string(server.Port()) + "/search?q=" + Gbk("手机") + " 1";
    ASSERT_EQ(Open("POST", url), 0);
    ASSERT_EQ(Call("send"), 0);
    EXPECT_TRUE(server.LastRequest().starts_with("POST /search?q=%CA%D6%BB%FA%201 HTTP/1.1"))
        << server.LastRequest();
}

TEST_F(XmlHttpTest, FollowsTheEnvironmentsProxy) {
    RawServer proxy(RawAnswer("via proxy"));
    SetVariable("http_proxy", "http://127.0.0.1:" + std::to_string(proxy.Port()));
    SetVariable("no_proxy", "");
    SetVariable("NO_PROXY", "");
    ASSERT_EQ(Open("POST", "http://shop.example/search?q=1"), 0);
    const int sent = Call("send");
    SetVariable("http_proxy", "");
    EXPECT_EQ(sent, 0);
    EXPECT_EQ(Body(), "via proxy");
#ifdef _WIN32
    // Wine's WinHTTP names the default port in the absolute form; both mean the same.
    EXPECT_TRUE(proxy.LastRequest().starts_with("POST http://shop.example/search?q=1 HTTP/1.1") ||
                proxy.LastRequest().starts_with("POST http://shop.example:80/search?q=1 HTTP/1.1"))
        << proxy.LastRequest();
#else
    EXPECT_TRUE(proxy.LastRequest().starts_with("POST http://shop.example/search?q=1 HTTP/1.1"))
        << proxy.LastRequest();
#endif
}

TEST_F(XmlHttpTest, LocalPathsReadTheFile) {
    auto dir =
        std::filesystem::temp_directory_path() / ("velmora_xmlhttp_" + std::to_string(getpid()));
    // UTF-8 names: a narrow one would be read in the ANSI code page on Windows.
    const std::filesystem::path folder = dir / velmora::testing::Utf8Path("模板");
    std::filesystem::create_directories(folder);
    const std::string bytes = Gbk("<html>模板</html>") + std::string("\0tail", 5);
    std::ofstream(folder / velmora::testing::Utf8Path("模板文件.htm"), std::ios::binary) << bytes;

    // The program directory joined with backslashes, as the template loader does it.
    const std::string path = Gbk((dir.string() + "\\模板\\模板文件.htm").c_str());
    ASSERT_EQ(Open("POST", path), 0);
    ASSERT_EQ(Call("send", {MakeTextValue("")}), 0);
    EXPECT_EQ(Body(), bytes);
    EXPECT_EQ(ReadText("status"), "200");

    ASSERT_EQ(Open("GET", Gbk((dir.string() + "/模板/无此文件.htm").c_str())), 0);
    EXPECT_EQ(Call("send"), -11);
    EXPECT_EQ(Body(), "");

    // Relative to the current folder, as when GBK cannot spell the program's.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    for (std::string relative : {"./模板文件.htm", ".\\模板文件.htm", "../模板/模板文件.htm"}) {
        ASSERT_EQ(Open("GET", Gbk(relative.c_str())), 0) << relative;
        ASSERT_EQ(Call("send"), 0) << relative;
        EXPECT_EQ(Body(), bytes) << relative;
    }
    std::filesystem::current_path(before);
    std::filesystem::remove_all(dir);
}

TEST_F(XmlHttpTest, AbortForgetsTheRequest) {
    RawServer server(RawAnswer("body"));
    ASSERT_EQ(Open("GET", "http://127.0.0.1:" + std::to_string(server.Port()) + "/"), 0);
    ASSERT_EQ(Call("send"), 0);
    ASSERT_EQ(Call("abort"), 0);
    EXPECT_EQ(ReadText("readyState"), "0");
    EXPECT_EQ(Body(), "");
    EXPECT_EQ(Call("send"), -11);
}

}  // namespace
}  // namespace velmora::commands
