#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdlib>

#include "app/settings.h"
#include "app/settings_system.h"

namespace velmora::app {

std::filesystem::path SettingsBaseFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return config;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "") / ".config";
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

bool IsLinkAt(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool OthersCanRead(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IRGRP | S_IROTH));
}

bool MakeSettingsFolder(const std::filesystem::path& folder) {
    if (folder.empty() || std::filesystem::exists(folder)) return true;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return ::chmod(folder.c_str(), 0700) == 0;
}

void KeepSecretsOutOfCoreDumps() {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
}

}  // namespace velmora::app
