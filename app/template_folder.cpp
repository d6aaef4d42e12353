#include "app/template_folder.h"

#include <algorithm>
#include <system_error>

namespace velmora::app {

namespace fs = std::filesystem;

bool ResolvesBelow(const fs::path& folder, const fs::path& path) {
    std::error_code error;
    const fs::path realFolder = fs::canonical(folder, error);
    if (error) return false;
    const fs::path realPath = fs::canonical(path, error);
    if (error) return false;
    auto [inFolder, inPath] =
        std::mismatch(realFolder.begin(), realFolder.end(), realPath.begin(), realPath.end());
    return inFolder == realFolder.end() && inPath != realPath.end();
}

bool FolderStaysInRoot(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(folder, error))) return true;
    return ResolvesBelow(folder.parent_path(), folder);
}

FileAccess FileAccessOf(const fs::path& file) {
    std::error_code error;
    const fs::file_status entry = fs::symlink_status(file, error);
    if (!fs::exists(entry)) return FileAccess::kMissing;
    if (!fs::is_regular_file(fs::status(file, error))) return FileAccess::kRefused;
    if (!fs::is_symlink(entry)) return FileAccess::kReadable;
    return ResolvesBelow(file.parent_path(), file) ? FileAccess::kReadable : FileAccess::kRefused;
}

}  // namespace velmora::app
