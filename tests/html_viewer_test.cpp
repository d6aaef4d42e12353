#include "controls/html_viewer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QNetworkCookie>
#include <QTemporaryDir>
#include <QThread>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "controls/browser_library.h"
#include "controls/browser_profile.h"
#include "controls/group_box.h"
#include "controls/html_viewer_commands.h"
#include "controls/html_viewer_data.h"
#include "net/cookie_store.h"
#include "runtime/gbk_qt.h"
#include "runtime/heap.h"
#include "tests/live_window.h"
#include "tests/loopback_server.h"

namespace velmora::controls {
namespace {

using namespace velmora::testing;

constexpr uint32_t kTypeHtmlViewer = 0x00020001;
constexpr uint32_t kFrame = 0x16010001;
constexpr uint32_t kLogin = 0x16010002;
constexpr uint32_t kPreview = 0x16010003;
constexpr uint32_t kHelp = 0x16010004;

// What the preview's before-navigate handler saw, and whether it refuses.
struct Seen {
    std::string eventArgument;
    std::string addressProperty;
    int beforeNavigate = 0;
    bool refuse = false;
} seen;

ValueRecord Property(uint32_t unit, int own) {
    auto get = reinterpret_cast<GetPropertyRoutine>(HtmlViewerInterface(kRequestGetProperty));
    return get(FindLiveObject(kSampleWindowId, unit), own);
}

std::string TakeText(ValueRecord text) {
    std::string s = static_cast<const char*>(text.Pointer()) ? text.Text() : "";
    Free(text.Pointer());
    return s;
}

HandlerResult BeforeNavigate(const HandlerCall& call) {
    ++seen.beforeNavigate;
    seen.eventArgument = reinterpret_cast<const char*>(call.arguments[0]);
    seen.addressProperty = TakeText(Property(kPreview, kHtmlAddress));
    if (seen.refuse) return {true, 0};
    return {};
}

const HandlerEntry kHandlers[] = {{"BeforeNavigate", BeforeNavigate}};

UnitRecord Viewer(uint32_t id, uint32_t parent, QRect place, const HtmlViewerData& data = {}) {
    UnitRecord u = Unit(id, kTypeHtmlViewer, parent, kStateVisible);
    u.left = place.x();
    u.top = place.y();
    u.width = place.width();
    u.height = place.height();
    u.typeData = WriteStoredData(data);
    return u;
}

// The main window's arrangement: the login browser far larger than its
// frame and shifted left, beside two ordinary browsers.
WindowRecord BrowserWindow() {
    WindowRecord w;
    w.id = kSampleWindowId;
    UnitRecord window = WindowUnit({kFrame, kPreview, kHelp});
    window.width = 760;
    window.height = 480;
    w.units.push_back(window);
    UnitRecord frame = Unit(kFrame, kTypeGroupBox, 0, kStateVisible, {kLogin});
    frame.left = 10;
    frame.top = 10;
    frame.width = 384;
    frame.height = 280;
    w.units.push_back(frame);
    HtmlViewerData login;
    login.keepsLogin = 1;
    w.units.push_back(Viewer(kLogin, kFrame, {-768, 0, 1152, 1416}, login));
    UnitRecord preview = Viewer(kPreview, 0, {410, 10, 330, 220});
    preview.events = {{kBeforeNavigate, HandlerOffset(0), nullptr}};
    w.units.push_back(preview);
    w.units.push_back(Viewer(kHelp, 0, {410, 240, 330, 220}));
    return w;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds = 30000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

constexpr char kPicture[] =
    "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'><rect width='4' "
    "height='4'/></svg>";

class Pages {
  public:
    Pages() {
        // The browser keeps connections open; closing each after its answer
        // lets the server stop at once.
        server_.set_keep_alive_max_count(1);
        server_.Get("/page", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "seen=yes; Path=/; HttpOnly");
            res.set_content("<html><head><title>Loopback</title></head><body>hi</body></html>",
                            "text/html");
        });
        server_.Get("/pic", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kPicture, "image/svg+xml");
        });
        server_.Get("/login", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "session=login; Path=/; HttpOnly");
            res.set_content("<html><head><title>login</title></head></html>", "text/html");
        });
        server_.Get("/echo", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            cookies_.push_back(req.get_header_value("Cookie"));
            res.set_content("<html><head><title>echo</title></head></html>", "text/html");
        });
        // Blue where the frame must hide the page, green where it shows it.
        server_.Get("/clip", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(
                "<html><body style='margin:0'>"
                "<div style='position:absolute;left:0;top:0;width:768px;height:1416px;"
                "background:#0000ff'></div>"
                "<div style='position:absolute;left:768px;top:0;width:384px;height:1416px;"
                "background:#00ff00'></div></body></html>",
                "text/html");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~Pages() {
        server_.stop();
        thread_.join();
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    std::vector<std::string> CookieHeaders() {
        std::lock_guard lock(mutex_);
        return cookies_;
    }

  private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> cookies_;
};

// Stands in for the system's proxy: answers every request it is sent and
// keeps the request targets.
class Proxy {
  public:
    Proxy() {
        server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            targets_.push_back(req.target);
            res.set_content("<html><head><title>proxied</title></head></html>", "text/html");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        thread_.detach();
    }
    int Port() const { return port_; }
    std::vector<std::string> Targets() {
        std::lock_guard lock(mutex_);
        return targets_;
    }

  private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> targets_;
};

Proxy& TheProxy() {
    static Proxy* proxy = new Proxy;  // serves until the process ends
    return *proxy;
}

class HtmlViewerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // The browser reads the proxy environment when it starts.
        qputenv("http_proxy", ("http://127.0.0.1:" + std::to_string(TheProxy().Port())).c_str());
        // The profile lives under the data directory; keep it out of the user's.
        static QString data = QDir::tempPath() + "/velmora-browser-tests-" +
                              QString::number(QCoreApplication::applicationPid());
        qputenv("XDG_DATA_HOME", data.toUtf8());
        // A file an earlier run left open to everyone.
        QDir().mkpath(BrowserProfileDirectory());
        QFile leftOver(BrowserProfileDirectory() + "/left-over");
        leftOver.open(QIODevice::WriteOnly);
        leftOver.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        EnsureApplication("html_viewer_tests");
    }
    // The browser engine's threads must be gone before the process exits;
    // left running they race the exit handlers and crash the suite.
    static void TearDownTestSuite() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete QCoreApplication::instance();
    }

    void SetUp() override {
        seen = {};
        ASSERT_TRUE(window_.Load());
    }

    QWebEngineView* View(uint32_t unit) { return window_.Live(unit)->findChild<QWebEngineView*>(); }

    void Navigate(uint32_t unit, const std::string& address, const char* helpFile = nullptr) {
        std::vector<ValueRecord> args = {
            MakeControlReference(tag::kHtmlViewer, kSampleWindowId, unit),
            MakeTextValue(address.c_str())};
        if (helpFile) args.push_back(MakeTextValue(helpFile));
        Entries().CallLibraryCommand(kBrowserLibrary, controls::Navigate,
                                     static_cast<int>(args.size()), args.data());
    }

    // Opens the address and waits until the page has loaded.
    bool Open(uint32_t unit, const std::string& address) {
        bool finished = false;
        // The view's signal: a navigation may bring the control a fresh page.
        auto c = QObject::connect(View(unit), &QWebEngineView::loadFinished,
                                  [&finished](bool) { finished = true; });
        Navigate(unit, address);
        bool ok = WaitFor([&] { return finished; });
        QObject::disconnect(c);
        return ok;
    }

    Pages pages_;
    LiveWindow window_{
        {CoreDataTypes(), BrowserDataTypes()}, BrowserWindow(), {kHandlers, std::size(kHandlers)}};
};

