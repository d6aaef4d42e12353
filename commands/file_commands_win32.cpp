#include <windows.h>

#include "commands/file_commands_system.h"
#include "runtime/wide_text.h"

namespace velmora::commands {

bool MakeFolder(const std::string& nativePath) {
    return CreateDirectoryW(WidePath(nativePath).c_str(), nullptr) != 0;
}

// The attributes of a reparse point are its own, so a link to a folder
// counts as a folder, as lstat sees one on POSIX.
std::optional<bool> EntryIsFolder(const std::string& nativePath) {
    DWORD bits = GetFileAttributesW(WidePath(nativePath).c_str());
    if (bits == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return (bits & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RemoveEntry(const std::string& nativePath) {
    return DeleteFileW(WidePath(nativePath).c_str()) != 0;
}

}  // namespace velmora::commands
