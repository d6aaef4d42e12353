// What the windowing side of the runtime does for the plain core. The program
// start installs one; without it (plain tests, benchmarks) the core runs
// windowless: no hidden window, no dialog, no loop.
#pragma once

#include <string>

namespace velmora {

class RuntimeHost {
  public:
    virtual ~RuntimeHost() = default;

    // The hidden window is the main thread's target for exits asked for elsewhere.
    virtual void CreateHiddenWindow() = 0;
    virtual void DestroyHiddenWindow() = 0;
    // Called from a thread other than the main one: runs ExitProgram(code) on
    // the main thread and waits for it, which normally means never returning.
    virtual void ForwardExit(int code) = 0;

    // The fatal report as a message box, when there is a display to show it on.
    virtual void ShowErrorDialog(const std::string& gbkText) = 0;

    // Pumps messages, with idle callbacks, until QuitMessageLoop.
    virtual void RunMessageLoop() = 0;
    virtual void QuitMessageLoop() = 0;
    virtual void ClearIdleCallbacks() = 0;
};

}  // namespace velmora
