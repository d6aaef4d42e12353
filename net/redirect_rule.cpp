#include "net/redirect_rule.h"

#include <algorithm>
#include <cctype>

#include "net/url_parts.h"

namespace velmora::net {
namespace {

bool IsPost(std::string_view method) {
    return method.size() == 4 &&
           std::equal(method.begin(), method.end(), "POST", [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) == b;
           });
}

}  // namespace

RedirectHop FollowRedirect(std::string_view from, std::string_view to, long status,
                           std::string_view method, bool sendBody) {
    auto source = SplitUrl(from);
    auto target = SplitUrl(to);
    if (!source || !target || (target->scheme != "http" && target->scheme != "https") ||
        (source->scheme == "https" && target->scheme == "http"))
        return {};
    RedirectHop hop{true, std::string(method), sendBody};
    if (status == 303 || (IsPost(method) && status != 307 && status != 308)) {
        hop.method = "GET";
        hop.sendBody = false;
    }
    if ((hop.sendBody || IsPost(hop.method)) && target->host != source->host) return {};
    return hop;
}

}  // namespace velmora::net
