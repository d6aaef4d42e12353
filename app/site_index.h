// The site index: every page of a template folder, newest first, laid out by
// the folder's index template (head, loop and tail between the page
// template's loop markers) or by a built-in default.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "app/site_pages.h"

namespace velmora::app {

// The index template's file name in a template folder.
inline constexpr char kIndexTemplateName[] = "索引模板.htm";

// The index page's GBK bytes. An empty template text takes the built-in
// default. The loop is filled once per page: [#关键词#] with the keyword
// (as HTML text), [#页面地址#] with the page's address relative to the
// index, [#生成时间#] with the time the page was written; head and tail take
// the index's own time for [#生成时间#]. Values are not searched again for
// placeholders. The page ends with a mark that tells a written index from a
// page that happens to bear its name.
std::string RenderSiteIndex(std::string_view indexTemplate, const std::vector<SitePage>& pages,
                            std::time_t now);

// Whether these bytes are an index that RenderSiteIndex wrote.
bool IsSiteIndex(std::string_view bytes);

}  // namespace velmora::app
