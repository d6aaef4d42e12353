#include <dirent.h>

#include "runtime/folder_listing.h"

namespace velmora {

std::vector<std::string> FolderNames(const std::string& nativeDirectory) {
    std::vector<std::string> names;
    DIR* dir = opendir(nativeDirectory.c_str());
    if (!dir) return names;
    while (dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
    closedir(dir);
    return names;
}

}  // namespace velmora
