#include "app/open_platform_retry.h"

#include <algorithm>
#include <charconv>

namespace velmora::app {

std::optional<std::chrono::seconds> BanLength(std::string_view subMessage) {
    const size_t digits = subMessage.find_first_of("0123456789");
    if (digits == std::string_view::npos) return std::nullopt;
    int64_t seconds = 0;
    const auto read =
        std::from_chars(subMessage.data() + digits, subMessage.data() + subMessage.size(), seconds);
    // Beyond any bound we wait: the caller treats it as too long.
    if (read.ec == std::errc::result_out_of_range) return std::chrono::seconds::max();
    return std::chrono::seconds(seconds);
}

std::chrono::milliseconds RetryPause(int retry, double jitter) {
    const double base = 1000.0 * (1 << std::clamp(retry - 1, 0, kMaxRetries));
    return std::chrono::milliseconds(static_cast<int64_t>(base * (1 + jitter / 2)));
}

}  // namespace velmora::app
