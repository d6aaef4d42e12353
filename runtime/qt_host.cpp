#include "runtime/qt_host.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QThread>

#include "runtime/gbk_qt.h"
#include "runtime/runtime_state.h"
#include "runtime/runtime_texts.h"
#include "runtime/shutdown.h"

namespace velmora {
namespace {

// A message box needs a screen someone looks at; offscreen runs get standard error only.
bool DisplayExists() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

QtRuntimeHost::QtRuntimeHost() = default;
QtRuntimeHost::~QtRuntimeHost() = default;

void QtRuntimeHost::CreateHiddenWindow() {
    if (!hiddenWindow_) hiddenWindow_ = std::make_unique<QObject>();
}

void QtRuntimeHost::DestroyHiddenWindow() {
    hiddenWindow_.reset();
}

void QtRuntimeHost::ForwardExit(int code) {
    if (!hiddenWindow_) return;
    // Blocks until the main thread has taken the request, which ends the process.
    QMetaObject::invokeMethod(
        hiddenWindow_.get(), [code] { ExitProgram(code); }, Qt::BlockingQueuedConnection);
}

void QtRuntimeHost::ShowErrorDialog(const std::string& gbkText) {
    if (!DisplayExists()) return;
    QMessageBox box(QMessageBox::Critical, FromGbk(texts::kErrorTitle), FromGbk(gbkText),
                    QMessageBox::Ok);
    box.exec();
}

void QtRuntimeHost::RunMessageLoop() {
    QEventLoop loop;
    loop_ = &loop;
    loopLevel_ = QThread::currentThread()->loopLevel() + 1;
    // The dispatcher announces that it is about to wait: no message is waiting.
    QMetaObject::Connection idle =
        QObject::connect(QAbstractEventDispatcher::instance(),
                         &QAbstractEventDispatcher::aboutToBlock, [this] { RunIdleCallbacks(); });
    loop.exec();
    QObject::disconnect(idle);
    loop_ = nullptr;
}

void QtRuntimeHost::QuitMessageLoop() {
    if (loop_) loop_->exit(0);
}

void QtRuntimeHost::ClearIdleCallbacks() {
    idleCallbacks_.clear();
}

void QtRuntimeHost::AddIdleCallback(QObject* window, IdleRoutine routine, uintptr_t data) {
    idleCallbacks_.push_back({window, routine, data});
}

void QtRuntimeHost::RunIdleCallbacks() {
    // Nested loops (a message box, a modal window) do not idle for the main one.
    if (QThread::currentThread()->loopLevel() != loopLevel_) return;
    // Last entry first; a callback may add or clear entries, so index afresh each time.
    for (size_t i = idleCallbacks_.size(); i-- > 0;) {
        if (i >= idleCallbacks_.size()) continue;
        IdleCallback callback = idleCallbacks_[i];
        if (!callback.window) {
            idleCallbacks_.erase(idleCallbacks_.begin() + static_cast<ptrdiff_t>(i));
            continue;
        }
        callback.routine(callback.data);
    }
}

void AddIdleCallback(QObject* window, IdleRoutine routine, uintptr_t data) {
    if (auto* host = dynamic_cast<QtRuntimeHost*>(State().host))
        host->AddIdleCallback(window, routine, data);
}

}  // namespace velmora
