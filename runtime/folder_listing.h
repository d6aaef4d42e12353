// The names in a folder, as the system lists them.
#pragma once

#include <string>
#include <vector>

namespace velmora {

// Every entry's bare native (UTF-8) name, "." and ".." included where the
// system lists them, in no particular order; empty when the folder cannot be
// read.
std::vector<std::string> FolderNames(const std::string& nativeDirectory);

}  // namespace velmora