TEST_F(HtmlViewerTest, ANavigationSetsTheAddressAndTitle) {
    ASSERT_TRUE(Open(kHelp, pages_.Url("/page")));
    EXPECT_EQ(TakeText(Property(kHelp, kHtmlAddress)), pages_.Url("/page"));
    EXPECT_EQ(TakeText(Property(kHelp, kHtmlCaption)), "Loopback");
}

// Nothing listens: the login browser says why and offers the address again;
// another browser keeps the engine's own handling.
TEST_F(HtmlViewerTest, TheLoginBrowserExplainsAnUnreachableSite) {
    const std::string address = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/login";
    // Answers still on their way arrive when the page goes, after the test.
    auto shown = std::make_shared<std::map<uint32_t, QString>>();
    for (auto [unit, explains] : {std::pair{kLogin, true}, {kHelp, false}}) {
        SCOPED_TRACE(unit);
        Navigate(unit, address);
        auto explained = [&, unit = unit] {
            View(unit)->page()->runJavaScript(
                "document.body ? document.body.innerText + '|' + "
                "(document.links[0] ? document.links[0].href : '') : ''",
                [shown, unit](const QVariant& text) { (*shown)[unit] = text.toString(); });
            return (*shown)[unit].contains(QString::fromUtf8("无法连接阿里妈妈网站"));
        };
        EXPECT_EQ(WaitFor(explained, explains ? 30000 : 3000), explains)
            << (*shown)[unit].toStdString();
        if (explains) {
            EXPECT_TRUE((*shown)[unit].endsWith(QString::fromStdString("|" + address)));
        }
    }
}

