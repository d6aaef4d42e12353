// The four simulated sites behind one entry: a request goes in, the answer
// comes out, with no sockets involved, so tests can drive every page.
#pragma once

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
