#include "tests/live_program.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "app/collection_run.h"
#include "app/fetch_page.h"
#include "app/image/program_image.h"
#include "app/main_window_handlers.h"
#include "app/main_window_ids.h"
#include "app/window_calls.h"
#include "commands/dialog_commands.h"
#include "net/cookie_store.h"
#include "runtime/entry_table.h"
#include "runtime/gbk.h"
#include "runtime/qt_host.h"
#include "runtime/startup.h"
#include "runtime/window_builder.h"
#include "tools/marketsim/simulator_server.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;
using namespace velmora::app;

fs::path ProgramFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace

struct LiveProgram::Parts {
    std::mutex mutex;
    std::vector<std::string> requests;
    std::vector<std::string> messages;
    std::string logAtLastMessage;
    marketsim::SimulatorServer simulator{[this](const std::string& line) {
        std::lock_guard lock(mutex);
        requests.push_back(line);
    }};
    std::thread serving;
    QtRuntimeHost host;
    WindowBuilder windows{MainWindowHandlers()};
};

LiveProgram& LiveProgram::Get() {
    // Lives as long as the process: the runtime's state points into it.
    static LiveProgram* program = new LiveProgram();
    return *program;
}

LiveProgram::LiveProgram() : parts_(std::make_unique<Parts>()) {
    const fs::path folder = ProgramFolder();
    // The browser profile is kept under the user's data directory: one per run.
    setenv("HOME", folder.c_str(), 1);
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (folder / "cache").c_str(), 1);
    fs::copy(VELMORA_STARTER_TEMPLATES, folder / "单页生成", fs::copy_options::recursive);

    const int port = parts_->simulator.Bind("127.0.0.1", 0);
    if (port <= 0) std::abort();
    parts_->serving = std::thread([this] { parts_->simulator.Listen(); });
    parts_->simulator.WaitUntilReady();
    parts_->serving.detach();
    setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(port)).c_str(), 1);
    unsetenv("no_proxy");
    unsetenv("NO_PROXY");

    commands::SetMessageBoxAnswerer([this](QMessageBox& box) -> QAbstractButton* {
        {
            std::lock_guard lock(parts_->mutex);
            parts_->messages.push_back(box.text().toStdString());
            parts_->logAtLastMessage = GbkToUtf8Lossy(ReadText(kLogBox).view());
        }
        QAbstractButton* ok = box.button(QMessageBox::Ok);
        return ok ? ok : box.buttons().value(0);
    });

    BeginProgram(ProgramImage(), &parts_->host, &parts_->windows);
    Entries().RuntimeService(kServiceInitialise, 0, nullptr);
    Entries().LoadWindow(kMainWindow);
    QApplication::processEvents();
}

QWidget* LiveProgram::Control(uint32_t unit) const {
    return FindLiveObject(kMainWindow, unit == kMainWindowUnit ? 0 : unit);
}

void LiveProgram::Press(uint32_t unit) {
    Control<QAbstractButton>(unit)->click();
    QApplication::processEvents();
}

void LiveProgram::Type(uint32_t unit, const QString& text) {
    QWidget* box = Control(unit);
    if (auto* lines = qobject_cast<QPlainTextEdit*>(box))
        lines->setPlainText(text);
    else
        qobject_cast<QLineEdit*>(box)->setText(text);
}

void LiveProgram::ChooseTemplate(const QString& name) {
    auto* list = Control<QListWidget>(kTemplateList);
    QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty()) list->setCurrentItem(found.first());
    QApplication::processEvents();
}

void LiveProgram::LogIn() {
    // As a user does it: the member centre in the login browser, its login
    // form sent there, and the browser's session cookie in the shared store.
    auto* page = Control(kLoginBrowser)->findChild<QWebEngineView*>()->page();
    int loads = 0;
    QMetaObject::Connection counting =
        QObject::connect(page, &QWebEnginePage::loadFinished, [&loads](bool) { ++loads; });
    auto waitFor = [](const auto& done) {
        for (int i = 0; i < 1000 && !done(); ++i) ResponsiveWait(10);
    };
    Press(kLoginButton);
    waitFor([&] { return loads >= 1; });
    std::optional<bool> sent;
    page->runJavaScript("document.forms.length > 0 && (document.forms[0].submit(), true)",
                        [&sent](const QVariant& answer) { sent = answer.toBool(); });
    waitFor([&] { return sent.has_value(); });
    if (sent.value_or(false)) waitFor([&] { return loads >= 2; });
    QObject::disconnect(counting);
    waitFor([] { return IsLoggedIn(); });
}

void LiveProgram::LogOut() {
    net::Cookies().Clear();
    NavigateBrowser(kLoginBrowser, "about:blank");
}

std::vector<std::string> LiveProgram::LogLines() const {
    return SplitLines(GbkToUtf8Lossy(ReadText(kLogBox).view()));
}

void LiveProgram::ClearLog() {
    WriteText(kLogBox, "");
}

std::vector<std::string> LiveProgram::TakeMessages() {
    std::lock_guard lock(parts_->mutex);
    return std::exchange(parts_->messages, {});
}

std::string LiveProgram::LogAtLastMessage() const {
    std::lock_guard lock(parts_->mutex);
    return parts_->logAtLastMessage;
}

std::vector<std::string> LiveProgram::TakeRequests() {
    std::lock_guard lock(parts_->mutex);
    return std::exchange(parts_->requests, {});
}

std::string LiveProgram::TemplateRoot() const {
    return (ProgramFolder() / "单页生成" / "模板").string();
}

}  // namespace velmora::testing