TEST_F(HtmlViewerTest, DuringBeforeNavigateTheAddressIsTheTarget) {
    ASSERT_TRUE(Open(kPreview, pages_.Url("/page")));
    EXPECT_EQ(seen.eventArgument, pages_.Url("/page"));
    EXPECT_EQ(seen.addressProperty, pages_.Url("/page"));

    seen.refuse = true;
    Navigate(kPreview, pages_.Url("/echo"));
    ASSERT_TRUE(WaitFor([] { return seen.beforeNavigate >= 2; }));
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(pages_.CookieHeaders().empty()) << "a refused navigation sends no request";
    EXPECT_EQ(TakeText(Property(kPreview, kHtmlAddress)), pages_.Url("/page"));
}

TEST_F(HtmlViewerTest, CookiesMirrorBothWays) {
    ASSERT_TRUE(Open(kLogin, pages_.Url("/page")));
    auto seenCookie = [] {
        for (const net::Cookie& c : net::Cookies().All())
            if (c.name == "seen" && c.value == "yes") return c.httpOnly;
        return false;
    };
    EXPECT_TRUE(WaitFor(seenCookie)) << "the page's HttpOnly cookie reaches the process store";

    net::Cookie token;
    token.name = "token";
    token.value = "abc";
    token.domain = "127.0.0.1";
    net::Cookies().Set(token);
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(Open(kLogin, pages_.Url("/echo")));
    ASSERT_FALSE(pages_.CookieHeaders().empty());
    EXPECT_NE(pages_.CookieHeaders().back().find("token=abc"), std::string::npos)
        << pages_.CookieHeaders().back();
}

