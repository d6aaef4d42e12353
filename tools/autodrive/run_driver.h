// Drives the collector's main window from its own event loop, as a user
// would: log in, type the inputs, start, wait for the pages, take the
// screenshots and close the window. Every wait has a deadline; running past
// one names what was awaited and ends the process with a non-zero code.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <functional>
#include <vector>

#include "tools/autodrive/drive_options.h"

class QWebEnginePage;

namespace velmora::autodrive {

// Exit codes of a driven run that did not reach the orderly end.
inline constexpr int kExitTimedOut = 3;
inline constexpr int kExitFailed = 4;

// Prints the reason on standard error and ends the process at once.
[[noreturn]] void Fail(int code, const QString& reason);

// A script run again and again in a page until it answers true; one
// question is in flight at a time and one left unanswered is asked anew.
class PageQuestion {
  public:
    explicit PageQuestion(QString script) : script_(std::move(script)) {}
    bool AnsweredYes(QWebEnginePage* page);

  private:
    QString script_;
    bool yes_ = false;
    bool asking_ = false;
    QElapsedTimer asked_;
};

class RunDriver : public QObject {
  public:
    explicit RunDriver(DriveOptions options);

    // Begins polling; the first step waits for the main window.
    void Start();
    // What the step in progress waits for; the watchdog names it.
    const char* Awaited() const;
    // The sum of every step's deadline, for the watchdog's own.
    int TotalDeadlineMs() const;

  private:
    struct Step {
        const char* awaited;
        int deadlineMs;
        std::function<bool()> ready;
        std::function<void()> act;
    };

    void BuildSteps();
    void Tick();
    void StepsOfTheShots();

    void FillInputs();
    void PressStart();
    void ReportRun();
    void WatchForFirstPage();
    void SaveShot(const QString& fileName);

    QString PagePath(const QString& keyword) const;
    QString ClosingLine(const QString& keyword) const;
    QString LogText() const;

    DriveOptions options_;
    std::vector<Step> steps_;
    std::atomic<size_t> current_ = 0;  // the watchdog reads it from its own thread
    QElapsedTimer stepClock_;
    QTimer poll_;

    QElapsedTimer runClock_;
    bool runReturned_ = false;
    bool stopPressed_ = false;
    QStringList writtenPages_;
    QElapsedTimer settle_;

    PageQuestion loginFormShown_;
    PageQuestion memberPageShown_;
    PageQuestion picturesLoaded_;
};

}  // namespace velmora::autodrive
