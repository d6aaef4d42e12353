#include <sys/stat.h>
#include <unistd.h>

#include "commands/file_commands_system.h"

namespace velmora::commands {

bool MakeFolder(const std::string& nativePath) {
    return mkdir(nativePath.c_str(), 0777) == 0;
}

std::optional<bool> EntryIsFolder(const std::string& nativePath) {
    struct stat st;
    if (lstat(nativePath.c_str(), &st) != 0) return std::nullopt;
    return S_ISDIR(st.st_mode);
}

bool RemoveEntry(const std::string& nativePath) {
    return unlink(nativePath.c_str()) == 0;
}

}  // namespace velmora::commands
