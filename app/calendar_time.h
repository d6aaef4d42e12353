// A moment's calendar parts, in UTC or the local zone, safe from any thread
// (calendar_time_posix.cpp, calendar_time_win32.cpp).
#pragma once

#include <ctime>

namespace velmora::app {

std::tm UtcParts(std::time_t time);
std::tm LocalParts(std::time_t time);

}  // namespace velmora::app
