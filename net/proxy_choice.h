// Which proxy a request goes through, read from the environment as libcurl
// reads it: http_proxy for http, https_proxy for https, all_proxy for
// either, no_proxy naming the hosts that go direct ("*" for all). Used where
// the HTTP library does not read the environment itself.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velmora::net {

struct ProxyChoice {
    enum Kind {
        kSystem,    // the environment names none: the system's own setting
        kDirect,    // no_proxy names the host
        kNamed,     // host and port below
        kUnusable,  // the variable names a proxy we cannot speak to
    } kind = kSystem;
    std::string host;  // an IPv6 address keeps its brackets
    int port = 0;
    std::string user;
    std::string password;
};

// `variable` answers an environment variable, or null when it is not set.
ProxyChoice ChooseProxy(std::string_view url,
                        const std::function<const char*(const char*)>& variable);

}  // namespace velmora::net
