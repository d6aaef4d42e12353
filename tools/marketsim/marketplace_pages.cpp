#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/marketsim/pages.h"
#include "tools/marketsim/site_hosts.h"

namespace velmora::marketsim {
namespace {

constexpr char kTitle[] = "淘宝搜索";
constexpr char kStyle[] =
    "body{font:12px/1.6 sans-serif;margin:0 auto;width:980px}\n"
    ".item{display:inline-block;vertical-align:top;width:220px;margin:8px;"
    "border:1px solid #eee;padding:4px}\n"
    ".price{color:#f40;font-size:16px}\n"
    ".price em{font-style:normal;font-size:12px;color:#999;margin-left:6px}\n"
    ".deal-cnt,.dsr{color:#999}\n";

constexpr char kTail[] = "</body></html>\n";

std::string MarketUrl(std::string_view path) {
    return std::string("http://") + sites::kMarketplaceHost + std::string(path);
}

}  // namespace

std::string PictureUrl(std::string_view id) {
    return MarketUrl("/pic/") + std::string(id) + ".jpg";
}

std::string ItemUrl(std::string_view id) {
    return MarketUrl("/item.htm?id=") + std::string(id);
}

std::string MarketplacePage(std::string_view query, const std::vector<CatalogueItem>& items) {
    std::string page = PageStart(kTitle, kStyle);
    page += "<div class=\"search\">搜索“" + net::EscapeMarkup(query) + "”，共 " +
            std::to_string(items.size()) + " 件宝贝</div>\n";
    page += "<div class=\"sort\">综合排序 | 销量 | 信用 | 价格 | 描述相符</div>\n";
    page += "<div class=\"items\">\n";
    for (const CatalogueItem& item : items) {
        std::string url = ItemUrl(item.id);
        std::string title = net::EscapeMarkup(item.title);
        page += "<div class=\"item\" nid=\"" + item.id + "\">\n";
        page += "<div class=\"pic\"><a traceNum=\"1\" href=\"" + url +
                "\" target=\"_blank\"><img class=\"J_ItemPic\" src=\"" +
                MarketUrl("/pic/blank.gif") + "\" data-ks-lazyload=\"" + PictureUrl(item.id) +
                "_210x210.jpg\" alt=\"" + title + "\"></a></div>\n";
        page +=
            "<div class=\"col price\">￥" + FormatCents(item.priceCents) + "<em>包邮</em></div>\n";
        page +=
            "<div class=\"deal-cnt\">最近30天 " + std::to_string(item.sales30) + "人付款</div>\n";
        page += "<h3 class=\"summary\"><a trace=\"auction\" traceNum=\"2\" href=\"" + url +
                "\" class=\"EventCanSelect\" target=\"_blank\">" + title + "</a></h3>\n";
        page += "<div class=\"shop\">" + net::EscapeMarkup(item.seller) + "</div>\n";
        page += "<div class=\"dsr\">如实描述：4.8 服务态度：4.9 物流服务：4.8</div>\n</div>\n";
    }
    page += "</div>\n";
    if (items.empty()) page += "<p class=\"empty\">没有找到与搜索相关的宝贝。</p>\n";
    return page + kTail;
}

std::string ItemPage(std::string_view id) {
    std::string page = PageStart(kTitle, kStyle);
    std::string safeId = net::EscapeMarkup(id);
    page += "<h1>宝贝 " + safeId + "</h1>\n<p><img src=\"" + PictureUrl(safeId) +
            "\" width=\"310\" height=\"310\" alt=\"\"></p>\n"
            "<p>这是模拟市场的宝贝页面，仅供演示。</p>\n";
    return page + kTail;
}

std::string PictureSvg(std::string_view id) {
    // A colour and a shape per item, so the pictures on a page differ.
    uint32_t h = 2166136261u;
    for (unsigned char c : id) h = (h ^ c) * 16777619u;
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%06x", h & 0xFFFFFFu);
    std::string safeId = net::EscapeMarkup(id.substr(0, 24));
    return std::string(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"210\" height=\"210\" "
               "viewBox=\"0 0 210 210\">") +
           "<rect width=\"210\" height=\"210\" fill=\"#f4f4f4\"/>"
           "<rect x=\"35\" y=\"30\" width=\"140\" height=\"120\" rx=\"18\" fill=\"" +
           colour +
           "\"/>"
           "<circle cx=\"105\" cy=\"90\" r=\"" +
           std::to_string(20 + h % 30) +
           "\" fill=\"#ffffff\" fill-opacity=\"0.6\"/>"
           "<text x=\"105\" y=\"185\" font-family=\"sans-serif\" font-size=\"16\" "
           "text-anchor=\"middle\" fill=\"#555\">" +
           safeId + "</text></svg>\n";
}

}  // namespace velmora::marketsim
