#include "app/calendar_time.h"

namespace velmora::app {

std::tm UtcParts(std::time_t time) {
    std::tm parts{};
    gmtime_s(&parts, &time);
    return parts;
}

std::tm LocalParts(std::time_t time) {
    std::tm parts{};
    localtime_s(&parts, &time);
    return parts;
}

}  // namespace velmora::app
