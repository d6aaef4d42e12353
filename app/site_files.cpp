#include "app/site_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "app/engine_calls.h"
#include "app/gbk_text.h"
#include "app/runtime_calls.h"
#include "app/site_index.h"
#include "app/site_pages.h"
#include "app/sitemap.h"
#include "app/template_folder.h"
#include "app/template_text.h"
#include "runtime/constants.h"
#include "runtime/native_path.h"
#include "runtime/windows_path.h"

namespace velmora::app {
namespace {

namespace fs = std::filesystem;

VELMORA_CONSTANT const char kIndexKept[] =
    "未生成索引页：index.htm 是关键词“index”的页面（或您自己的文件），为保留它未覆盖";
VELMORA_CONSTANT const char kIndexFailed[] = "索引页写入失败：";
VELMORA_CONSTANT const char kSitemapFailed[] = "网站地图写入失败：";
VELMORA_CONSTANT const char kReasonSeparator[] = "：";
VELMORA_CONSTANT const char kFolderUnknown[] = "模板文件夹的名称无法使用，未生成索引页";
VELMORA_CONSTANT const char kFolderLeavesTheRoot[] = "模板\"";
VELMORA_CONSTANT const char kFolderLeavesTheRootCause[] =
    "\"的名称含有路径分隔符或\"..\"，或其文件夹是指向模板目录以外的链接，未生成索引页和网站地图";
VELMORA_CONSTANT const char kIndexTemplateRefused[] =
    "索引模板.htm 不是模板文件夹里的普通文件（或是指向文件夹以外的链接），未生成索引页";
VELMORA_CONSTANT const char kSeparator[] = "\\";

// The file's bytes up to a first NUL, as templates are read; nullopt when
// it cannot be read.
std::optional<std::string> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes.substr(0, bytes.find('\0'));
}

// Writes one site file; a failure adds a problem line naming the file's path
// and the system's reason.
bool WriteSiteFile(const char* folder, const fs::path& root, const char* name,
                   const std::string& bytes, const char* failed, SiteFilesReport* report) {
    errno = 0;
    if (WriteTextToFile(Concat({folder, kSeparator, name}).c_str(), bytes.c_str())) return true;
    const int error = errno;
    const std::string reason = std::strerror(error);
    report->problems.push_back(failed + Utf8ToGbkWithReferences(NativePathOf(root / name)) +
                               kReasonSeparator + reason);
    return false;
}

// A sitemap without a base address would name the pages of an earlier site.
void RemoveStaleSitemap(const fs::path& root) {
    std::optional<std::string> old = ReadBytes(root / kSitemapName);
    std::error_code ignored;
    if (old && old->find("<urlset") != std::string::npos) fs::remove(root / kSitemapName, ignored);
}

std::time_t ModifiedAt(const fs::path& path) {
    std::error_code error;
    auto time = fs::last_write_time(path, error);
    return error ? 0 : SecondsSinceEpoch(time);
}

}  // namespace

SiteFilesReport WriteSiteFiles(const char* folder, std::string_view baseUrl, std::time_t now,
                               const char* templateFolder) {
    SiteFilesReport report;
    std::optional<std::string> native = NativePath(folder);
    std::optional<std::string> templates = NativePath(templateFolder ? templateFolder : folder);
    if (!native || !templates) {
        report.problems.emplace_back(kFolderUnknown);
        return report;
    }
    const fs::path root = FileSystemPath(*native);
    const fs::path indexTemplate = FileSystemPath(*templates + "/" + kIndexTemplateName);
    std::vector<SitePage> pages = ListSitePages(root);

    std::optional<std::string> existing = ReadBytes(root / kSiteIndexName);
    if (existing && !IsSiteIndex(*existing)) {
        report.problems.emplace_back(kIndexKept);
    } else if (FileAccessOf(indexTemplate) == FileAccess::kRefused) {
        report.problems.emplace_back(kIndexTemplateRefused);
    } else {
        std::string indexText = ReadBytes(indexTemplate).value_or("");
        report.indexWritten =
            WriteSiteFile(folder, root, kSiteIndexName, RenderSiteIndex(indexText, pages, now),
                          kIndexFailed, &report);
    }

    if (baseUrl.empty()) {
        RemoveStaleSitemap(root);
        return report;
    }
    std::vector<SitemapEntry> entries;
    // The index, or the page that kept its name, leads the site.
    if (fs::exists(root / kSiteIndexName))
        entries.push_back({kSiteIndexName, ModifiedAt(root / kSiteIndexName)});
    for (const SitePage& page : pages) entries.push_back({page.fileName, page.modified});
    report.sitemapWritten = WriteSiteFile(folder, root, kSitemapName,
                                          RenderSitemap(baseUrl, entries), kSitemapFailed, &report);
    return report;
}

SiteFilesReport WriteTemplateSite(const char* directory, const char* templateName,
                                  std::string_view baseUrl, std::time_t now) {
    if (!TemplateFolderStaysInside(directory, templateName)) {
        SiteFilesReport report;
        report.problems.push_back(
            Concat({kFolderLeavesTheRoot, templateName, kFolderLeavesTheRootCause}).c_str());
        return report;
    }
    Text folder = TemplateFolderPath(directory, templateName);
    return WriteSiteFiles(folder.c_str(), baseUrl, now);
}

}  // namespace velmora::app
