#include <string>

#include "tools/marketsim/pages.h"
#include "tools/marketsim/site_hosts.h"

namespace velmora::marketsim {
namespace {

constexpr char kTitle[] = "推广商品搜索 - 阿里妈妈";
constexpr char kStyle[] =
    "body{font:12px/1.6 sans-serif;margin:0 auto;width:960px}\n"
    ".result-item{list-style:none;border-bottom:1px solid #eee;padding:8px 0;overflow:hidden}\n"
    ".pic{float:left;margin-right:12px}\n"
    ".stats span{margin-right:16px;color:#666}\n"
    "h3 span{color:#c00}\n";

constexpr char kTail[] = "</body></html>\n";

const char* SortCaption(SortKey key) {
    switch (key) {
        case SortKey::kSales:
            return "按销量由高到低";
        case SortKey::kCommissionRate:
            return "按佣金比率由高到低";
        case SortKey::kCommissionPaid:
            return "按30天支出佣金由高到低";
    }
    return "";
}

// The platform marks the searched keyword in each title. Only the leading
// keyword is marked: a byte search further on could match across the two
// bytes of a GBK character.
std::string HighlightedTitle(std::string_view title, std::string_view keyword) {
    if (keyword.empty() || !title.starts_with(keyword)) return net::EscapeMarkup(title);
    return "<span>" + net::EscapeMarkup(keyword) + "</span>" +
           net::EscapeMarkup(title.substr(keyword.size()));
}

std::string PercentText(int64_t hundredths) {
    return FormatCents(hundredths) + "%";
}

}  // namespace

std::string PromotionPage(std::string_view keyword, SortKey key,
                          const std::vector<CatalogueItem>& items) {
    std::string page = PageStart(kTitle, kStyle);
    page += "<div class=\"top\">淘宝联盟 推广商品 | <a href=\"http://";
    page += sites::kMemberCentreHost;
    page += "/membersvc/logout.htm\">退出</a></div>\n";
    page += "<p class=\"summary\">关键词“" + net::EscapeMarkup(keyword) + "”共有 " +
            std::to_string(items.size()) + " 件推广商品，" + SortCaption(key) + "排列。</p>\n";
    page += "<ul class=\"result-list\">\n";
    for (const CatalogueItem& item : items) {
        std::string url = ItemUrl(item.id);
        std::string seller = net::EscapeMarkup(item.seller);
        page += "<li class=\"result-item\">\n<div class=\"list-info\">\n";
        page += "<a class=\"pic\" href=\"" + url + "\" target=\"_blank\"><img src=\"" +
                PictureUrl(item.id) +
                "_80x80.jpg\" width=\"80\" height=\"80\" alt=\"\" onerror=\"this.style."
                "visibility='hidden'\"></a>\n";
        page += "<h3><a href=\"" + url + "\" target=\"_blank\">" +
                HighlightedTitle(item.title, keyword) + "</a></h3>\n";
        page += "<p class=\"seller\">掌柜：" + seller + "<span class=\"J_WangWang\" data-nick=\"" +
                seller + "\"></span></p>\n</div>\n";
        page += "<div class=\"stats\"><span>价格：￥" + FormatCents(item.priceCents) +
                "</span><span>佣金比率：" + PercentText(item.commissionRateBp) +
                "</span><span>30天推广量：" + std::to_string(item.sales30) +
                "</span><span>30天支出佣金：￥" + FormatCents(item.commissionPaid30Cents) +
                "</span></div>\n</li>\n";
    }
    page += "</ul>\n";
    if (items.empty()) page += "<p class=\"empty\">没有找到相关的推广商品。</p>\n";
    return page + kTail;
}

std::string PromotionLoginPage() {
    std::string page = PageStart(kTitle, kStyle);
    page += "<p>请先登录阿里妈妈，再使用推广商品搜索。</p>\n<p><a href=\"http://";
    page += sites::kMemberCentreHost;
    page += "/membersvc/index.htm\">登录</a></p>\n";
    return page + kTail;
}

}  // namespace velmora::marketsim
