#include "runtime/program_location.h"

#include <unistd.h>

#include <climits>

#include "runtime/windows_path.h"

namespace velmora {
namespace {

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

}  // namespace

ProgramFile LocateProgram(const std::string& nativeProgramPath) {
    size_t slash = nativeProgramPath.rfind('/');
    std::string directory =
        slash == std::string::npos ? std::string() : nativeProgramPath.substr(0, slash);
    std::string name =
        slash == std::string::npos ? nativeProgramPath : nativeProgramPath.substr(slash + 1);
    ProgramFile file;
    file.directory = NativeNameToGbk(directory).value_or(".");
    file.nativeDirectory = slash == 0 ? std::string("/") : directory;
    file.fileName = NativeNameToGbk(name).value_or(std::string());
    return file;
}

void EnterProgramDirectory(const ProgramFile& location) {
    if (!location.nativeDirectory.empty()) [[maybe_unused]]
        int ignored = chdir(location.nativeDirectory.c_str());
}

const ProgramFile& ProgramLocation() {
    static const ProgramFile file = LocateProgram(ExecutablePath());
    return file;
}

}  // namespace velmora
