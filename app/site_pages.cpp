#include "app/site_pages.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "runtime/file_time.h"
#include "runtime/native_path.h"
#include "runtime/windows_path.h"

namespace velmora::app {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPageSuffix = ".htm";
// The template's own files; they live beside the pages but are none.
constexpr std::string_view kNotPages[] = {"模板文件.htm", "效果预览.htm", "索引模板.htm",
                                          kSiteIndexName};

bool IsPageName(std::string_view name) {
    if (name.size() <= kPageSuffix.size() || !name.ends_with(kPageSuffix)) return false;
    // Files being written start with a dot until they take their name.
    if (name.front() == '.') return false;
    return std::find(std::begin(kNotPages), std::end(kNotPages), name) == std::end(kNotPages);
}

}  // namespace

std::vector<SitePage> ListSitePages(const fs::path& folder) {
    struct Found {
        SitePage page;
        std::chrono::nanoseconds exact;
    };
    std::vector<Found> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::string name = NativePathOf(entry.path().filename());
        if (!IsPageName(name) || !entry.is_regular_file(error)) continue;
        std::optional<std::string> keyword =
            NativeNameToGbk(std::string_view(name).substr(0, name.size() - kPageSuffix.size()));
        std::optional<std::chrono::nanoseconds> time = LastWriteTime(NativePathOf(entry.path()));
        if (!keyword || !time) continue;
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(*time);
        found.push_back({{name, *keyword, static_cast<std::time_t>(seconds.count())}, *time});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.exact != b.exact ? a.exact > b.exact : a.page.fileName < b.page.fileName;
    });
    std::vector<SitePage> pages;
    pages.reserve(found.size());
    for (Found& f : found) pages.push_back(std::move(f.page));
    return pages;
}

std::time_t SecondsSinceEpoch(fs::file_time_type time) {
    return std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(time)));
}
}  // namespace velmora::app
