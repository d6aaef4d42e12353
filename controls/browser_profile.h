// The one browser profile of the process: kept on disk under the user's data
// directory so that a login survives a restart, and mirrored both ways into
// the process-wide cookie store (HttpOnly cookies included), which the HTTP
// object and the page reader use.
#pragma once

#include <QString>

class QWebEngineProfile;

namespace velmora::controls {

// Made on first use; needs the application object. Requests follow the
// system's proxy settings (on these machines the proxy environment).
QWebEngineProfile* BrowserProfile();

// Where the profile keeps its files.
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
