#include <sys/stat.h>

#include "runtime/file_time.h"

namespace velmora {

std::optional<std::chrono::nanoseconds> LastWriteTime(const std::string& nativePath) {
    struct stat info {};
    if (stat(nativePath.c_str(), &info) != 0) return std::nullopt;
    return std::chrono::seconds(info.st_mtim.tv_sec) +
           std::chrono::nanoseconds(info.st_mtim.tv_nsec);
}

}  // namespace velmora
