#include "app/open_platform_request.h"

#include <ctime>

#include "app/calendar_time.h"
#include "net/url_parts.h"

namespace velmora::app {

std::string ChinaTimestamp(std::chrono::system_clock::time_point when) {
    std::time_t china = std::chrono::system_clock::to_time_t(when) + 8 * 3600;
    const std::tm parts = UtcParts(china);
    char text[20];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

std::optional<std::string_view> PlatformSortValue(int sortIndex) {
    switch (sortIndex) {
        case 0:
            return "total_sales_des";
        case 1:
            return "tk_rate_des";
        case 2:
            return "tk_total_commi_des";
    }
    return std::nullopt;
}

net::PlatformParameters SignedSearchParameters(const ApiSettings& api, const SearchPage& page,
                                               std::string_view timestamp) {
    net::PlatformParameters parameters = {
        {"method", api.method},
        {"app_key", api.appKey},
        {"timestamp", std::string(timestamp)},
        {"format", "json"},
        {"v", "2.0"},
        {"sign_method", std::string(SignMethodName(api.signMethod))},
        {"adzone_id", api.adzoneId},
        {"q", std::string(page.keyword)},
        {"page_no", std::to_string(page.pageNo)},
        {"page_size", std::to_string(page.pageSize)},
    };
    if (auto sort = PlatformSortValue(page.sortIndex)) parameters["sort"] = *sort;
    if (api.hasCoupon) parameters["has_coupon"] = "true";
    // Both sign methods are known, so a signature always comes back.
    parameters["sign"] = net::SignPlatformParameters(parameters, api.appSecret).value_or("");
    return parameters;
}

std::string FormBody(const net::PlatformParameters& parameters) {
    std::string body;
    for (const auto& [name, value] : parameters) {
        if (!body.empty()) body += '&';
        body += net::PercentEncoded(name) + '=' + net::PercentEncoded(value);
    }
    return body;
}

}  // namespace velmora::app
