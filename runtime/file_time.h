// A file's last write time as exactly as the system keeps it: the standard
// library's on Windows keeps whole seconds only, and pages written within one
// second must still sort newest first.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace velmora {

// Since 1970-01-01 UTC; nullopt when the file cannot be asked.
std::optional<std::chrono::nanoseconds> LastWriteTime(const std::string& nativePath);

}  // namespace velmora
