// The pages of a template folder as a site publishes them: the listing the
// index and the sitemap share, and the address form of a page's name.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::app {

inline constexpr char kSiteIndexName[] = "index.htm";
inline constexpr char kSitemapName[] = "sitemap.xml";

struct SitePage {
    std::string fileName;  // as on the disk, UTF-8
    std::string keyword;   // the name without ".htm", GBK
    std::time_t modified = 0;
};

// Every page of the folder, newest first, pages of the same moment by name:
// each ".htm" file but the template's own files and the index. A name GBK
// cannot hold is left out, as the template list leaves such names out.
std::vector<SitePage> ListSitePages(const std::filesystem::path& folder);

// A file time as seconds since the epoch.
std::time_t SecondsSinceEpoch(std::filesystem::file_time_type time);

}  // namespace velmora::app
