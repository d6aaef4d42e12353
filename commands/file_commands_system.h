// What the file commands ask of the system beyond the runtime's file seams
// (file_commands_posix.cpp, file_commands_win32.cpp). Paths are native.
#pragma once

#include <optional>
#include <string>

namespace velmora::commands {

// Makes one folder; false when it exists or its parent does not.
bool MakeFolder(const std::string& nativePath);

// Whether the entry at the name, a link itself rather than what it leads
// to, is a folder; nullopt when there is none.
std::optional<bool> EntryIsFolder(const std::string& nativePath);

// Removes the entry at the name (a link, not what it leads to).
bool RemoveEntry(const std::string& nativePath);

}  // namespace velmora::commands
