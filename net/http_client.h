// One blocking HTTP exchange, shared by the automation HTTP object and the
// page reader. Cookies come from and go back to the process's cookie store on
// every hop; redirects are followed here, hop by hop, so that each hop carries
// the cookies of its own address. Each hop goes out through the system's HTTP
// library (net/http_hop.h). Proxies follow the environment variables
// (http_proxy, https_proxy, no_proxy).
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::net {

// The largest body a request takes in, counted over every hop: more ends the
// request like any other failure, before the rest arrives. Pages are some
// tens of kilobytes; a template file a few hundred.
inline constexpr size_t kLargestBody = size_t{64} << 20;

// Without limits a dead server would hold the window for ever, and the user
// could only kill the program and lose unsaved edits.
struct RequestLimits {
    std::chrono::milliseconds connect{15000};
    std::chrono::milliseconds total{120000};
};
void SetRequestLimits(RequestLimits limits);
RequestLimits CurrentRequestLimits();

struct HttpRequest {
    std::string method = "GET";  // put on the wire exactly as written
    std::string url;             // absolute; bytes outside printable ASCII are percent-encoded
    std::string requestTarget;   // when set: the request line's target, sent as it stands
    std::vector<std::string> headers;  // "Name: value"
    std::string body;
    bool sendBody = false;  // also for an empty body: it then goes out with length 0
    bool http10 = false;
    std::string userAgent;
    std::string user;
    std::string password;
};

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct HttpResponse {
    bool completed = false;  // the transfer ended normally (whatever the status)
    long status = 0;
    std::string statusText;
    HeaderList headers;  // of the last hop, in arrival order
    std::string body;    // unless a body sink took it
    // The request was never sent, or the answer went over kLargestBody,
    // redirected where FollowRedirect (redirect_rule.h) does not go, or
    // redirected again after ten redirects: whatever a sink was given of it
    // does not count.
    bool refused = false;
    // A limit of CurrentRequestLimits() ran out before the answer was complete.
    bool timedOut = false;
};

// Receives the body of the final hop piece by piece, with the response head
// as known so far (status and headers).
using BodySink = std::function<void(std::string_view piece, const HttpResponse& head)>;

// Only http and https go out, on the first hop and on every redirect (which
// FollowRedirect decides); an answer's cookies reach the store at once; a
// method that is no HTTP token, or a control byte (below 0x20, or 0x7F) in
// the address, the target or a header, refuses the request unsent.
HttpResponse PerformRequest(const HttpRequest& request, const BodySink& sink = nullptr);

// The first header of that name (case-insensitive), or null.
const std::string* FindHeader(const HeaderList& headers, std::string_view name);

// Percent-encodes spaces, control bytes and bytes above 0x7E so that the HTTP
// library accepts the address; a GBK keyword reaches the server as its own bytes.
std::string EncodeUnsafeBytes(std::string_view url);

}  // namespace velmora::net
