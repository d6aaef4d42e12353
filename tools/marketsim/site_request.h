// One request to a simulated site, taken apart the way the sites need it:
// host name, path and raw query, from an absolute-form target (requests that
// come through a proxy) or from an origin-form target and the Host header.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::marketsim {

struct SiteRequest {
    std::string method;   // as received, already in capitals
    std::string host;     // lower case, without port
    std::string path;     // raw, as it stood in the target
    std::string query;    // raw, without the '?'
    std::string cookies;  // the Cookie header
    std::string body;
};

// Splits a request target; `hostHeader` is used when the target is not absolute.
SiteRequest ParseSiteRequest(std::string_view method, std::string_view target,
                             std::string_view hostHeader);

// Decodes %XX escapes; other bytes (raw GBK among them) stay as they are.
// With `plusIsSpace`, '+' is a space, as in form bodies.
std::string PercentDecode(std::string_view text, bool plusIsSpace);

// The decoded value of the first `key` in a query or form body, or nullopt
// when the key is absent. Queries keep '+' as typed: the collector sends
// its keywords byte for byte.
std::optional<std::string> QueryValue(std::string_view query, std::string_view key);
std::optional<std::string> FormValue(std::string_view body, std::string_view key);

// The value of cookie `name` in a Cookie header, or empty text.
std::string CookieValue(std::string_view cookies, std::string_view name);

// The names of the cookies in a Cookie header, parted by spaces.
std::string CookieNames(std::string_view cookies);

}  // namespace velmora::marketsim
