#include "controls/browser_profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QNetworkCookie>
#include <QNetworkProxyFactory>
#include <QPointer>
#include <QThread>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <filesystem>
#include <functional>

#include "net/cookie_file.h"
#include "net/cookie_store.h"
#include "runtime/data_location.h"

namespace velmora::controls {
namespace {

QByteArray Bytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

std::string String(const QByteArray& b) {
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

// The address a cookie belongs to, which the browser checks it against.
QUrl OriginOf(const net::Cookie& cookie) {
    QUrl origin;
    origin.setScheme(cookie.secure ? "https" : "http");
    origin.setHost(QString::fromStdString(cookie.domain));
    origin.setPath("/");
    return origin;
}

// Changes of the process store reach the browser on the thread that owns
// it, whichever thread made them.
void OnBrowserThread(std::function<void()> work) {
    if (QThread::currentThread() == qApp->thread())
        work();
    else
        QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
}

// Set on a thread while it copies a change the browser reported into the
// process store. That change must not go back: the browser reports writing
// an equal cookie over its own as a removal and an addition, and the two
// would echo between the stores for as long as the process lives, the
// cookie missing from one of them every other moment.
thread_local bool copyingFromBrowser = false;

class FromBrowser {
  public:
    FromBrowser() { copyingFromBrowser = true; }
    FromBrowser(const FromBrowser&) = delete;
    FromBrowser& operator=(const FromBrowser&) = delete;
    ~FromBrowser() { copyingFromBrowser = false; }
};

// Whether the process store holds this very cookie, value included.
bool StoreHolds(const net::Cookie& cookie) {
    for (const net::Cookie& held : net::Cookies().All())
        if (held.name == cookie.name && held.domain == cookie.domain && held.path == cookie.path &&
            held.value == cookie.value)
            return true;
    return false;
}

void MirrorCookies(QWebEngineProfile* profile) {
    QWebEngineCookieStore* browser = profile->cookieStore();
    QObject::connect(browser, &QWebEngineCookieStore::cookieAdded, profile,
                     [](const QNetworkCookie& c) {
                         FromBrowser guard;
                         net::Cookies().Set(FromBrowserCookie(c));
                     });
    QObject::connect(browser, &QWebEngineCookieStore::cookieRemoved, profile,
                     [](const QNetworkCookie& c) {
                         net::Cookie gone = FromBrowserCookie(c);
                         // A value the browser replaced may already have been
                         // replaced here too; only the value it held goes.
                         if (!StoreHolds(gone)) return;
                         FromBrowser guard;
                         net::Cookies().Remove(gone.name, gone.domain, gone.path);
                     });
    QPointer<QWebEngineCookieStore> target = browser;
    net::Cookies().AddListener([target](const net::Cookie& cookie, net::CookieChange change) {
        if (copyingFromBrowser) return;
        OnBrowserThread([target, cookie, change] {
            if (!target) return;
            if (change == net::CookieChange::kSet)
                target->setCookie(ToBrowserCookie(cookie), OriginOf(cookie));
            else
                target->deleteCookie(ToBrowserCookie(cookie), OriginOf(cookie));
        });
    });
    // Cookies set before the browser started (by the HTTP object) go in too.
    for (const net::Cookie& cookie : net::Cookies().All())
        browser->setCookie(ToBrowserCookie(cookie), OriginOf(cookie));
    browser->loadAllCookies();
}

// The engine does not report the cookies it reads back at start-up, so the
// process store keeps its own copy beside the profile: loaded before the
// browser starts, written again after every change.
void KeepCookiesOnDisk() {
    net::KeepCookieFile(net::Cookies(),
                        (BrowserProfileDirectory() + "/velmora-cookies").toStdString());
}

// Chromium then takes its proxy from the system, which here is the proxy
// environment the HTTP object follows as well. Must precede the first page.
void UseSystemProxy() {
    QNetworkProxyFactory::setUseSystemConfiguration(true);
}

// The profile holds the login's cookies: only its owner may read them.
void KeepPrivate(const QString& directory) {
    namespace fs = std::filesystem;
    const fs::path root = directory.toStdString();
    std::error_code error;
    fs::permissions(root, fs::perms::owner_all, error);
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_symlink(error)) continue;
        fs::perms wanted = it->is_directory(error) ? fs::perms::owner_all
                                                   : fs::perms::owner_read | fs::perms::owner_write;
        std::error_code ignored;
        fs::permissions(it->path(), wanted, ignored);
    }
}

}  // namespace

QNetworkCookie ToBrowserCookie(const net::Cookie& cookie) {
    QNetworkCookie c(Bytes(cookie.name), Bytes(cookie.value));
    QString domain = QString::fromStdString(cookie.domain);
    c.setDomain(cookie.hostOnly ? domain : "." + domain);
    c.setPath(QString::fromStdString(cookie.path));
    c.setSecure(cookie.secure);
    c.setHttpOnly(cookie.httpOnly);
    if (cookie.expires) {
        auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(cookie.expires->time_since_epoch());
        c.setExpirationDate(QDateTime::fromSecsSinceEpoch(seconds.count(), Qt::UTC));
    }
    return c;
}

net::Cookie FromBrowserCookie(const QNetworkCookie& c) {
    net::Cookie cookie;
    cookie.name = String(c.name());
    cookie.value = String(c.value());
    QString domain = c.domain().toLower();
    cookie.hostOnly = !domain.startsWith('.');
    cookie.domain = (cookie.hostOnly ? domain : domain.mid(1)).toStdString();
    cookie.path = c.path().isEmpty() ? "/" : c.path().toStdString();
    cookie.secure = c.isSecure();
    cookie.httpOnly = c.isHttpOnly();
    if (!c.isSessionCookie())
        cookie.expires = net::CookieClock::time_point(
            std::chrono::seconds(c.expirationDate().toSecsSinceEpoch()));
    return cookie;
}

QString BrowserProfileDirectory() {
    return QString::fromStdString(UserDataPlaces().browserProfile);
}

QWebEngineProfile* BrowserProfile() {
    static QWebEngineProfile* profile = [] {
        UseSystemProxy();
        QDir().mkpath(BrowserProfileDirectory());
        KeepPrivate(BrowserProfileDirectory());
        auto* p = new QWebEngineProfile("velmora", qApp);
        p->setPersistentStoragePath(BrowserProfileDirectory());
        p->setCachePath(BrowserProfileDirectory() + "/cache");
        // A login is usually a session cookie; keep it for the next start.
        p->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
        KeepCookiesOnDisk();
        MirrorCookies(p);
        return p;
    }();
    return profile;
}

QWebEngineProfile* PrivateProfile() {
    static QWebEngineProfile* profile = [] {
        UseSystemProxy();
        return new QWebEngineProfile(qApp);  // no storage name: off the record
    }();
    return profile;
}

}  // namespace velmora::controls
