// Windows file attributes: on Windows the file system's own. On a POSIX file
// system read-only is the absence of every write permission bit of a file;
// hidden, system and archive (and read-only on a directory, where Windows
// does not let it stop new files) have no POSIX form and live in an extended
// attribute, where the file search reads them back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

namespace attribute {
inline constexpr uint32_t kReadOnly = 0x01;
inline constexpr uint32_t kHidden = 0x02;
inline constexpr uint32_t kSystem = 0x04;
inline constexpr uint32_t kDirectory = 0x10;
inline constexpr uint32_t kArchive = 0x20;
// What a program may set: read-only, hidden, system, archive.
inline constexpr uint32_t kSettable = 0x27;
}  // namespace attribute

// The attribute word of an existing entry (symbolic links followed); nullopt
// when there is no such entry.
std::optional<uint32_t> ReadFileAttributes(const std::string& nativePath);

// Sets the settable attributes to exactly `attributes & kSettable`; false
// when the entry is missing or the file system refuses.
bool WriteFileAttributes(const std::string& nativePath, uint32_t attributes);

// POSIX only: gives a freshly written file (open as `fd`) the permissions
// and stored attributes of the file it is about to replace. Windows keeps
// them by replacing through ReplaceFileW.
bool CarryAttributes(const std::string& fromNativePath, int fd);

}  // namespace velmora
