// Host names of the outside sites the collector talks to. The simulator
// answers for all of them; the application shares these constants.
#pragma once

namespace velmora::sites {

// Affiliate platform: member centre (login) and promotion search.
inline constexpr char kMemberCentreHost[] = "www.alimama.com";
inline constexpr char kPromotionSearchHost[] = "u.alimama.com";
// Marketplace search.
inline constexpr char kMarketplaceHost[] = "s.taobao.com";
// The open platform's gateway as the simulator plays it (the real one is
// gw.api.taobao.com, over https).
inline constexpr char kGatewayHost[] = "gw.api.velmora.local";
// The maker's own site with the instructions page.
inline constexpr char kMakerHost[] = "help.velmora.local";

}  // namespace velmora::sites
