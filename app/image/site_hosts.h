// Host names of the outside sites the collector talks to, held in the program
// image's constant region. All of them are reached over plain HTTP.
#pragma once

namespace velmora::app {

// Affiliate platform: member centre (login) and promotion search.
extern const char kMemberCentreHost[];
extern const char kPromotionSearchHost[];
// Marketplace search.
extern const char kMarketplaceHost[];
// The maker's own site with the instructions page.
extern const char kMakerHost[];

}  // namespace velmora::app
