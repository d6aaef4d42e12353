#include "runtime/program_start.h"

#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "runtime/qt_host.h"
#include "runtime/shutdown.h"
#include "runtime/startup.h"

namespace velmora {
namespace {

// The browser engine refuses to start as root with its sandbox on; it reads
// the switch when the application object is made, so it must be set before.
void AllowBrowserAsRoot() {
    if (geteuid() != 0 || std::getenv("QTWEBENGINE_DISABLE_SANDBOX")) return;
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    std::fputs(
        "velmora: running as root, so the browser sandbox is off "
        "(QTWEBENGINE_DISABLE_SANDBOX=1)\n",
        stderr);
}

}  // namespace

int RunProgram(int& argc, char** argv, const ProgramHeader& header, EntryRoutine entry,
               WindowLayer* windows) {
    AllowBrowserAsRoot();
    QApplication application(argc, argv);
    QtRuntimeHost host;
    BeginProgram(header, &host, windows);
    // The entry routine returns once the loop is over; its result only says
    // that no further loop is wanted. The end is the orderly shutdown, code 0.
    entry();
    Shutdown(0);
    return 0;
}

}  // namespace velmora
