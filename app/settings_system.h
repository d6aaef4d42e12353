// What the settings file needs of the system it is kept on
// (settings_system_posix.cpp, settings_system_win32.cpp).
#pragma once

#include <filesystem>
#include <string>

namespace velmora::app {

// The user's folder for programs' settings, which holds velmora/.
std::filesystem::path SettingsBaseFolder();

// The user's home folder (UTF-8, '/' between folders), which "~/" in a
// folder setting stands for; empty when the system does not say.
std::string HomeFolder();

// Whether the name is a link (to be followed elsewhere) rather than the file.
bool IsLinkAt(const std::filesystem::path& path);

// Whether users other than its owner may read the file.
bool OthersCanRead(const std::filesystem::path& path);

// Makes the settings file's folder, and its parents, when missing; it is
// the owner's alone. False, with errno saying why, when that fails.
bool MakeSettingsFolder(const std::filesystem::path& folder);

}  // namespace velmora::app
