#include "app/sitemap.h"

#include "app/calendar_time.h"
#include "net/markup_text.h"
#include "net/url_parts.h"

namespace velmora::app {
namespace {

std::string W3cTime(std::time_t time) {
    const std::tm parts = UtcParts(time);
    char text[32];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S+00:00", &parts));
}

}  // namespace

std::string RenderSitemap(std::string_view baseUrl, const std::vector<SitemapEntry>& entries) {
    std::string base(baseUrl);
    if (!base.ends_with('/')) base += '/';
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
    for (const SitemapEntry& entry : entries) {
        xml += "  <url>\n    <loc>" +
               net::EscapeMarkup(base + net::PercentEncoded(entry.fileName)) +
               "</loc>\n    <lastmod>" + W3cTime(entry.modified) + "</lastmod>\n  </url>\n";
    }
    return xml + "</urlset>\n";
}

bool IsSiteBaseUrl(std::string_view baseUrl) {
    for (std::string_view scheme : {"http://", "https://"}) {
        if (!baseUrl.starts_with(scheme)) continue;
        std::string_view rest = baseUrl.substr(scheme.size());
        return !rest.empty() && rest.front() != '/' &&
               rest.find_first_of(" \t\r\n") == std::string_view::npos;
    }
    return false;
}

}  // namespace velmora::app
