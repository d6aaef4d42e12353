#include "app/marketplace_page.h"

#include <cmath>
#include <limits>

#include "app/image/site_hosts.h"
#include "app/text_between.h"
#include "commands/text_commands.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kSearchPath[] = "/search?q=";
VELMORA_CONSTANT const char kBlockStart[] = "nid=\"";
VELMORA_CONSTANT const char kBlockEnd[] = "如实描述";
VELMORA_CONSTANT const char kPictureStart[] = "data-ks-lazyload=\"";
VELMORA_CONSTANT const char kPictureEnd[] = "_210x210";
VELMORA_CONSTANT const char kLinkStart[] = "traceNum=\"2\" href=\"";
VELMORA_CONSTANT const char kLinkEnd[] = "\" class";
VELMORA_CONSTANT const char kPriceStart[] = "price\">￥";
VELMORA_CONSTANT const char kPriceEnd[] = "<em>";
VELMORA_CONSTANT const char kSalesStart[] = "最近30天 ";
VELMORA_CONSTANT const char kSalesEnd[] = "人付款";

}  // namespace

Text MarketplaceSearchAddress(const char* title) {
    return Concat({"http://", kMarketplaceHost, kSearchPath, title});
}

MarketplaceFields CutMarketplaceItem(const char* page, const char* itemId) {
    Text blockStart = Concat({kBlockStart, itemId});
    Text block = TextBetween(page, blockStart.c_str(), kBlockEnd, 0);
    MarketplaceFields fields;
    fields.pictureUrl = TextBetween(block.c_str(), kPictureStart, kPictureEnd, 0);
    fields.itemUrl = TextBetween(block.c_str(), kLinkStart, kLinkEnd, 0);
    fields.price = TextBetween(block.c_str(), kPriceStart, kPriceEnd, 0);
    fields.sales = TextBetween(block.c_str(), kSalesStart, kSalesEnd, 0);
    return fields;
}

int ItemCountFromText(const char* countText) {
    double number = CallCore(commands::ToNumber, {TextArg(countText)}).Double();
    // Truncating a value outside the integer range is undefined; such a count
    // is held at the range's edge instead.
    if (std::isnan(number)) return 0;
    if (number >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (number <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(number);
}

}  // namespace velmora::app
