// Native paths (UTF-8, see windows_path.h) as std::filesystem paths and
// back. A narrow string is read in the ANSI code page by the Windows side of
// the library, so the way in and out goes through UTF-8's own character type;
// on POSIX both ways keep the bytes as they are.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora {

inline std::filesystem::path FileSystemPath(std::string_view nativePath) {
    return std::u8string(nativePath.begin(), nativePath.end());
}

// With '/' between folders, as native paths have them.
inline std::string NativePathOf(const std::filesystem::path& path) {
    const std::u8string utf8 = path.generic_u8string();
    return {utf8.begin(), utf8.end()};
}

}  // namespace velmora
