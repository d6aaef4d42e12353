#include "net/cookie_store.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "net/cookie_file.h"
#include "net/url_parts.h"

namespace velmora::net {
namespace {

using namespace std::chrono_literals;

const CookieClock::time_point kNow = CookieClock::time_point(1'700'000'000s);

TEST(UrlParts, SplitsWithoutEscaping) {
    auto p = SplitUrl("HTTP://User:Pw@Example.COM:8080/a b/\xCA\xD6?q=1#frag");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->scheme, "http");
    EXPECT_EQ(p->user, "User");
    EXPECT_EQ(p->password, "Pw");
    EXPECT_EQ(p->host, "example.com");
    EXPECT_EQ(p->port, 8080);
    EXPECT_EQ(p->path, "/a b/\xCA\xD6?q=1");
    EXPECT_EQ(SplitUrl("https://h")->port, 443);
    EXPECT_EQ(SplitUrl("https://h")->path, "/");
    EXPECT_EQ(SplitUrl("http://[::1]:81/x")->host, "[::1]");
    for (const char* bad : {"word", "", "http://", "http://:80/", "http://h:0/", "http://h:99999/",
                            "http://h:8x/", "1http://h/", "//h/x"})
        EXPECT_FALSE(SplitUrl(bad)) << bad;
}

struct SendCase {
    const char* setCookie;
    const char* from;
    const char* to;
    const char* header;
};

class CookieSending : public ::testing::TestWithParam<SendCase> {};

TEST_P(CookieSending, SendsWhatMatchesHostPathAndChannel) {
    const SendCase& c = GetParam();
    CookieStore store;
    EXPECT_TRUE(store.SetFromHeader(c.setCookie, c.from, kNow));
    EXPECT_EQ(store.HeaderFor(c.to, kNow), c.header);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CookieSending,
    ::testing::Values(
        SendCase{"a=1", "http://x.com/", "http://x.com/any/where", "a=1"},
        SendCase{"a=1", "http://x.com/", "http://sub.x.com/", ""},  // host-only
        SendCase{"a=1; Domain=.x.com", "http://www.x.com/", "http://other.x.com/p", "a=1"},
        SendCase{"a=1; Domain=x.com", "http://x.com/", "http://evilx.com/", ""},
        SendCase{"a=1; Path=/shop", "http://x.com/", "http://x.com/shop/cart?id=2", "a=1"},
        SendCase{"a=1; Path=/shop", "http://x.com/", "http://x.com/shopping", ""},
        SendCase{"a=1", "http://x.com/dir/page.htm", "http://x.com/dir", "a=1"},
        SendCase{"a=1", "http://x.com/dir/page.htm", "http://x.com/", ""},  // default path
        SendCase{"a=1; Secure", "https://x.com/", "http://x.com/", ""},
        SendCase{"a=1; Secure", "https://x.com/", "https://x.com/", "a=1"},
        SendCase{"a=1; HttpOnly", "http://x.com/", "http://x.com:8080/", "a=1"},
        SendCase{" sp = v v ; path=/", "http://x.com/", "http://x.com/", "sp=v v"}));

TEST(CookieStore, RejectsLinesWithoutANameOrAForeignDomain) {
    CookieStore store;
    EXPECT_FALSE(store.SetFromHeader("novalue", "http://x.com/", kNow));
    EXPECT_FALSE(store.SetFromHeader("=v", "http://x.com/", kNow));
    EXPECT_FALSE(store.SetFromHeader("a=1; Domain=y.com", "http://x.com/", kNow));
    EXPECT_FALSE(store.SetFromHeader("a=1; Domain=0.1", "http://10.0.0.1/", kNow));
    EXPECT_FALSE(store.SetFromHeader("a=1", "not a url", kNow));
    EXPECT_FALSE(store.SetFromHeader("a=1\rX-Injected: yes", "http://x.com/", kNow));
    EXPECT_FALSE(store.SetFromHeader("a\x01=1", "http://x.com/", kNow));
    Cookie smuggler;
    smuggler.name = "b";
    smuggler.value = "2\r\nX: y";
    smuggler.domain = "x.com";
    store.Set(smuggler, kNow);
    EXPECT_TRUE(store.All(kNow).empty());
}

TEST(CookieStore, NoCookieForAPublicSuffix) {
    CookieStore store;
    for (auto [line, from] : {std::pair{"a=1; Domain=com", "http://shop.example.com/"},
                              {"a=1; Domain=.com.cn", "http://shop.example.com.cn/"},
                              {"a=1; Domain=github.io", "http://shop.github.io/"}})
        EXPECT_FALSE(store.SetFromHeader(line, from, kNow)) << line;
    Cookie mirrored;  // as the browser would report one
    mirrored.name = "b";
    mirrored.value = "2";
    mirrored.domain = ".com";
    store.Set(mirrored, kNow);
    EXPECT_TRUE(store.All(kNow).empty());

    EXPECT_TRUE(
        store.SetFromHeader("c=3; Domain=example.com.cn", "http://a.example.com.cn/", kNow));
    EXPECT_EQ(store.HeaderFor("http://b.example.com.cn/", kNow), "c=3");
    // A site that is a public suffix itself keeps the cookie to itself.
    EXPECT_TRUE(store.SetFromHeader("d=4; Domain=github.io", "http://github.io/", kNow));
    EXPECT_EQ(store.HeaderFor("http://github.io/", kNow), "d=4");
    EXPECT_EQ(store.HeaderFor("http://shop.github.io/", kNow), "");
}

TEST(CookieStore, ExpiryIsHonoured) {
    CookieStore store;
    store.SetFromHeader("session=s", "http://x.com/", kNow);
    store.SetFromHeader("short=1; Max-Age=60", "http://x.com/", kNow);
    store.SetFromHeader("dated=1; Expires=Wed, 21 Oct 2037 07:28:00 GMT", "http://x.com/", kNow);
    store.SetFromHeader("both=1; Expires=Wed, 21 Oct 2037 07:28:00 GMT; Max-Age=10",
                        "http://x.com/", kNow);
    EXPECT_EQ(store.HeaderFor("http://x.com/", kNow), "session=s; short=1; dated=1; both=1");
    EXPECT_EQ(store.HeaderFor("http://x.com/", kNow + 30s), "session=s; short=1; dated=1")
        << "Max-Age outranks Expires";
    EXPECT_EQ(store.HeaderFor("http://x.com/", kNow + 61s), "session=s; dated=1");

    store.SetFromHeader("dated=gone; Max-Age=0", "http://x.com/", kNow);
    store.SetFromHeader("session=x; Expires=Thu, 01 Jan 1970 00:00:00 GMT", "http://x.com/", kNow);
    EXPECT_EQ(store.HeaderFor("http://x.com/", kNow), "short=1; both=1")
        << "a past expiry deletes the cookie";
}

TEST(CookieStore, ReadsEveryCommonDateLayout) {
    const auto expected = ParseCookieDate("Sun, 06 Nov 1994 08:49:37 GMT");
    ASSERT_TRUE(expected);
    EXPECT_EQ(ParseCookieDate("Sunday, 06-Nov-94 08:49:37 GMT"), expected);
    EXPECT_EQ(ParseCookieDate("Sun Nov  6 08:49:37 1994"), expected);
    EXPECT_EQ(ParseCookieDate("6 nov 1994 8:49:37"), expected);
    for (const char* bad : {"", "tomorrow", "Sun, 31 Feb 1994 08:49:37 GMT",
                            "Sun, 06 Nov 1994 25:00:00 GMT", "Sun, 06 Nov 1994"})
        EXPECT_FALSE(ParseCookieDate(bad)) << bad;
}

TEST(CookieStore, LongerPathsComeFirstAndNamesakesAreReplaced) {
    CookieStore store;
    store.SetFromHeader("a=root; Path=/", "http://x.com/", kNow);
    store.SetFromHeader("a=deep; Path=/p/q", "http://x.com/", kNow);
    store.SetFromHeader("b=1; Path=/p", "http://x.com/", kNow);
    EXPECT_EQ(store.HeaderFor("http://x.com/p/q/r", kNow), "a=deep; b=1; a=root");
    store.SetFromHeader("a=new; Path=/", "http://x.com/", kNow);
    EXPECT_EQ(store.HeaderFor("http://x.com/", kNow), "a=new");
    EXPECT_EQ(store.All(kNow).size(), 3u);
}

TEST(CookieStore, ListenersHearRealChangesOnly) {
    CookieStore store;
    std::vector<std::string> heard;
    int id = store.AddListener([&](const Cookie& c, CookieChange change) {
        heard.push_back((change == CookieChange::kSet ? "+" : "-") + c.name + "=" + c.value);
    });
    Cookie login{"login", "yes", ".x.com", "/", true, false, true, std::nullopt};
    store.Set(login, kNow);
    store.Set(login, kNow);  // a mirror writing back what it heard
    EXPECT_FALSE(store.All(kNow)[0].hostOnly) << "a leading dot makes a domain cookie";
    EXPECT_TRUE(store.All(kNow)[0].httpOnly);
    EXPECT_EQ(store.HeaderFor("http://www.x.com/", kNow), "login=yes");
    EXPECT_TRUE(store.Remove("login", "x.com", "/"));
    EXPECT_FALSE(store.Remove("login", "x.com", "/"));
    store.SetFromHeader("t=1", "http://x.com/", kNow);
    store.RemoveListener(id);
    store.Clear();
    EXPECT_EQ(heard, (std::vector<std::string>{"+login=yes", "-login=yes", "+t=1"}));
}

TEST(CookieStore, AListenerMayWriteBackIntoTheStore) {
    CookieStore store;
    store.AddListener([&](const Cookie& c, CookieChange change) {
        if (change == CookieChange::kSet) store.Set(c, kNow);
    });
    store.SetFromHeader("a=1", "http://x.com/", kNow);
    EXPECT_EQ(store.HeaderFor("http://x.com/", kNow), "a=1");
}

// Counting the jar's writes needs inotify, which Windows does not have; the
// store's limits are the same code there.
#ifndef _WIN32
// Names renamed into the watched folder: the jar's replacements. Creations
// are watched too only so that no two events in a row merge.
int Replacements(int watch) {
    alignas(inotify_event) char events[1 << 16];
    int count = 0;
    for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;)
        for (char* e = events; e < events + n;
             e += sizeof(inotify_event) + ((inotify_event*)e)->len)
            count += (((inotify_event*)e)->mask & IN_MOVED_TO) != 0;
    return count;
}

TEST(CookieStore, KeepsWhatBrowsersKeepAndWritesTheJarOnceAnAnswer) {
    using Answers = std::vector<std::pair<std::string, std::vector<std::string>>>;
    auto numbered = [](const std::string& prefix, size_t count) {
        std::vector<std::string> lines;
        for (size_t i = 0; i < count; ++i) lines.push_back(prefix + std::to_string(i) + "=1");
        return lines;
    };
    Answers manySites;
    for (int d = 0; d < 20; ++d)
        manySites.emplace_back("http://d" + std::to_string(d) + ".com/",
                               numbered("d" + std::to_string(d) + "_", 160));
    const std::string large(4095, 'v');
    const struct {
        const char* what;
        size_t kept;
        std::string oldest;  // "name=value" of the first kept
        int writes;
        Answers answers;
    } cases[] = {
        {"Secure over http", 0, "", 0, {{"http://x.com/", {"s=1; Secure"}}}},
        {"Secure over https", 1, "s=1", 1, {{"https://x.com/", {"s=1; Secure"}}}},
        {"http over Secure",
         2,
         "s=1",
         2,
         {{"https://x.com/", {"s=1; Secure"}}, {"http://x.com/", {"s=2", "t=1"}}}},
        {"too large", 2, "a=1", 1, {{"http://x.com/", {"a=1", "b=" + large + "v", "c=" + large}}}},
        {"per site", 180, "n20=1", 1, {{"http://x.com/", numbered("n", 200)}}},
        {"site of hosts",
         180,
         "a18=1",
         2,
         {{"http://a.x.com/", numbered("a", 99)}, {"http://b.x.com/", numbered("b", 99)}}},
        {"in all", 3000, "d1_40=1", 20, manySites},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        char folder[] = "/tmp/velmora-jar-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        int watch = inotify_init1(IN_NONBLOCK);
        inotify_add_watch(watch, folder, IN_CREATE | IN_MOVED_TO);
        CookieStore store;
        const std::string jar = std::string(folder) + "/jar";
        KeepCookieFile(store, jar);
        for (const auto& [url, lines] : c.answers)
            store.SetFromHeaders({lines.begin(), lines.end()}, url, kNow);

        std::vector<Cookie> kept = store.All(kNow);
        EXPECT_EQ(kept.size(), c.kept);
        EXPECT_EQ(kept.empty() ? "" : kept[0].name + "=" + kept[0].value, c.oldest);
        EXPECT_EQ(Replacements(watch), c.writes);
        EXPECT_EQ(LoadCookieFile(jar).size(), c.kept);
        close(watch);
        std::filesystem::remove_all(folder);
    }
}
#endif

TEST(CookieFile, KeepsEveryFieldAndSkipsWhatItCannotRead) {
    Cookie session{"sim_session", "b02f", "alimama.com", "/", false, false, true, std::nullopt};
    Cookie lasting{"pref",
                   "a=b",
                   "www.example.com",
                   "/shop",
                   true,
                   true,
                   false,
                   CookieClock::time_point(std::chrono::seconds(1900000000))};
    const std::string text = FormatCookies({session, lasting});
    std::vector<Cookie> back = ParseCookies(text +
                                            "broken line\nx\t\t\t/\t0\t0\t0\t\n"
                                            "y\t1\td.com\t/\t0\t0\t0\tsoon\n");
    ASSERT_EQ(back.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const Cookie& want = i == 0 ? session : lasting;
        EXPECT_EQ(back[i].name, want.name);
        EXPECT_EQ(back[i].value, want.value);
        EXPECT_EQ(back[i].domain, want.domain);
        EXPECT_EQ(back[i].path, want.path);
        EXPECT_EQ(back[i].hostOnly, want.hostOnly);
        EXPECT_EQ(back[i].secure, want.secure);
        EXPECT_EQ(back[i].httpOnly, want.httpOnly);
        EXPECT_EQ(back[i].expires, want.expires);
    }

#ifndef _WIN32  // the file's owner-only mode is a POSIX permission
    char folder[] = "/tmp/velmora-cookies-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/cookies";
    EXPECT_TRUE(LoadCookieFile(path).empty());
    ASSERT_TRUE(SaveCookieFile(path, {session}));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "a login is a secret";
    EXPECT_EQ(LoadCookieFile(path).size(), 1u);
    EXPECT_FALSE(SaveCookieFile(std::string(folder) + "/missing/cookies", {session}));
    unlink(path.c_str());
    rmdir(folder);
#endif
}

}  // namespace
}  // namespace velmora::net
