// Arbitrary pages and item ids through the collector's cuts: the anchor scan
// and item cuts of an affiliate result page, the item cuts of a marketplace
// page, the template split and the name guard. Input: the item id, a zero
// byte, then the page; both NUL-free and free to hold broken GBK.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/marketplace_page.h"
#include "app/promotion_page.h"
#include "app/template_text.h"
#include "runtime/gbk.h"
#include "runtime/heap.h"
#include "tests/text_reference.h"

namespace {

using namespace velmora;
using velmora::testing::ReferenceFind;
using velmora::testing::ReferenceReplaceAll;
using velmora::testing::ReferenceTextBetween;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

std::string Gbk(const char* utf8) {
    return Utf8ToGbk(utf8).value();
}

// The rest of the text after the first start marker, by the cut rule.
std::string ReferenceRemainder(const std::string& text, const std::string& start) {
    long found = ReferenceFind(text, start, 0);
    long q = (found < 0 ? -1 : found + 1) + long(start.size());
    return q < 1 || q > long(text.size()) ? "" : text.substr(size_t(q - 1));
}

void CheckPromotionCuts(const std::string& page) {
    std::vector<int> anchors = app::FindItemAnchors(page.c_str());
    // Every anchor the plain character-stepping search finds from byte 10 on, in order.
    size_t expected = 0;
    for (long at = ReferenceFind(page, "list-info", 9); at >= 0;
         at = ReferenceFind(page, "list-info", size_t(at) + 9)) {
        Check(expected < anchors.size() && anchors[expected] == at + 1, "anchor positions");
        ++expected;
    }
    Check(expected == anchors.size(), "no anchor beyond the reference");
    for (int anchor : anchors) {
        app::PromotionItem item = app::CutPromotionItem(page.c_str(), anchor);
        // The cuts as written out step by step on the whole page.
        std::string block = ReferenceTextBetween(page, "onerror", "J_WangWang", anchor);
        std::string title = ReferenceTextBetween(block, "_blank\">", "</a>", 0);
        title = ReferenceReplaceAll(ReferenceReplaceAll(title, "<span>", ""), "</span>", "");
        Check(item.itemId.view() == ReferenceTextBetween(block, "id=", "\"", 0), "the id cut");
        Check(item.title.view() == title, "the title cut");
        Check(item.seller.view() == ReferenceTextBetween(block, Gbk("掌柜："), "<span", 0),
              "the seller cut");
    }
}

void CheckMarketplaceCuts(const std::string& page, const std::string& itemId) {
    app::MarketplaceFields fields = app::CutMarketplaceItem(page.c_str(), itemId.c_str());
    std::string block = ReferenceTextBetween(page, "nid=\"" + itemId, Gbk("如实描述"), 0);
    Check(fields.pictureUrl.view() ==
              ReferenceTextBetween(block, "data-ks-lazyload=\"", "_210x210", 0),
          "the picture cut");
    Check(fields.itemUrl.view() ==
              ReferenceTextBetween(block, "traceNum=\"2\" href=\"", "\" class", 0),
          "the link cut");
    Check(fields.price.view() == ReferenceTextBetween(block, Gbk("price\">￥"), "<em>", 0),
          "the price cut");
    Check(fields.sales.view() == ReferenceTextBetween(block, Gbk("最近30天 "), Gbk("人付款"), 0),
          "the sales cut");
}

void CheckTemplate(const std::string& text, const std::string& name) {
    static const std::string loopStart = Gbk("[#商品循环开始#]"), loopEnd = Gbk("[#商品循环结束#]");
    app::TemplateParts parts = app::SplitTemplate(text.c_str());
    Check(parts.head.view() == ReferenceTextBetween(text, "", loopStart, 0), "the head");
    Check(parts.loop.view() == ReferenceTextBetween(text, loopStart, loopEnd, 0), "the loop");
    Check(parts.tail.view() == ReferenceRemainder(text, loopEnd), "the tail");
    // A separator leaves the folder, and so do the names "." and ".." whole;
    // dots inside a name ("新款...") do not.
    bool leaves = ReferenceFind(name, "\\", 0) >= 0 || ReferenceFind(name, "/", 0) >= 0 ||
                  name == "." || name == "..";
    Check(app::IsPlainName(name.c_str()) == !leaves, "the name guard");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string itemId, page;
    size_t i = 0;
    for (; i < size && data[i] != 0; ++i) itemId += char(data[i]);
    for (++i; i < size; ++i)
        if (data[i] != 0) page += char(data[i]);

    const long before = LiveBlockCount();
    CheckPromotionCuts(page);
    CheckMarketplaceCuts(page, itemId);
    CheckTemplate(page, itemId);
    Check(LiveBlockCount() == before, "every block is freed");
    return 0;
}
