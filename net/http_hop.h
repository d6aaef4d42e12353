// One hop of a request: one exchange with one address, no redirect followed.
// The request's rules (what may go out, cookies, redirects, the body cap)
// live in http_client.cpp; each system moves the bytes of one hop with its
// own library (http_hop_curl.cpp, http_hop_winhttp.cpp).
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::net {

struct HopRequest {
    std::string_view url;     // absolute, already percent-encoded
    std::string_view target;  // when set: the request line's target, as it stands
    std::string_view method;
    bool sendBody = false;
    std::string_view body;
    std::vector<std::string> headers;  // "Name: value", the Cookie line included
    bool http10 = false;
    std::string_view userAgent;
    std::string_view user;
    std::string_view password;
    std::chrono::milliseconds connect{0};
    std::chrono::steady_clock::time_point deadline;  // of the whole request
};

// Hears the answer as it arrives: each line of the head without its line end
// (the status line first, an empty line at its end), then the body. False
// from either ends the hop as failed.
class HopListener {
  public:
    virtual bool HeadLine(std::string_view line) = 0;
    virtual bool BodyPiece(std::string_view piece) = 0;

  protected:
    ~HopListener() = default;
};

struct HopOutcome {
    bool completed = false;  // the exchange ended normally, whatever the status
    bool timedOut = false;
    std::string redirectUrl;  // absolute, when the answer redirects
};

// Kept across the hops of one request, so that a hop may reuse the
// connection of the one before.
class HopChannel {
  public:
    virtual ~HopChannel() = default;
    virtual HopOutcome Perform(const HopRequest& request, HopListener& listener) = 0;
};

// Null when the system's HTTP library cannot start.
std::unique_ptr<HopChannel> OpenHopChannel();

bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace velmora::net
