#include "tools/autodrive/run_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/main_window_ids.h"
#include "controls/html_viewer.h"
#include "net/cookie_store.h"
#include "runtime/data_location.h"
#include "runtime/gbk.h"
#include "runtime/heap.h"
#include "runtime/window_builder.h"

namespace velmora::autodrive {
namespace {

constexpr int kPollMs = 20;
// Painting a page that has just finished loading takes a moment more.
constexpr int kSettleMs = 500;
constexpr int kAskAgainMs = 200;
constexpr int kRepeatUnansweredMs = 1000;

void Say(const char* key, const QString& value) {
    std::printf("%s: %s\n", key, value.toUtf8().constData());
    std::fflush(stdout);
}

void Progress(const QString& what) {
    std::fprintf(stderr, "autodrive: %s\n", what.toUtf8().constData());
}

// Controls are looked up afresh every time: writing some properties rebuilds one.
QWidget* Control(uint32_t unit) {
    return FindLiveObject(app::kMainWindow, unit);
}

template <class Widget>
Widget* ControlAs(uint32_t unit) {
    return qobject_cast<Widget*>(Control(unit));
}

QWebEnginePage* BrowserPage(uint32_t unit) {
    QWidget* host = Control(unit);
    auto* view = host ? host->findChild<QWebEngineView*>() : nullptr;
    return view ? view->page() : nullptr;
}

bool Loaded(QWebEnginePage* page) {
    return page && !page->isLoading();
}

void Press(uint32_t unit, const char* name) {
    auto* button = ControlAs<QAbstractButton>(unit);
    if (!button) Fail(kExitFailed, QString("the main window has no button ") + name);
    Progress(QString("pressing ") + name);
    button->click();
}

// A click arrives from the loop, as a user's does, rather than inside the
// driver's own step; the handler it runs may run for long, servicing events.
void PressLater(uint32_t unit, const char* name, std::function<void()> before = {},
                std::function<void()> after = {}) {
    QMetaObject::invokeMethod(
        qApp,
        [unit, name, before, after] {
            if (before) before();
            Press(unit, name);
            if (after) after();
        },
        Qt::QueuedConnection);
}

int ItemCountForDeadlines(const QString& typed) {
    bool ok = false;
    double count = typed.toDouble(&ok);
    return ok ? static_cast<int>(std::clamp(count, 0.0, 40.0)) : 0;
}

}  // namespace

void Fail(int code, const QString& reason) {
    std::fflush(stdout);
    std::fprintf(stderr, "autodrive: failed: %s\n", reason.toUtf8().constData());
    std::fflush(stderr);
    std::_Exit(code);
}

bool PageQuestion::AnsweredYes(QWebEnginePage* page) {
    if (yes_) return true;
    if (!page) return false;
    if (asked_.isValid() && asked_.elapsed() < (asking_ ? kRepeatUnansweredMs : kAskAgainMs))
        return false;
    asking_ = true;
    asked_.start();
    // The page may be gone by the time the answer comes; the answer needs only this object.
    page->runJavaScript(script_, [this](const QVariant& answer) {
        asking_ = false;
        yes_ = answer.toBool();
    });
    return false;
}

RunDriver::RunDriver(DriveOptions options)
    : options_(std::move(options)),
      loginFormShown_(
          QStringLiteral("document.readyState === 'complete' && document.forms.length > 0")),
      memberPageShown_(
          QStringLiteral("document.body !== null && document.body.innerText.indexOf('退出') >= 0")),
      picturesLoaded_(
          QStringLiteral("Array.prototype.every.call(document.images,"
                         " function (i) { return i.complete && i.naturalWidth > 0; })")) {
    BuildSteps();
    connect(&poll_, &QTimer::timeout, this, [this] { Tick(); });
}

void RunDriver::Start() {
    stepClock_.start();
    poll_.start(kPollMs);
}

const char* RunDriver::Awaited() const {
    return current_ < steps_.size() ? steps_[current_].awaited : "program's end";
}

int RunDriver::TotalDeadlineMs() const {
    int total = 0;
    for (const Step& step : steps_) total += step.deadlineMs;
    return total;
}

void RunDriver::Tick() {
    if (current_ >= steps_.size()) return;
    Step& step = steps_[current_];
    if (!step.ready()) {
        if (stepClock_.elapsed() > step.deadlineMs)
            Fail(kExitTimedOut, QString("no %1 within %2 ms")
                                    .arg(QString::fromUtf8(step.awaited))
                                    .arg(step.deadlineMs));
        return;
    }
    Progress(QString("got ") + step.awaited);
    ++current_;
    stepClock_.start();
    step.act();
    if (current_ >= steps_.size()) poll_.stop();
}

void RunDriver::BuildSteps() {
    const auto scaled = [this](int ms) { return static_cast<int>(ms * options_.patience); };

    steps_.push_back({"main window with its template list", scaled(30000),
                      [] {
                          QWidget* window = Control(0);
                          auto* list = ControlAs<QListWidget>(app::kTemplateList);
                          return window && window->isVisible() && list && list->count() > 0;
                      },
                      [] { PressLater(app::kLoginButton, "登陆阿里妈妈"); }});

    steps_.push_back({"member centre page in the login browser", scaled(30000),
                      [this] {
                          QWebEnginePage* page = BrowserPage(app::kLoginBrowser);
                          return Loaded(page) && page->url().path() == "/membersvc/index.htm" &&
                                 loginFormShown_.AnsweredYes(page);
                      },
                      [] {
                          BrowserPage(app::kLoginBrowser)
                              ->runJavaScript(
                                  // Submitted after the answer is out: a page
                                  // that is leaving answers nothing.
                                  "(function () { var f = document.forms[0];"
                                  " if (!f) return false;"
                                  " setTimeout(function () { f.submit(); }, 0);"
                                  " return true; })()",
                                  [](const QVariant& submitted) {
                                      if (!submitted.toBool())
                                          Fail(kExitFailed,
                                               "the member centre page holds no login form");
                                      Progress("login form submitted");
                                  });
                      }});

    // Logged in: the browser shows the member page, and its session cookie
    // has reached the store the collector's requests take their cookies from.
    steps_.push_back(
        {"login (the member page and its cookie)", scaled(20000),
         [this] {
             QWebEnginePage* page = BrowserPage(app::kLoginBrowser);
             if (!Loaded(page) || !memberPageShown_.AnsweredYes(page)) return false;
             return !net::Cookies().HeaderFor(page->url().toString().toStdString()).empty();
         },
         [this] {
             FillInputs();
             PressStart();
         }});

    const int keywords = static_cast<int>(options_.keywords.size());
    const int perKeyword = 5000 + 3000 * ItemCountForDeadlines(options_.itemCount);
    steps_.push_back({"end of the run", scaled(20000 + keywords * perKeyword),
                      [this] {
                          if (!runReturned_) return false;
                          if (!options_.stopAfterFirst &&
                              !LogText().contains(ClosingLine(options_.keywords.last())))
                              Fail(kExitFailed, "the run ended without the last keyword's line");
                          return true;
                      },
                      [this] { ReportRun(); }});

    if (!options_.shotsDirectory.isEmpty()) StepsOfTheShots();

    steps_.push_back({"close of the window", scaled(1000), [] { return true; },
                      [] {
                          QMetaObject::invokeMethod(
                              qApp,
                              [] {
                                  if (QWidget* window = Control(0)) window->close();
                              },
                              Qt::QueuedConnection);
                      }});
}

void RunDriver::StepsOfTheShots() {
    const auto scaled = [this](int ms) { return static_cast<int>(ms * options_.patience); };

    steps_.push_back({"template preview in the preview browser", scaled(20000),
                      [] {
                          QWebEnginePage* page = BrowserPage(app::kPreviewBrowser);
                          return Loaded(page) && page->url().isLocalFile() &&
                                 page->url().toLocalFile().endsWith("效果预览.htm");
                      },
                      [this] {
                          if (writtenPages_.isEmpty()) {
                              Progress("no page was written, so the preview shows the template");
                              return;
                          }
                          std::string address =
                              Utf8ToGbk(writtenPages_.first().toStdString()).value_or("");
                          controls::NavigateTo(Control(app::kPreviewBrowser), address);
                      }});

    steps_.push_back(
        {"generated page with its pictures in the preview browser", scaled(20000),
         [this] {
             QWebEnginePage* page = BrowserPage(app::kPreviewBrowser);
             const QString shown = writtenPages_.isEmpty() ? QString() : writtenPages_.first();
             if (!Loaded(page) || (!shown.isEmpty() && page->url().toLocalFile() != shown))
                 return false;
             if (!picturesLoaded_.AnsweredYes(page)) return false;
             if (!settle_.isValid()) settle_.start();
             return settle_.elapsed() >= kSettleMs;
         },
         [this] { SaveShot("generated-page.png"); }});
}

void RunDriver::FillInputs() {
    auto* list = ControlAs<QListWidget>(app::kTemplateList);
    QList<QListWidgetItem*> named = list->findItems(options_.templateName, Qt::MatchExactly);
    if (named.isEmpty()) Fail(kExitFailed, "no template named " + options_.templateName);
    if (list->currentItem() != named.first()) list->setCurrentItem(named.first());

    auto* keywords = ControlAs<QPlainTextEdit>(app::kKeywordBox);
    auto* count = ControlAs<QLineEdit>(app::kItemCountBox);
    if (!keywords || !count) Fail(kExitFailed, "the keyword or item-count box is missing");
    keywords->setPlainText(options_.keywords.join('\n'));
    count->setText(options_.itemCount);
    Progress("typed " + options_.keywords.join(", ") + ", item count " + options_.itemCount +
             ", template " + options_.templateName);
}

void RunDriver::PressStart() {
    if (options_.stopAfterFirst) WatchForFirstPage();
    PressLater(
        app::kStartButton, "开始生成",
        [this] {
            Say("heap-before-run", QString::number(LiveBlockCount()));
            runClock_.start();
        },
        [this] {
            Say("run-ms", QString::number(runClock_.elapsed()));
            Say("heap-after-run", QString::number(LiveBlockCount()));
            runReturned_ = true;
        });
}

void RunDriver::WatchForFirstPage() {
    auto* log = ControlAs<QPlainTextEdit>(app::kLogBox);
    if (!log) Fail(kExitFailed, "the main window has no log box");
    connect(log, &QPlainTextEdit::textChanged, this, [this] {
        if (stopPressed_ || !LogText().contains(ClosingLine(options_.keywords.first()))) return;
        stopPressed_ = true;
        PressLater(app::kStopButton, "停止生成");
    });
}

void RunDriver::ReportRun() {
    const QDateTime started = QDateTime::currentDateTime().addMSecs(-runClock_.elapsed());
    for (const QString& keyword : options_.keywords) {
        QFileInfo page(PagePath(keyword));
        if (page.exists() && page.lastModified() >= started) {
            writtenPages_.append(page.absoluteFilePath());
            Say("page", page.absoluteFilePath());
        } else {
            Say("no-page", page.absoluteFilePath());
        }
    }
    QStringList lines = LogText().split('\n');
    // Text appended after the last line break is a line; the break itself ends none.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (const QString& line : lines) Say("log", line);
    if (QWebEnginePage* help = BrowserPage(app::kHelpBrowser)) Say("help", help->url().toString());

    if (options_.shotsDirectory.isEmpty()) return;
    SaveShot("window-after-run.png");
    PressLater(app::kPreviewSwitch, "模板预览");
}

void RunDriver::SaveShot(const QString& fileName) {
    QWidget* window = Control(0);
    if (!window) Fail(kExitFailed, "the main window is gone before its screenshot");
    QDir().mkpath(options_.shotsDirectory);
    const QString path = QDir(options_.shotsDirectory).absoluteFilePath(fileName);
    if (!window->grab().save(path, "PNG")) Fail(kExitFailed, "cannot write " + path);
    Say("shot", path);
}

QString RunDriver::PagePath(const QString& keyword) const {
    return QString::fromStdString(UserDataPlaces().programData) + "/单页生成/模板/" +
           options_.templateName + "/" + keyword + ".htm";
}

QString RunDriver::ClosingLine(const QString& keyword) const {
    return "生成关键词\"" + keyword + ".htm\"完毕";
}

QString RunDriver::LogText() const {
    auto* log = ControlAs<QPlainTextEdit>(app::kLogBox);
    return log ? log->toPlainText() : QString();
}

}  // namespace velmora::autodrive
