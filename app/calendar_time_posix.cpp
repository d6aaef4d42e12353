#include "app/calendar_time.h"

namespace velmora::app {

std::tm UtcParts(std::time_t time) {
    std::tm parts{};
    gmtime_r(&time, &parts);
    return parts;
}

std::tm LocalParts(std::time_t time) {
    std::tm parts{};
    localtime_r(&time, &parts);
    return parts;
}

}  // namespace velmora::app
