// Template folders come from other people. These checks keep what the program
// reads from a template folder, and writes into one, inside the template root,
// whatever names and symbolic links the folder holds.
#pragma once

#include <filesystem>

namespace velmora::app {

// Whether the path, its links followed, lies below the folder (its own links
// followed too). False when either cannot be resolved.
bool ResolvesBelow(const std::filesystem::path& folder, const std::filesystem::path& path);

// Whether a template folder stays below the root it is named in: a real
// folder, a missing one, or a symbolic link that resolves below that root.
bool FolderStaysInRoot(const std::filesystem::path& folder);

enum class FileAccess {
    kMissing,   // no entry at all
    kReadable,  // a regular file that, after links, lies inside its own folder
    kRefused,   // a link leading out or nowhere, a folder, a device
};

// How a file of a template folder may be read.
FileAccess FileAccessOf(const std::filesystem::path& file);

}  // namespace velmora::app
