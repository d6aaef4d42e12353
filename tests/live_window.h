// A window with live controls for the control suites: the libraries' type
// tables registered, one window installed and loaded through the builder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <vector>

#include "controls/core_types.h"
#include "runtime/data_type.h"
#include "runtime/entry_table.h"
#include "runtime/runtime_state.h"
#include "runtime/window_builder.h"
#include "runtime/window_table.h"
#include "tests/window_samples.h"

namespace velmora::testing {

inline void EnsureApplication(const char* name) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(name), nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

class LiveWindow {
  public:
    // `libraries[i]` is the type table of library index i.
    LiveWindow(std::vector<std::span<const DataTypeEntry>> libraries, WindowRecord window,
               HandlerTable handlers = {})
        : builder_(handlers) {
        for (size_t i = 0; i < libraries.size(); ++i)
            RegisterDataTypes(static_cast<int>(i), libraries[i]);
        std::vector<WindowRecord> windows = {std::move(window)};
        if (handlers.entries) {
            EXPECT_TRUE(ResolveHandlers(windows, handlers));
        }
        InstallWindowDescriptions(std::move(windows));
        State().windows = &builder_;
    }
    ~LiveWindow() {
        if (QWidget* w = FindLiveObject(kSampleWindowId, 0)) delete w;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        InstallWindowDescriptions({});
        ClearDataTypes();
        State().windows = nullptr;
    }
    LiveWindow(const LiveWindow&) = delete;
    LiveWindow& operator=(const LiveWindow&) = delete;

    bool Load() { return BuildWindow(kSampleWindowId); }
    QWidget* Live(uint32_t unit) const { return FindLiveObject(kSampleWindowId, unit); }

  private:
    WindowBuilder builder_;
};

// An empty type table for a library whose types a suite does not use.
inline std::span<const DataTypeEntry> NoTypes() {
    return {};
}

}  // namespace velmora::testing
