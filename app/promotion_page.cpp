#include "app/promotion_page.h"

#include "app/fetch_page.h"
#include "app/image/site_hosts.h"
#include "app/text_between.h"
#include "commands/text_commands.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kAddressPath[] =
    "/union/spread/selfservice/merchandisePromotion.htm?cat=&discountId=&pidvid=&_fmu.a._0.t=1"
    "&_fmu.a._0.pe=40&_fmu.a._0.l=&_fmu.a._0.so=";
VELMORA_CONSTANT const char kAddressMiddle[] = "&c=&rewrite=&cat=&mid=&searchType=0&q=";
VELMORA_CONSTANT const char kAddressTail[] =
    "&_fmu.a._0.u=&_fmu.a._0.s=&_fmu.a._0.sta=&_fmu.a._0.end=&_fmu.a._0.st=&_fmu.a._0.en="
    "&_fmu.a._0.star=0&loc=";
VELMORA_CONSTANT const char kPost[] = "POST";
VELMORA_CONSTANT const char kSortBySales[] = "_totalnum";
VELMORA_CONSTANT const char kSortByCommissionRate[] = "_commrate";
VELMORA_CONSTANT const char kSortByCommissionPaid[] = "_totalfee";

VELMORA_CONSTANT const char kAnchor[] = "list-info";
constexpr int kAnchorLength = sizeof kAnchor - 1;
VELMORA_CONSTANT const char kBlockStart[] = "onerror";
VELMORA_CONSTANT const char kBlockEnd[] = "J_WangWang";
VELMORA_CONSTANT const char kIdStart[] = "id=";
VELMORA_CONSTANT const char kIdEnd[] = "\"";
VELMORA_CONSTANT const char kTitleStart[] = "_blank\">";
VELMORA_CONSTANT const char kTitleEnd[] = "</a>";
VELMORA_CONSTANT const char kSellerStart[] = "掌柜：";
VELMORA_CONSTANT const char kSellerEnd[] = "<span";
VELMORA_CONSTANT const char kSpanOpen[] = "<span>";
VELMORA_CONSTANT const char kSpanClose[] = "</span>";

int FindFrom(const char* text, const char* sought, int position) {
    return CallCore(commands::FindText,
                    {TextArg(text), TextArg(sought), MakeInteger(position), MakeLogical(false)})
        .Int();
}

// Every occurrence, case-sensitively.
Text ReplaceAll(const char* text, const char* sought, const char* replacement) {
    return TakeText(
        CallCore(commands::ReplaceText, {TextArg(text), TextArg(sought), TextArg(replacement),
                                         Omitted(), Omitted(), MakeLogical(true)}));
}

}  // namespace

std::optional<Text> PromotionSearchAddress(const char* keyword, int sortIndex) {
    static const char* const sortValues[] = {kSortBySales, kSortByCommissionRate,
                                             kSortByCommissionPaid};
    if (sortIndex < 0 || sortIndex > 2) return std::nullopt;
    return Concat({"http://", kPromotionSearchHost, kAddressPath, sortValues[sortIndex],
                   kAddressMiddle, keyword, kAddressTail});
}

std::optional<Text> FetchPromotionPage(const char* keyword, int sortIndex) {
    std::optional<Text> address = PromotionSearchAddress(keyword, sortIndex);
    if (!address) return std::nullopt;
    return FetchPage(address->c_str(), kPost);
}

// A search is made in the rest of the page from a known position rather than
// in the page from that position: the commands measure a text only as far as
// they walk it, so each search costs the distance it walks, not the length of
// the page before it. The results are the same, because the position a search
// starts from counts as a character boundary either way.
std::vector<int> FindItemAnchors(const char* page) {
    std::vector<int> anchors;
    // The first search goes through the page itself: it may be shorter than
    // the bytes the scan skips.
    int found = FindFrom(page, kAnchor, 1 + kAnchorLength);
    while (found > 0) {
        anchors.push_back(found);
        const int next = found + kAnchorLength;  // at most the terminator's position
        const int inRest = FindFrom(page + next - 1, kAnchor, 1);
        found = inRest > 0 ? next - 1 + inRest : -1;
    }
    return anchors;
}

PromotionItem CutPromotionItem(const char* page, int anchorPosition) {
    const char* rest = page + (anchorPosition > 1 ? anchorPosition - 1 : 0);
    // Without a block start behind the anchor, the cut rule counts from the
    // page's first byte, so that cut is made in the whole page.
    Text block = FindFrom(rest, kBlockStart, 1) > 0
                     ? TextBetween(rest, kBlockStart, kBlockEnd, 0)
                     : TextBetween(page, kBlockStart, kBlockEnd, anchorPosition);
    PromotionItem item;
    item.itemId = TextBetween(block.c_str(), kIdStart, kIdEnd, 0);
    Text rawTitle = TextBetween(block.c_str(), kTitleStart, kTitleEnd, 0);
    item.seller = TextBetween(block.c_str(), kSellerStart, kSellerEnd, 0);
    Text withoutOpen = ReplaceAll(rawTitle.c_str(), kSpanOpen, kEmptyText);
    item.title = ReplaceAll(withoutOpen.c_str(), kSpanClose, kEmptyText);
    return item;
}

}  // namespace velmora::app
