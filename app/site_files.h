// The two files that make a template folder a site: index.htm and, when a
// base address is known, sitemap.xml. Written after a batch run, and after a
// window run when the settings ask for it.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::app {

struct SiteFilesReport {
    bool indexWritten = false;
    bool sitemapWritten = false;
    std::vector<std::string> problems;  // GBK, one log line each, no line break
};

// Writes the index of every page in the folder (a GBK path) and, with a base
// address, the sitemap. An index.htm that is not a written index is a page
// (the keyword "index"): it is kept, the index is not written and the report
// says why.
SiteFilesReport WriteSiteFiles(const char* folder, std::string_view baseUrl, std::time_t now);

}  // namespace velmora::app
