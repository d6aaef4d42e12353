// sitemap.xml for a template folder published as a site (sitemaps.org 0.9).
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "app/site_pages.h"

namespace velmora::app {

struct SitemapEntry {
    std::string fileName;  // UTF-8, relative to the base address
    std::time_t modified = 0;
};

// The sitemap's UTF-8 text: one <url> per entry, in order, its address the
// base address (a '/' added when it lacks one) and the percent-encoded name,
// escaped for XML, with the modification time as lastmod in UTC.
std::string RenderSitemap(std::string_view baseUrl, const std::vector<SitemapEntry>& entries);

// Whether a base address can stand before the pages' names: http or https,
// with a host.
bool IsSiteBaseUrl(std::string_view baseUrl);

}  // namespace velmora::app
