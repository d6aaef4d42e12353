// Hooks the driver into the program at the application object's birth, so
// the program itself runs exactly as it does for a user: the same image,
// entry routine, handlers and orderly end.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "commands/dialog_commands.h"
#include "runtime/heap.h"
#include "tools/autodrive/run_driver.h"

namespace velmora::autodrive {
namespace {

RunDriver* driver = nullptr;

// The orderly end has freed what the program held; what is left was lost.
void ReportHeapAtExit() {
    std::printf("heap-at-exit: %ld\n", LiveBlockCount());
    std::fflush(stdout);
}

// The driver's deadlines need the event loop; a handler stuck outside it
// (a request that never returns) is caught here instead.
void StartWatchdog(int deadlineMs) {
    std::thread([deadlineMs] {
        std::this_thread::sleep_for(std::chrono::milliseconds(deadlineMs));
        Fail(kExitTimedOut,
             QString("the whole run took longer than %1 ms; still waiting for the %2")
                 .arg(deadlineMs)
                 .arg(QString::fromUtf8(driver->Awaited())));
    }).detach();
}

void StartDriving() {
    QString error;
    std::optional<DriveOptions> options = ParseDriveOptions(QCoreApplication::arguments(), &error);
    if (!options) {
        std::fprintf(stderr, "%s\n%s", error.toUtf8().constData(),
                     DriveUsage().toUtf8().constData());
        std::_Exit(2);
    }
    std::printf("heap-at-start: %ld\n", LiveBlockCount());
    std::fflush(stdout);

    // A message box in a driven run means a check of the collector refused
    // the inputs: nobody is there to answer it.
    commands::SetMessageBoxAnswerer([](QMessageBox& box) -> QAbstractButton* {
        Fail(kExitFailed, "a message box appeared: " + box.text());
    });
    qAddPostRoutine(ReportHeapAtExit);

    driver = new RunDriver(std::move(*options));
    driver->setParent(qApp);
    constexpr int kWatchdogMarginMs = 30000;
    StartWatchdog(driver->TotalDeadlineMs() + kWatchdogMarginMs);
    driver->Start();
}

Q_COREAPP_STARTUP_FUNCTION(StartDriving)

}  // namespace
}  // namespace velmora::autodrive
