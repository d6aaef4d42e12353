// The four simulated sites behind one entry: a request goes in, the answer
// comes out, with no sockets involved, so tests can drive every page.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "tools/marketsim/sessions.h"
#include "tools/marketsim/site_request.h"

namespace velmora::marketsim {

struct SiteResponse {
    int status = 200;
    std::string contentType = "text/html; charset=GBK";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // Answers that misbehave on purpose (hostile_site.h): instead of `body`,
    // this many bytes without a length, or no answer at all.
    size_t unannouncedBytes = 0;
    bool silent = false;
};

inline constexpr char kSessionCookie[] = "sim_session";

class Sites {
  public:
    SiteResponse Respond(const SiteRequest& request);

  private:
    SiteResponse MemberCentre(const SiteRequest& request);
    SiteResponse PromotionSearch(const SiteRequest& request) const;
    bool LoggedIn(const SiteRequest& request) const;

    Sessions sessions_;
};

}  // namespace velmora::marketsim
