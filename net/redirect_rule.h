// Which redirects a request follows, and as what. A redirect is the answer
// of whoever serves the address, so it may not take the request anywhere
// the user would not send it.
#pragma once

#include <string>
#include <string_view>

namespace velmora::net {

struct RedirectHop {
    bool follow = false;  // false: the request ends refused
    std::string method;
    bool sendBody = false;
};

// The hop after `from` answered `status` with the absolute Location `to`.
// Only http and https are followed, and never from https down to http (the
// cookies and the form would go out in the clear). 303, and 301 or 302 to a
// POST, go on as a GET without body; a POST or a body that goes on as it is
// (307, 308) stays on its host, so a signed form reaches no one else.
RedirectHop FollowRedirect(std::string_view from, std::string_view to, long status,
                           std::string_view method, bool sendBody);

}  // namespace velmora::net
