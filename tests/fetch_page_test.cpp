#include "app/fetch_page.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "commands/automation_object.h"
#include "commands/automation_registry.h"
#include "commands/xmlhttp.h"
#include "loopback_server.h"
#include "net/cookie_store.h"
#include "net/http_client.h"
#include "runtime/heap.h"
#include "test_support.h"

namespace velmora::app {
namespace {

using commands::AutomationObject;
using testing::Gbk;
using testing::HttpServer;

class FetchPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        net::Cookies().Clear();
        before_ = LiveBlockCount();
    }
    void TearDown() override {
        net::SetRequestLimits({});
        net::Cookies().Clear();
        EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked";
    }
    static std::string Fetch(const std::string& address, const char* method = nullptr) {
        return std::string(FetchPage(address.c_str(), method).view());
    }
    long before_ = 0;
};

// Stands in for the HTTP class to see exactly what the page fetch asks of it.
class Recorder : public commands::DescribedObject {
  public:
    static inline std::string method, address, body;
    static inline int async = -1, created = 0, alive = 0;

    Recorder() {
        ++created;
        ++alive;
    }
    ~Recorder() override { --alive; }
    const commands::TypeInfo* GetTypeInfo() const override {
        using namespace commands;
        static constexpr TypeDescription kText{vt::kString};
        static constexpr TypeDescription kAny{vt::kVariant};
        static const TypeInfo info("Recorder",
                                   {{"open",
                                     1,
                                     MemberDescription::Kind::kFunction,
                                     InvokeKind::kMethod,
                                     {{kText}, {kText}, {kAny, param::kIn | param::kOptional}},
                                     1,
                                     {vt::kVoid}},
                                    {"send",
                                     2,
                                     MemberDescription::Kind::kFunction,
                                     InvokeKind::kMethod,
                                     {{kAny, param::kIn | param::kOptional}},
                                     1,
                                     {vt::kVoid}},
                                    {"responseBody",
                                     3,
                                     MemberDescription::Kind::kFunction,
                                     InvokeKind::kPropertyGet,
                                     {},
                                     0,
                                     kAny}});
        return &info;
    }

  protected:
    commands::Status CallMember(const commands::MemberDescription& m, commands::InvokeKind,
                                std::span<commands::Variant> args,
                                commands::Variant* result) override {
        using namespace commands;
        auto gbk = [](const Variant& v) {
            return v.vt == vt::kString ? Utf16ToGbkKeepingBytes(StringView(v.string))
                                       : "<not text>";
        };
        if (m.memberId == 1) {
            method = gbk(args[0]);
            address = gbk(args[1]);
            async = args[2].vt == vt::kBool ? args[2].boolean : 99;
        } else if (m.memberId == 2) {
            body = gbk(args[0]);
        } else {
            *result = MakeByteArrayVariant("recorded", 8);
        }
        return status::kOk;
    }
};

class WithRecorder : public FetchPageTest {
  protected:
    void SetUp() override {
        FetchPageTest::SetUp();
        commands::Classes().Unregister(commands::kXmlHttpProgId);
        commands::Classes().Register(commands::kXmlHttpProgId, commands::kXmlHttpClassId,
                                     []() -> AutomationObject* { return new Recorder; });
    }
    void TearDown() override {
        commands::Classes().Unregister(commands::kXmlHttpProgId);
        commands::RegisterXmlHttpClass(commands::Classes());
        FetchPageTest::TearDown();
    }
};

TEST_F(WithRecorder, SettlesTheMethodAndMakesOneSynchronousRequestPerCall) {
    struct {
        const char* given;
        const char* passed;
    } cases[] = {{nullptr, "get"}, {"", "get"},      {"GET", "get"}, {"get", "get"},
                 {"post", "post"}, {"POST", "POST"}, {"Get", "Get"}};
    for (const auto& c : cases) {
        const int createdBefore = Recorder::created;
        EXPECT_EQ(Fetch(Gbk("http://h/搜索"), c.given), "recorded");
        EXPECT_EQ(Recorder::method, c.passed) << (c.given ? c.given : "null");
        EXPECT_EQ(Recorder::address, Gbk("http://h/搜索"));
        EXPECT_EQ(Recorder::async, 0) << "open is told false: synchronous";
        EXPECT_EQ(Recorder::body, "") << "no body travels as an empty string";
        EXPECT_EQ(Recorder::created, createdBefore + 1);
        EXPECT_EQ(Recorder::alive, 0) << "the object is released before the page returns";
    }
    EXPECT_EQ(std::string(FetchPage("http://h/", "POST", "a=1").view()), "recorded");
    EXPECT_EQ(Recorder::body, "a=1");
}

TEST_F(FetchPageTest, NoObjectNoRequest) {
    commands::Classes().Unregister(commands::kXmlHttpProgId);
    EXPECT_EQ(Fetch("http://127.0.0.1:1/"), "");
    commands::RegisterXmlHttpClass(commands::Classes());
}

TEST_F(FetchPageTest, BodyIsTakenUpToItsFirstZeroByteWhateverTheStatus) {
    HttpServer server([](httplib::Server& s) {
        s.Get("/zero", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string("before\0after", 12), "text/html; charset=utf-8");
        });
        s.Post("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("<h1>404</h1>", "text/html");
        });
        s.Post("/empty", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("", "text/html");
        });
    });
    EXPECT_EQ(Fetch(server.Url("/zero"), "GET"), "before");
    EXPECT_EQ(Fetch(server.Url("/missing"), "POST"), "<h1>404</h1>");
    EXPECT_EQ(Fetch(server.Url("/empty"), "POST"), "");
}

TEST_F(FetchPageTest, LoginCheckSeesTheBrowsersCookies) {
    const std::string loggedIn = Gbk("欢迎 退出");
    HttpServer server([&](httplib::Server& s) {
        s.Post("/membersvc/index.htm", [&](const httplib::Request& req, httplib::Response& res) {
            bool known = req.get_header_value("Cookie").find("login=ok") != std::string::npos;
            res.set_header("Set-Cookie", "seen=1");
            res.set_content(known ? loggedIn : "please log in", "text/html; charset=gbk");
        });
    });
    const std::string address = server.Url("/membersvc/index.htm");
    EXPECT_EQ(Fetch(address, "post"), "please log in");
    net::Cookies().SetFromHeader("login=ok", address);
    EXPECT_EQ(Fetch(address, "post"), loggedIn) << "GBK bytes come back as they were sent";
    EXPECT_NE(net::Cookies().HeaderFor(address).find("seen=1"), std::string::npos);
}

TEST_F(FetchPageTest, FailuresGiveTheEmptyText) {
    EXPECT_EQ(Fetch(""), "");
    EXPECT_EQ(Fetch("not an address"), "");
    EXPECT_EQ(Fetch("http://127.0.0.1:" + std::to_string(testing::ClosedPort()) + "/"), "");

    testing::SilentServer silent;
    net::SetRequestLimits({std::chrono::milliseconds(2000), std::chrono::milliseconds(300)});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Fetch("http://127.0.0.1:" + std::to_string(silent.Port()) + "/", "POST"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10))
        << "a server that never answers runs out of time";
}

TEST_F(FetchPageTest, ReadsATemplateFileByPath) {
    auto dir =
        std::filesystem::temp_directory_path() / ("velmora_fetch_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string content = Gbk("<!--头部-->\r\n<div>{标题}</div>");
    std::ofstream(dir / "模板文件.htm", std::ios::binary) << content;
    EXPECT_EQ(Fetch(Gbk((dir.string() + "\\模板文件.htm").c_str()), "POST"), content);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmora::app
