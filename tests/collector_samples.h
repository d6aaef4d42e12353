// Sample pages in the shape the affiliate platform and the marketplace send,
// shared by the collector's tests, benchmarks and fuzz seeds. Texts are GBK.
#pragma once

#include <string>

#include "runtime/gbk.h"

namespace velmora::testing {

// One item block of an affiliate result page: the anchor, then the block
// between "onerror" and "J_WangWang" with id, title and seller.
inline std::string PromotionBlock(const std::string& id, const std::string& title,
                                  const std::string& seller) {
    return "<div class=\"list-info\"><img src=\"p.jpg\" onerror=\"x\"><a href=\"/i?id=" + id +
           "\" target=\"_blank\">" + title + "</a>" + Utf8ToGbk("<p>掌柜：").value() + seller +
           "<span class=\"J_WangWang\"></span></p></div>\n";
}

// A result page: a head long enough to keep the first anchor past byte 10.
inline std::string PromotionPage(const std::string& blocks) {
    return "<html><body><div id=\"list\">\n" + blocks + "</div></body></html>";
}

// One item of a marketplace result page, cut by `nid="` + id up to the rating label.
inline std::string MarketplaceItem(const std::string& id, const std::string& picture,
                                   const std::string& link, const std::string& price,
                                   const std::string& sales) {
    return "<div class=\"item\" nid=\"" + id + "\"><img data-ks-lazyload=\"" + picture +
           "_210x210.jpg\"><a traceNum=\"2\" href=\"" + link + "\" class=\"t\">x</a>" +
           Utf8ToGbk("<div class=\"price\">￥").value() + price + "<em>" +
           Utf8ToGbk("</em><div>最近30天 ").value() + sales + Utf8ToGbk("人付款</div>").value() +
           Utf8ToGbk("<span>如实描述</span></div>\n").value();
}

}  // namespace velmora::testing
