// File attributes are the file system's own here: the same bits, read and
// written through the wide calls.
#include <windows.h>

#include "runtime/file_attributes.h"
#include "runtime/wide_text.h"

namespace velmora {
namespace {

constexpr uint32_t kReported = attribute::kSettable | attribute::kDirectory;
// Attributes a program cannot set here but that setting must not clear.
constexpr DWORD kKept =
    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;

}  // namespace

std::optional<uint32_t> ReadFileAttributes(const std::string& nativePath) {
    DWORD bits = GetFileAttributesW(WidePath(nativePath).c_str());
    if (bits == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return bits & kReported;
}

bool WriteFileAttributes(const std::string& nativePath, uint32_t attributes) {
    const std::wstring path = WidePath(nativePath);
    DWORD bits = GetFileAttributesW(path.c_str());
    if (bits == INVALID_FILE_ATTRIBUTES) return false;
    DWORD wanted = (bits & kKept) | (attributes & attribute::kSettable);
    return SetFileAttributesW(path.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL) != 0;
}

}  // namespace velmora
