// One page of the open platform's material search as a signed request:
// the system parameters, the search's own, and the form body that carries them.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "net/open_platform_signature.h"

namespace velmora::app {

// The documented upper bound of page_size.
inline constexpr int kMaxPlatformPageSize = 100;

struct SearchPage {
    std::string_view keyword;  // UTF-8
    int sortIndex = 0;
    int pageNo = 1;
    int pageSize = 20;
};

// "yyyy-MM-dd HH:mm:ss" in China time (UTC+8), the form the gateway checks.
std::string ChinaTimestamp(std::chrono::system_clock::time_point when);

// The platform's sort value for the window's three sort orders (sales,
// commission rate, commission paid in 30 days), each high to low; nullopt
// for any other index, which leaves the platform's own order.
std::optional<std::string_view> PlatformSortValue(int sortIndex);

// Every parameter of the request, `sign` included. The secret itself is
// never among them.
net::PlatformParameters SignedSearchParameters(const ApiSettings& api, const SearchPage& page,
                                               std::string_view timestamp);

// application/x-www-form-urlencoded, UTF-8 percent-encoded.
std::string FormBody(const net::PlatformParameters& parameters);

}  // namespace velmora::app
