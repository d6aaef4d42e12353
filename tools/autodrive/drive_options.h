// What a self-driven run does: the keywords and item count it types, the
// template it picks, where its screenshots go and whether it presses stop.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace velmora::autodrive {

struct DriveOptions {
    QStringList keywords{QStringLiteral("手机"), QStringLiteral("连衣裙")};
    QString itemCount = QStringLiteral("3");  // typed as it stands, like a user would
    QString templateName = QStringLiteral("高贵大气");
    QString shotsDirectory;       // empty: no screenshots
    bool stopAfterFirst = false;  // press stop once the first page is done
    // Every wait's deadline is multiplied by this; a slow machine may need more.
    double patience = 1.0;
};

// Reads the driver's own arguments (argument 0 is the program); the Qt
// arguments the application object took are gone by then. Anything unknown
// or malformed gives no options and a message in `error`.
std::optional<DriveOptions> ParseDriveOptions(const QStringList& arguments, QString* error);

// One line per option, for --help and for a refused command line.
QString DriveUsage();

}  // namespace velmora::autodrive
