// "yyyy-MM-dd HH:mm:ss" read as strptime reads it, and calendar parts as UTC
// seconds (date_time_posix.cpp, date_time_win32.cpp).
#pragma once

#include <ctime>
#include <optional>
#include <string_view>

namespace velmora::marketsim {

// nullopt unless the whole text is the date and time.
std::optional<std::tm> ReadDateTime(std::string_view text);

std::time_t UtcSeconds(std::tm parts);

}  // namespace velmora::marketsim
