// The one QApplication of a test binary, on the offscreen platform unless the
// environment names another.
#pragma once

#include <QApplication>

namespace velmora::testing {

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "velmora_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

}  // namespace velmora::testing
