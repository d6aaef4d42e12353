#include "app/site_index.h"

#include "app/calendar_time.h"
#include "app/template_text.h"
#include "net/markup_text.h"
#include "net/url_parts.h"

namespace velmora::app {
namespace {

constexpr std::string_view kKeywordPlaceholder = "[#关键词#]";
constexpr std::string_view kAddressPlaceholder = "[#页面地址#]";
constexpr std::string_view kTimePlaceholder = "[#生成时间#]";
constexpr std::string_view kIndexMark = "<!-- velmora site index -->\r\n";

// In the starter template's colours, so that the index sits well beside its pages.
constexpr char kDefaultTemplate[] =
    "<!DOCTYPE html>\r\n"
    "<html>\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">\r\n"
    "<title>精选好货 - 全部页面</title>\r\n"
    "<style>\r\n"
    "body { margin: 0; background: #1b1712; color: #e9dfc8; font-family: \"Microsoft YaHei\", "
    "\"SimHei\", sans-serif; }\r\n"
    ".banner { padding: 36px 0 28px; text-align: center; background: linear-gradient(#2a2218, "
    "#1b1712); border-bottom: 2px solid #b8913f; }\r\n"
    ".banner h1 { margin: 0; font-size: 34px; letter-spacing: 6px; color: #d9b45a; }\r\n"
    ".banner p { margin: 10px 0 0; font-size: 14px; color: #a89a7c; }\r\n"
    ".pages { width: 960px; margin: 24px auto; padding: 0; list-style: none; }\r\n"
    ".pages li { overflow: hidden; padding: 12px 16px; border-bottom: 1px solid #3a3022; }\r\n"
    ".pages li:hover { background: #241e16; }\r\n"
    ".pages a { float: left; font-size: 16px; color: #e9dfc8; text-decoration: none; }\r\n"
    ".pages a:hover { color: #d9b45a; }\r\n"
    ".pages span { float: right; font-size: 12px; color: #8f826a; }\r\n"
    ".footer { padding: 20px 0 30px; text-align: center; font-size: 12px; color: #7d715b; }\r\n"
    "</style>\r\n"
    "</head>\r\n"
    "<body>\r\n"
    "<div class=\"banner\">\r\n"
    "<h1>精选好货</h1>\r\n"
    "<p>全部关键词页面，最新在前 · 更新于 [#生成时间#]</p>\r\n"
    "</div>\r\n"
    "<ul class=\"pages\">\r\n"
    "[#商品循环开始#]\r\n"
    "<li><a href=\"[#页面地址#]\">[#关键词#]</a><span>[#生成时间#]</span></li>\r\n"
    "[#商品循环结束#]\r\n"
    "</ul>\r\n"
    "<div class=\"footer\">每日更新</div>\r\n"
    "</body>\r\n"
    "</html>\r\n";

struct Values {
    std::string keyword;
    std::string address;
    std::string time;
};

std::string LocalTime(std::time_t time) {
    const std::tm parts = LocalParts(time);
    char text[32];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts));
}

// One pass over the text: a value is never searched for placeholders again.
void Fill(std::string_view text, const Values& values, std::string* out) {
    const std::pair<std::string_view, const std::string*> fields[] = {
        {kKeywordPlaceholder, &values.keyword},
        {kAddressPlaceholder, &values.address},
        {kTimePlaceholder, &values.time},
    };
    size_t from = 0;
    for (size_t at = text.find("[#"); at != std::string_view::npos; at = text.find("[#", at)) {
        bool filled = false;
        for (const auto& [placeholder, value] : fields) {
            if (text.substr(at).starts_with(placeholder)) {
                out->append(text.substr(from, at - from)).append(*value);
                at += placeholder.size();
                from = at;
                filled = true;
                break;
            }
        }
        if (!filled) at += 2;
    }
    out->append(text.substr(from));
}

}  // namespace

std::string RenderSiteIndex(std::string_view indexTemplate, const std::vector<SitePage>& pages,
                            std::time_t now) {
    const std::string text(indexTemplate.empty() ? kDefaultTemplate : indexTemplate);
    TemplateParts parts = SplitTemplate(text.c_str());
    // Head and tail keep [#关键词#] as written: the index has no keyword of its own.
    const Values own{std::string(kKeywordPlaceholder), kSiteIndexName, LocalTime(now)};

    std::string index;
    Fill(parts.head.view(), own, &index);
    for (const SitePage& page : pages)
        Fill(parts.loop.view(),
             {net::EscapeMarkup(page.keyword), net::PercentEncoded(page.fileName),
              LocalTime(page.modified)},
             &index);
    Fill(parts.tail.view(), own, &index);
    return index.append(kIndexMark);
}

bool IsSiteIndex(std::string_view bytes) {
    return bytes.ends_with(kIndexMark);
}

}  // namespace velmora::app
