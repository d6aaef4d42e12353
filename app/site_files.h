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
// says why. An index template that is no regular file inside the folder is
// not read, and no index is written. Both files replace a symbolic link at
// their names rather than write through it. The index template is the
// folder's own, or that of `templateFolder` (a GBK path) when pages are kept
// apart from their template.
SiteFilesReport WriteSiteFiles(const char* folder, std::string_view baseUrl, std::time_t now,
                               const char* templateFolder = nullptr);

// The site files of the template folder of that name under the program's data
// folder (GBK texts both); a name or a linked folder that would lead out of
// the template root writes nothing, and the report says so.
SiteFilesReport WriteTemplateSite(const char* directory, const char* templateName,
                                  std::string_view baseUrl, std::time_t now);

}  // namespace velmora::app
