#include "controls/default_browser.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextStream>

namespace velmora::controls {
namespace {

bool StartDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

ProgramStarter& Starter() {
    static ProgramStarter starter = StartDetached;
    return starter;
}

QStringList Directories(const char* variable, const QString& fallback) {
    QString value = qEnvironmentVariable(variable);
    return (value.isEmpty() ? fallback : value).split(':', Qt::SkipEmptyParts);
}

QString Home(const char* variable, const char* underHome) {
    QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? QDir::homePath() + underHome : value;
}

QStringList DataDirectories() {
    return QStringList{Home("XDG_DATA_HOME", "/.local/share")} +
           Directories("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
}

// The value of `key` in `[section]` of a desktop-style key file; empty when
// the file or the key is missing.
QString KeyOf(const QString& path, const QString& section, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&file);
    bool inSection = false;
    while (!in.atEnd()) {
        QString line = in.readLine().trimmed();
        if (line.startsWith('[')) inSection = line == '[' + section + ']';
        if (inSection && line.section('=', 0, 0).trimmed() == key)
            return line.section('=', 1).trimmed();
    }
    return {};
}

// The first mimeapps.list in the freedesktop order that names a default.
QString DefaultDesktopId() {
    QStringList lists{Home("XDG_CONFIG_HOME", "/.config") + "/mimeapps.list"};
    for (const QString& dir : Directories("XDG_CONFIG_DIRS", "/etc/xdg"))
        lists << dir + "/mimeapps.list";
    for (const QString& dir : DataDirectories()) lists << dir + "/applications/mimeapps.list";
    for (const QString& list : lists) {
        QString first = KeyOf(list, "Default Applications", "text/html").section(';', 0, 0);
        if (!first.isEmpty()) return first;
    }
    return {};
}

QString ExecLine(const QString& desktopId) {
    for (const QString& dir : DataDirectories()) {
        QString exec = KeyOf(dir + "/applications/" + desktopId, "Desktop Entry", "Exec");
        if (!exec.isEmpty()) return exec;
    }
    return {};
}

}  // namespace

std::optional<QStringList> DefaultHtmlCommand() {
    QString desktopId = DefaultDesktopId();
    QString exec = desktopId.isEmpty() ? QString() : ExecLine(desktopId);
    QStringList command;
    for (const QString& part : QProcess::splitCommand(exec)) {
        if (part.startsWith('%')) break;
        command << part;
    }
    if (command.isEmpty()) return std::nullopt;
    return command;
}

bool OpenWithDefaultBrowser(const QString& address) {
    std::optional<QStringList> command = DefaultHtmlCommand();
    if (!command) return false;
    return Starter()(command->first(), command->mid(1) << address);
}

void SetProgramStarter(ProgramStarter starter) {
    Starter() = starter ? std::move(starter) : StartDetached;
}

}  // namespace velmora::controls
