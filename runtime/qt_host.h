// The runtime's windowing side on Qt: the hidden window that receives exits
// asked for on other threads, the fatal-error message box, and the message
// loop with its idle callbacks.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/runtime_host.h"

class QEventLoop;

namespace velmora {

using IdleRoutine = void (*)(uintptr_t data);

class QtRuntimeHost final : public RuntimeHost {
  public:
    QtRuntimeHost();
    ~QtRuntimeHost() override;

    void CreateHiddenWindow() override;
    void DestroyHiddenWindow() override;
    void ForwardExit(int code) override;
    void ShowErrorDialog(const std::string& gbkText) override;
    void RunMessageLoop() override;
    void QuitMessageLoop() override;
    void ClearIdleCallbacks() override;

    // Runs `routine` each time the loop runs out of messages, for as long as
    // `window` lives.
    void AddIdleCallback(QObject* window, IdleRoutine routine, uintptr_t data);

  private:
    struct IdleCallback {
        QPointer<QObject> window;
        IdleRoutine routine;
        uintptr_t data;
    };
    void RunIdleCallbacks();

    std::unique_ptr<QObject> hiddenWindow_;
    std::vector<IdleCallback> idleCallbacks_;
    QEventLoop* loop_ = nullptr;
    int loopLevel_ = 0;
};

// Runs `routine` each time the running program's loop runs out of messages,
// for as long as `window` lives. Without a Qt host it does nothing.
void AddIdleCallback(QObject* window, IdleRoutine routine, uintptr_t data);

}  // namespace velmora
