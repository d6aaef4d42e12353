#include <windows.h>

#include <cerrno>
#include <string>

#include "app/settings.h"
#include "app/settings_system.h"
#include "runtime/wide_text.h"

namespace velmora::app {
namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
    if (n == 0 || n >= std::size(buffer)) return {};
    return {buffer, n};
}

}  // namespace

// %APPDATA%: the roaming folder, which follows the user between machines.
std::filesystem::path SettingsBaseFolder() {
    std::filesystem::path roaming = Environment(L"APPDATA");
    if (roaming.is_absolute()) return roaming;
    return std::filesystem::path(Environment(L"USERPROFILE")) / L"AppData" / L"Roaming";
}

// Windows keeps no HOME; the profile folder is the user's home.
std::string HomeFolder() {
    return NativeFromWide(Environment(L"USERPROFILE")).value_or("");
}

// A symbolic link or a junction: both are reparse points.
bool IsLinkAt(const std::filesystem::path& path) {
    DWORD bits = GetFileAttributesW(path.c_str());
    return bits != INVALID_FILE_ATTRIBUTES && (bits & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The file lives in the user's profile, whose folder's access list keeps
// other users out and is inherited by what is made in it; there are no mode
// bits to warn about.
bool OthersCanRead(const std::filesystem::path&) {
    return false;
}

// Made inside the profile, the folder inherits its owner-only access.
bool MakeSettingsFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) return true;
    std::filesystem::create_directories(folder, error);
    if (std::filesystem::is_directory(folder)) return true;
    errno = error && error.category() == std::generic_category() ? error.value() : EACCES;
    return false;
}

// No core files here; a crash report of Windows Error Reporting is written
// only when the user has turned local dumps on.
void KeepSecretsOutOfCoreDumps() {}

}  // namespace velmora::app
