// main() for suites whose code writes next to the program (the skin engine,
// the template folders). The suite runs as a child whose program file is a
// link in a fresh folder of its own, so that parallel test processes never
// share what they write; the folder goes when the child ends. The child owns
// a QApplication, as the Qt suites do.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

constexpr char kChildMark[] = "VELMORA_OWN_FOLDER_CHILD";

int RunInOwnFolder(char** argv) {
    fs::path self = fs::read_symlink("/proc/self/exe");
    fs::path folder =
        self.parent_path() / (self.filename().string() + ".run-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::path program = folder / self.filename();
    std::error_code linked;
    fs::create_hard_link(self, program, linked);
    if (linked) fs::copy_file(self, program);

    pid_t child = fork();
    if (child == 0) {
        setenv(kChildMark, "1", 1);
        execv(program.c_str(), argv);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    fs::remove_all(folder);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv(kChildMark)) return RunInOwnFolder(argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The browser engine will not start as root with its sandbox on.
    if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
