// Where this process's data goes, as Windows tells it: the user's data in
// %LOCALAPPDATA%\velmora unless the program's own folder takes it.
#include <windows.h>

#include <string>

#include "runtime/data_location.h"
#include "runtime/program_location.h"
#include "runtime/wide_text.h"

namespace velmora {
namespace {

std::string EnvironmentFolder(const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
    if (n == 0 || n >= std::size(buffer)) return {};
    return NativeFromWide({buffer, n}).value_or(std::string());
}

// Windows grants write access by more than one attribute; a file that can
// be made is the one sure answer.
bool CanCreateFileIn(const std::string& folder) {
    const std::string probe = folder + "/.velmora-write-probe-" +
                              std::to_string(GetCurrentProcessId()) + "-" +
                              std::to_string(GetTickCount64());
    HANDLE file = CreateFileW(WidePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

DataFacts GatherDataFacts() {
    DataFacts facts;
    facts.programDirectory = ProgramLocation().nativeDirectory;
    facts.programDirectoryWritable = CanCreateFileIn(facts.programDirectory);
    facts.home = EnvironmentFolder(L"USERPROFILE");
    facts.xdgDataHome = EnvironmentFolder(L"LOCALAPPDATA");
    if (!IsAbsoluteNativePath(facts.xdgDataHome)) facts.xdgDataHome = facts.home + "/AppData/Local";
    return facts;
}

bool IsAbsoluteNativePath(const std::string& path) {
    const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '/';
    return drive || path.starts_with("//");
}

void MakePrivateFolder(const std::string& nativePath) {
    // A folder in the user's profile inherits its owner-only access.
    CreateDirectoryW(WidePath(nativePath).c_str(), nullptr);
}

}  // namespace velmora
