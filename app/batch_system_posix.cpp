#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

#include "app/batch_system.h"
#include "app/collector_globals.h"

namespace velmora::app {
namespace {

std::atomic<int> request{0};
std::atomic<bool>* stopFlag = nullptr;
termios savedTerminal{};

extern "C" void StopOnSignal(int signal) {
    request.store(signal);
    stopFlag->store(true);
}

}  // namespace

std::vector<std::string> BatchArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void PrepareConsole() {}

bool ErrorStreamIsTerminal() {
    return isatty(STDERR_FILENO);
}

bool HideTyping() {
    if (tcgetattr(STDIN_FILENO, &savedTerminal) != 0) return false;
    termios quiet = savedTerminal;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    return true;
}

void ShowTyping() {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
}

// The handler runs once: SA_RESETHAND puts the default action back, which
// ends the process on a second signal.
void StopOnRequest() {
    stopFlag = &Globals().stopRequested;
    struct sigaction action {};
    action.sa_handler = StopOnSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM}) sigaction(signal, &action, nullptr);
}

int StopRequest() {
    return request.load();
}

std::FILE* OpenForReading(const std::string& path) {
    return std::fopen(path.c_str(), "rb");
}

FileState StateOfFile(const std::string& nativePath) {
    struct stat info {};
    if (nativePath.empty() || stat(nativePath.c_str(), &info) != 0) return {};
    return {true, static_cast<uint64_t>(info.st_ino),
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

}  // namespace velmora::app
