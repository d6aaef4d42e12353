// The program the desktop registers for .htm pages (the text/html default of
// the freedesktop mimeapps.list files), the fallback when a link does not
// open the ordinary way.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace velmora::controls {

// The default application's command line up to the address: the Exec line
// of its desktop file, cut at the first field code (%u, %U, %f, %F).
std::optional<QStringList> DefaultHtmlCommand();

// Starts the default application with the address appended; false when
// there is none or it does not start.
bool OpenWithDefaultBrowser(const QString& address);

// Tests start nothing: the starter receives program and arguments; an empty
// one restores the real start.
using ProgramStarter = std::function<bool(const QString& program, const QStringList& arguments)>;
void SetProgramStarter(ProgramStarter starter);

}  // namespace velmora::controls
