#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

#include "app/batch_system.h"
#include "app/collector_globals.h"
#include "runtime/wide_text.h"

namespace velmora::app {
namespace {

std::atomic<int> request{0};
std::atomic<bool>* stopFlag = nullptr;
UINT savedOutputPage = 0;
DWORD savedErrorMode = 0;
DWORD savedInputMode = 0;

void RestoreConsole() {
    if (savedOutputPage) SetConsoleOutputCP(savedOutputPage);
    if (savedErrorMode) SetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), savedErrorMode);
}

BOOL WINAPI OnConsoleControl(DWORD type) {
    int none = 0;
    // A second request goes on to the default handler, which ends the process.
    if (!request.compare_exchange_strong(none, type == CTRL_C_EVENT ? SIGINT : SIGTERM))
        return FALSE;
    stopFlag->store(true);
    // A closing console, a logoff or a shutdown ends the process when this
    // returns; waiting here lets the run write its site files and summary
    // in the time the system grants.
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) Sleep(INFINITE);
    return TRUE;
}

}  // namespace

// main's argv is in the ANSI code page, which cannot hold every name.
std::vector<std::string> BatchArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        std::wstring_view argument = wide[i];
        std::optional<std::string> utf8 =
            Utf16ToUtf8({reinterpret_cast<const char16_t*>(argument.data()), argument.size()});
        arguments.push_back(utf8 ? *utf8 : i < argc ? argv[i] : "");
    }
    LocalFree(wide);
    return arguments;
}

void PrepareConsole() {
    // The keyword file may come on standard input: its bytes as they are.
    _setmode(_fileno(stdin), _O_BINARY);
    const UINT page = GetConsoleOutputCP();
    if (page != 0 && page != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) savedOutputPage = page;
    // The progress line is redrawn with a terminal's escape sequences.
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(error, &mode) && !(mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) &&
        SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING))
        savedErrorMode = mode;
    if (savedOutputPage || savedErrorMode) std::atexit(RestoreConsole);
}

// A console that takes escape sequences; an older one gets plain lines, as
// a file or NUL (a character device too) does.
bool ErrorStreamIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) &&
           (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool HideTyping() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (!GetConsoleMode(input, &savedInputMode)) return false;
    SetConsoleMode(input, savedInputMode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    return true;
}

void ShowTyping() {
    SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), savedInputMode);
}

void StopOnRequest() {
    stopFlag = &Globals().stopRequested;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

int StopRequest() {
    return request.load();
}

std::FILE* OpenForReading(const std::string& path) {
    return _wfopen(WidePath(path).c_str(), L"rb");
}

FileState StateOfFile(const std::string& nativePath) {
    if (nativePath.empty()) return {};
    HANDLE file = CreateFileW(WidePath(nativePath).c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!read) return {};
    auto join = [](DWORD high, DWORD low) { return (uint64_t(high) << 32) | low; };
    return {true, join(info.nFileIndexHigh, info.nFileIndexLow),
            static_cast<int64_t>(
                join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime))};
}

}  // namespace velmora::app
