#include "runtime/runtime_error.h"

#include <cstdio>
#include <thread>

#include "runtime/gbk.h"
#include "runtime/runtime_host.h"
#include "runtime/runtime_texts.h"
#include "runtime/shutdown.h"

namespace velmora {
namespace {

// Logs want plain line ends; the dialog keeps the report's CR LF.
std::string ForStandardError(const std::string& gbkText) {
    std::string utf8 = GbkToUtf8Lossy(gbkText);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i)
        if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')) out += utf8[i];
    return out;
}

}  // namespace

const char* RuntimeErrorMessage(int code) {
    return code >= 1 && code <= texts::kRuntimeErrorMessageCount
               ? texts::kRuntimeErrorMessages[code - 1]
               : "";
}

std::string RuntimeErrorReport(int code, const std::string& gbkMessage) {
    std::string text = std::string(texts::kRuntimeErrorHeading) + "\r\n\r\n";
    if (code != 0) text += texts::kErrorCodeLabel + std::to_string(code) + "\r\n\r\n";
    if (!gbkMessage.empty()) text += texts::kErrorMessageLabel + gbkMessage + "\r\n";
    return text;
}

void ReportRuntimeError(const std::string& gbkMessage, int code) {
    RuntimeState& state = State();
    ++state.errorCount;
    // No handler runs any more, not even from inside the message box's own loop.
    ++state.eventSuppression;

    bool handled = false;
    if (state.errorHook && !state.errorHookRunning) {
        state.errorHookRunning = true;
        handled = state.errorHook(code, gbkMessage.c_str()) != 0;
        state.errorHookRunning = false;
    }
    if (!handled) {
        std::string text = RuntimeErrorReport(code, gbkMessage);
        std::fputs(ForStandardError(text).c_str(), stderr);
        std::fflush(stderr);
        // Widgets belong to the main thread; elsewhere standard error has to do.
        if (state.host && std::this_thread::get_id() == state.mainThread)
            state.host->ShowErrorDialog(text);
    }
    // After a fatal error the program's end routine must not run.
    state.endRoutine = nullptr;
    ExitProgram(-1);
}

void RaiseRuntimeError(int code) {
    ReportRuntimeError(RuntimeErrorMessage(code), code);
}

void FatalRuntimeMessage(const std::string& gbkMessage) {
    ReportRuntimeError(gbkMessage, 0);
}

void SetRuntimeErrorHook(RuntimeErrorHook hook) {
    State().errorHook = hook;
}

}  // namespace velmora
