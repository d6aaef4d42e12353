#include <string>

#include "tools/marketsim/date_time.h"

namespace velmora::marketsim {

std::optional<std::tm> ReadDateTime(std::string_view text) {
    std::tm parts{};
    std::string copy(text);
    const char* end = strptime(copy.c_str(), "%Y-%m-%d %H:%M:%S", &parts);
    if (!end || *end) return std::nullopt;
    return parts;
}

std::time_t UtcSeconds(std::tm parts) {
    return timegm(&parts);
}

}  // namespace velmora::marketsim
