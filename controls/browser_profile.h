// The browser profiles of the process. The login browser's is kept on disk
// under the user's data directory so that a login survives a restart, and
// mirrored both ways into the process-wide cookie store (HttpOnly cookies
// included), which the HTTP object and the page reader use. Every other page
// (previews, help, anything opened from the disk) runs off the record: it
// sees none of the login's cookies and writes nothing to disk, so a hostile
// template cannot take the session.
#pragma once

#include <QString>

class QWebEngineProfile;

namespace velmora::controls {

// Made on first use; need the application object. Requests follow the
// system's proxy settings (on these machines the proxy environment).
QWebEngineProfile* BrowserProfile();
QWebEngineProfile* PrivateProfile();

// Where the login profile keeps its files: a folder only its owner may
// enter (0700), its files 0600.
QString BrowserProfileDirectory();

}  // namespace velmora::controls

class QNetworkCookie;
namespace velmora::net {
struct Cookie;
}

namespace velmora::controls {

// The two forms of one cookie: a domain cookie carries a leading dot in the
// browser's form; a cookie without expiry ends with the session.
QNetworkCookie ToBrowserCookie(const net::Cookie& cookie);
net::Cookie FromBrowserCookie(const QNetworkCookie& cookie);

}  // namespace velmora::controls