// A cookie that crossed between browser and store in either direction stays
// put: the mirror does not echo it back and forth.
TEST_F(HtmlViewerTest, MirroredCookiesSettle) {
    ASSERT_TRUE(Open(kLogin, pages_.Url("/page")));
    net::Cookie token;
    token.name = "settle";
    token.value = "one";
    token.domain = "127.0.0.1";
    net::Cookies().Set(token);
    token.value = "two";
    net::Cookies().Set(token);
    auto valueOf = [](const std::string& name) {
        for (const net::Cookie& c : net::Cookies().All())
            if (c.name == name) return c.value;
        return std::string("<none>");
    };
    ASSERT_TRUE(WaitFor([&] { return valueOf("seen") == "yes"; }));

    std::atomic<int> changes = 0;
    int listener =
        net::Cookies().AddListener([&](const net::Cookie&, net::CookieChange) { ++changes; });
    // Changes in `span`, with events handled meanwhile.
    auto changesWithin = [&](int spanMs) {
        int before = changes;
        for (int waited = 0; waited < spanMs; waited += 20) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(20);
        }
        return changes - before;
    };
    // The browser reports the two writes late on a loaded machine; an echo
    // between the stores would never fall quiet.
    bool quiet = false;
    for (int attempt = 0; attempt < 20 && !quiet; ++attempt) quiet = changesWithin(300) == 0;
    ASSERT_TRUE(quiet) << changes << " changes and still changing";
    EXPECT_EQ(changesWithin(500), 0);
    net::Cookies().RemoveListener(listener);
    EXPECT_EQ(valueOf("seen"), "yes");
    EXPECT_EQ(valueOf("settle"), "two");
    ASSERT_TRUE(Open(kLogin, pages_.Url("/echo")));
    EXPECT_NE(pages_.CookieHeaders().back().find("settle=two"), std::string::npos)
        << pages_.CookieHeaders().back();
}

