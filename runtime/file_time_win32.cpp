#include <windows.h>

#include "runtime/file_time.h"
#include "runtime/wide_text.h"

namespace velmora {

std::optional<std::chrono::nanoseconds> LastWriteTime(const std::string& nativePath) {
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!GetFileAttributesExW(WidePath(nativePath).c_str(), GetFileExInfoStandard, &info))
        return std::nullopt;
    // Hundreds of nanoseconds since 1601-01-01.
    constexpr int64_t kFrom1601To1970 = 116444736000000000;
    const int64_t ticks =
        (int64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    return std::chrono::nanoseconds((ticks - kFrom1601To1970) * 100);
}

}  // namespace velmora
