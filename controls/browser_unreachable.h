// What the login browser shows when the affiliate site cannot be reached,
// instead of an empty page: the likely reasons and a way to try again.
#pragma once

#include <QString>
#include <QUrl>

namespace velmora::controls {

// A page of its own, needing nothing from the network: the address that
// failed, the engine's reason, and a link that opens the address again.
QString UnreachablePage(const QUrl& address, const QString& reason);

}  // namespace velmora::controls