TEST_F(HtmlViewerTest, OnlyTheLoginBrowsersWebPagesShareTheLogin) {
    ASSERT_TRUE(Open(kLogin, pages_.Url("/login")));
    auto sessionIn = [](const std::string& header) {
        return header.find("session=login") != std::string::npos;
    };
    ASSERT_TRUE(WaitFor([&] { return sessionIn(net::Cookies().HeaderFor("http://127.0.0.1/")); }));
    EXPECT_FALSE(View(kLogin)->page()->profile()->isOffTheRecord());
    for (uint32_t other : {kPreview, kHelp}) {
        ASSERT_TRUE(Open(other, pages_.Url("/echo")));
        EXPECT_TRUE(View(other)->page()->profile()->isOffTheRecord());
        EXPECT_FALSE(sessionIn(pages_.CookieHeaders().back())) << "the login stays in its browser";
    }
    // A page from the disk is off the record in the login browser too.
    QTemporaryDir folder;
    QFile page(folder.filePath("page.htm"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><head><title>disk</title></head></html>");
    page.close();
    ASSERT_TRUE(Open(kLogin, page.fileName().toStdString()));
    EXPECT_TRUE(View(kLogin)->page()->profile()->isOffTheRecord());
    ASSERT_TRUE(Open(kLogin, pages_.Url("/echo")));
    EXPECT_FALSE(View(kLogin)->page()->profile()->isOffTheRecord());
    EXPECT_TRUE(sessionIn(pages_.CookieHeaders().back()));
}

TEST_F(HtmlViewerTest, TheLoginProfileIsClosedToOthers) {
    auto mode = [](const QString& path) {
        struct stat info {};
        ::stat(path.toUtf8().constData(), &info);
        return info.st_mode & 0777;
    };
    EXPECT_EQ(mode(BrowserProfileDirectory()), 0700u);
    EXPECT_EQ(mode(BrowserProfileDirectory() + "/left-over"), 0600u);
}

TEST_F(HtmlViewerTest, APageFromTheDiskShowsItsPicturesButReadsNoOtherFile) {
    QTemporaryDir folder;
    auto write = [&](const char* name, const std::string& bytes) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
    };
    write("pic.svg", kPicture);
    write("secret.txt", "secret");
    // Two ways a script reads a file: a request of its own, and the document
    // of a frame that shows it.
    write("page.htm",
          "<html><body><img id='local' src='pic.svg'><img id='web' src='" + pages_.Url("/pic") +
              "'><iframe id='frame' src='secret.txt'></iframe><script>"
              "var request = 'blocked', frame = 'blocked';"
              "var x = new XMLHttpRequest();"
              "x.onload = function() { if (x.responseText) request = 'read'; };"
              "x.open('GET', 'secret.txt'); x.send();"
              "window.onload = function() {"
              "  try { if (document.getElementById('frame').contentDocument.body.innerText)"
              "    frame = 'read'; } catch (e) {}"
              "  setTimeout(function() { document.title = ["
              "    document.getElementById('local').naturalWidth > 0,"
              "    document.getElementById('web').naturalWidth > 0, request, frame].join(' ');"
              "  }, 200); };"
              "</script></body></html>");
    // By a path relative to the current folder, as when GBK cannot spell the program's.
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const bool opened = Open(kPreview, "./page.htm");
    QDir::setCurrent(before);
    ASSERT_TRUE(opened);
    ASSERT_TRUE(WaitFor([&] { return !View(kPreview)->title().contains("page.htm"); }));
    EXPECT_EQ(View(kPreview)->title().toStdString(), "true true blocked blocked");
}

// A hostile preview: what it names from its own folder and below shows or
// runs; any other file fails alike, whether it exists or not, and whichever
// way a link points at it.
TEST_F(HtmlViewerTest, APreviewLoadsLocalFilesOnlyFromItsOwnFolder) {
    struct Case {
        const char *kind, *file, *src, *outcome;  // file under the root; none: missing
    };
    const Case cases[] = {
        {"img", "模板/own.svg", "own.svg", "shown"},
        {"img", "模板/sub/pic.svg", "sub/pic.svg", "shown"},
        {"img", "other/pic.svg", "../other/pic.svg", "failed"},
        {"img", "pic.svg", "../pic.svg", "failed"},
        {"script", "模板/own.js", "own.js", "ran"},
        {"script", "模板/sub/sub.js", "sub/sub.js", "ran"},
        {"script", "模板/sub/alias.js", "alias.js", "ran"},
        {"script", "other/sibling.js", "../other/sibling.js", "failed"},
        {"script", "parent.js", "../parent.js", "failed"},
        {"script", "模板2/prefix.js", "../模板2/prefix.js", "failed"},
        {"script", "other/linked.js", "linked.js", "failed"},
        {"script", "other/through.js", "up/other/through.js", "failed"},
        {"script", "velmora.conf", "../velmora.conf", "failed"},
        {"script", "keys/id_rsa", "../keys/id_rsa", "failed"},
        {"script", nullptr, "../keys/missing", "failed"},
        {"css", "模板/own.css", "own.css", "applied"},
        {"css", "模板/sub/sub.css", "sub/sub.css", "applied"},
        {"css", "other/sibling.css", "../other/sibling.css", "failed"},
    };
    QTemporaryDir root;
    auto write = [&](const QString& name, const std::string& bytes) {
        QDir().mkpath(QFileInfo(root.filePath(name)).path());
        QFile file(root.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
    };
    std::string list;
    for (size_t i = 0; i < std::size(cases); ++i) {
        std::string kind = cases[i].kind;
        list += "['" + kind + "','" + cases[i].src + "'],";
        if (cases[i].file)
            write(cases[i].file, kind == "img"      ? kPicture
                                 : kind == "script" ? "document.currentScript.title = 'ran';"
                                                    : "#m" + std::to_string(i) + " {width: 7px}");
    }
    write("velmora.conf", "app_secret = s3cr3t");  // the error would name the value
    ASSERT_TRUE(QFile::link("sub/alias.js", root.filePath("模板/alias.js")));
    ASSERT_TRUE(QFile::link("../other/linked.js", root.filePath("模板/linked.js")));
    ASSERT_TRUE(QFile::link("..", root.filePath("模板/up")));
    // The title: each element's outcome in order, then whether an error text
    // showed the secret.
    write(
        "模板/page.htm",
        "<html><head><meta charset='utf-8'></head><body><script>var cases = [" + list +
            "], outcomes = [], left = cases.length, leaked = 'sealed';"
            "onerror = function(m) { if (/s3cr3t/.test(m)) leaked = 'leaked'; };"
            "function done(i, outcome) { outcomes[i] = outcome; if (--left == 0) setTimeout("
            "  function() { document.title = outcomes.join(' ') + ' ' + leaked; }, 100); }"
            "cases.forEach(function(c, i) {"
            "  var marker = document.body.appendChild(document.createElement('div')), e;"
            "  marker.id = 'm' + i;"
            "  e = document.createElement(c[0] == 'css' ? 'link' : c[0]); e.rel = 'stylesheet';"
            "  e.onerror = function() { done(i, 'failed'); };"
            "  e.onload = function() { setTimeout(function() { done(i, c[0] == 'img' ?"
            "    (e.naturalWidth > 0 ? 'shown' : 'loaded') : c[0] == 'script' ? e.title ||"
            "    'loaded' : getComputedStyle(marker).width == '7px' ? 'applied' : 'loaded'); }); };"
            "  e[c[0] == 'css' ? 'href' : 'src'] = c[1]; document.body.appendChild(e); });"
            "</script></body></html>");
    ASSERT_TRUE(Open(kPreview, ToGbk(root.filePath("模板/page.htm"))));
    ASSERT_TRUE(WaitFor([&] { return !View(kPreview)->title().contains("page.htm"); }));
    QStringList outcomes = View(kPreview)->title().split(' ');
    ASSERT_EQ(outcomes.size(), qsizetype(std::size(cases)) + 1) << outcomes.join(' ').toStdString();
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(outcomes[qsizetype(i)].toStdString(), cases[i].outcome) << cases[i].src;
    EXPECT_EQ(outcomes.back().toStdString(), "sealed") << "no error text shows the secret";
}

TEST_F(HtmlViewerTest, TextSizeIsClampedStoredAndApplied) {
    auto set = reinterpret_cast<SetPropertyRoutine>(HtmlViewerInterface(kRequestSetProperty));
    struct Case {
        int32_t written, stored, pixels;
    };
    for (Case c : {Case{7, 4, 22}, Case{-3, 0, 12}, Case{2, 2, 16}}) {
        set(window_.Live(kHelp), kHtmlFontSize, MakeInteger(c.written));
        EXPECT_EQ(Property(kHelp, kHtmlFontSize).Int(), c.stored) << c.written;
        EXPECT_EQ(View(kHelp)->page()->settings()->fontSize(QWebEngineSettings::DefaultFontSize),
                  c.pixels)
            << c.written;
    }
}

TEST_F(HtmlViewerTest, OfflineKeepsTheBrowserOffTheNetwork) {
    auto set = reinterpret_cast<SetPropertyRoutine>(HtmlViewerInterface(kRequestSetProperty));
    set(window_.Live(kHelp), kHtmlOffline, MakeLogical(true));
    EXPECT_TRUE(Property(kHelp, kHtmlOffline).Logical());
    ASSERT_TRUE(Open(kHelp, pages_.Url("/echo")));
    EXPECT_TRUE(pages_.CookieHeaders().empty());
    set(window_.Live(kHelp), kHtmlOffline, MakeLogical(false));
    ASSERT_TRUE(Open(kHelp, pages_.Url("/echo")));
    EXPECT_EQ(pages_.CookieHeaders().size(), 1u);
}

TEST_F(HtmlViewerTest, HelpFileAddressesAreComposedWithinTheirLimit) {
    EXPECT_EQ(ComposeHelpAddress("c:\\a.chm", "/x.htm"), "its:c:\\a.chm::/x.htm");
    EXPECT_EQ(ComposeHelpAddress("h", "a", 10), "its:h::a") << "9 bytes with the terminator";
    EXPECT_EQ(ComposeHelpAddress("hh", "ab", 10), std::nullopt) << "11 would not fit";

    ASSERT_TRUE(Open(kHelp, pages_.Url("/page")));
    std::string longHelp(600, 'h');
    Navigate(kHelp, "/x.htm", longHelp.c_str());
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(TakeText(Property(kHelp, kHtmlAddress)), pages_.Url("/page"))
        << "an address that does not fit is refused";
}

TEST_F(HtmlViewerTest, AHelpFileThatFitsIsNavigatedToAndTheAddressReadsBeforeTheLoadEnds) {
    Navigate(kPreview, "/x.htm", "h.chm");
    EXPECT_EQ(View(kPreview)->url().toString(), "its:h.chm::/x.htm");

    Navigate(kHelp, pages_.Url("/page"));
    EXPECT_EQ(TakeText(Property(kHelp, kHtmlAddress)), pages_.Url("/page"))
        << "read before the first load finished";
}

TEST_F(HtmlViewerTest, StoredSettingsReadBackAndNewerLayoutsFail) {
    HtmlViewerData data;
    data.version = 0;
    data.textSize = 9;
    data.offline = 1;
    data.address = "http://a/";
    EXPECT_EQ(ReadStoredData<HtmlViewerData>(WriteStoredData(data)), data);
    data.version = 2;
    data.keepsLogin = 1;
    EXPECT_EQ(ReadStoredData<HtmlViewerData>(WriteStoredData(data)), data);
    data.version = 3;
    EXPECT_FALSE(ReadStoredData<HtmlViewerData>(WriteStoredData(data)));
    std::vector<uint8_t> cut = WriteStoredData(HtmlViewerData{.address = "abc"});
    cut.pop_back();
    EXPECT_FALSE(ReadStoredData<HtmlViewerData>(cut));
}

TEST_F(HtmlViewerTest, TheOversizedBrowserShowsOnlyItsClippedPart) {
    ASSERT_TRUE(Open(kLogin, pages_.Url("/clip")));
    ASSERT_TRUE(Open(kPreview, pages_.Url("/page")));
    QWidget* window = window_.Live(0);
    window->show();
    QImage shot;
    // The compositor needs a moment after the load to paint the frame.
    auto painted = [&] {
        shot = window->grab().toImage();
        return shot.pixelColor(10 + 192, 10 + 140) == QColor(0, 255, 0);
    };
    bool ok = WaitFor(painted, 15000);
    QString path = QDir::currentPath() + "/clipped_browser.png";
    shot.save(path);
    ASSERT_TRUE(ok) << "the frame shows the page's right third; screenshot " << path.toStdString();
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ASSERT_NE(shot.pixelColor(x, y), QColor(0, 0, 255))
                << "the hidden part shows at " << x << "," << y;
    // The clipped browser still works: it navigates again.
    ASSERT_TRUE(Open(kLogin, pages_.Url("/page")));
    EXPECT_EQ(TakeText(Property(kLogin, kHtmlAddress)), pages_.Url("/page"));
}

TEST_F(HtmlViewerTest, RequestsGoThroughTheSystemProxy) {
    ASSERT_TRUE(Open(kHelp, "http://member.velmora-test.example/membersvc/index.htm"));
    std::vector<std::string> targets = TheProxy().Targets();
    ASSERT_FALSE(targets.empty());
    EXPECT_EQ(targets.front(), "http://member.velmora-test.example/membersvc/index.htm");
    EXPECT_EQ(TakeText(Property(kHelp, kHtmlCaption)), "proxied");
}

TEST(CookieFormsTest, RoundTripBetweenStoreAndBrowser) {
    net::Cookie host;
    host.name = "a";
    host.value = "1";
    host.domain = "pub.example";
    net::Cookie domain = host;
    domain.hostOnly = false;
    domain.path = "/x";
    domain.secure = true;
    domain.httpOnly = true;
    domain.expires = net::CookieClock::time_point(std::chrono::seconds(2000000000));
    for (const net::Cookie& c : {host, domain}) {
        QNetworkCookie browser = ToBrowserCookie(c);
        net::Cookie back = FromBrowserCookie(browser);
        EXPECT_EQ(back.domain, c.domain);
        EXPECT_EQ(back.hostOnly, c.hostOnly);
        EXPECT_EQ(back.path, c.path);
        EXPECT_EQ(back.secure, c.secure);
        EXPECT_EQ(back.httpOnly, c.httpOnly);
        EXPECT_EQ(back.expires, c.expires);
        EXPECT_EQ(browser.domain().startsWith('.'), !c.hostOnly);
    }
}

}  // namespace
}  // namespace velmora::controls
