#include <windows.h>

#include "runtime/folder_listing.h"
#include "runtime/wide_text.h"

namespace velmora {

std::vector<std::string> FolderNames(const std::string& nativeDirectory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(WidePath(nativeDirectory + "/*").c_str(), FindExInfoBasic,
                                     &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        // A name UTF-8 cannot spell is one the program could not name either.
        if (std::optional<std::string> name = NativeFromWide(found.cFileName))
            names.push_back(std::move(*name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

}  // namespace velmora
