// main() for suites that need a QApplication: the application must outlive
// every test and go before the program's static objects do.
#include <gtest/gtest.h>

#include <QApplication>

// fontconfig keeps its font cache for the life of the process by design.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
