// The running program's file and the current folder, the Win32 way.
#include <windows.h>

#include <vector>

#include "runtime/program_location.h"
#include "runtime/wide_text.h"

namespace velmora {

std::string ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return NativeFromWide({buffer.data(), n}).value_or(std::string());
        buffer.resize(buffer.size() * 2);
    }
}

void EnterProgramDirectory(const ProgramFile& location) {
    if (location.nativeDirectory.empty()) return;
    // "C:" alone names the drive's current folder, not its root.
    const bool drive = location.nativeDirectory.back() == ':';
    SetCurrentDirectoryW(WidePath(location.nativeDirectory + (drive ? "/" : "")).c_str());
}

}  // namespace velmora
