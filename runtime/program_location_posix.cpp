// The running program's file and the current folder, the POSIX way.
#include <unistd.h>

#include <climits>

#include "runtime/program_location.h"

namespace velmora {

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

void EnterProgramDirectory(const ProgramFile& location) {
    if (!location.nativeDirectory.empty()) [[maybe_unused]]
        int ignored = chdir(location.nativeDirectory.c_str());
}

}  // namespace velmora
