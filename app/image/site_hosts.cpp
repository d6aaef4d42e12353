#include "app/image/site_hosts.h"

#include "runtime/constants.h"

namespace velmora::app {

VELMORA_CONSTANT const char kMemberCentreHost[] = "www.alimama.com";
VELMORA_CONSTANT const char kPromotionSearchHost[] = "u.alimama.com";
VELMORA_CONSTANT const char kMarketplaceHost[] = "s.taobao.com";
VELMORA_CONSTANT const char kMakerHost[] = "help.velmora.local";

}  // namespace velmora::app
