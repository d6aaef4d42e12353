#include "app/page_template.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "app/engine_calls.h"
#include "app/fetch_page.h"
#include "app/visible_text.h"
#include "runtime/constants.h"
#include "runtime/gbk.h"
#include "runtime/windows_path.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kPost[] = "POST";
VELMORA_CONSTANT const char kWriteFailed[] = "添加失败，请按正确方法操作\r\n";
VELMORA_CONSTANT const char kKeywordRefused[] = "关键词\"";
VELMORA_CONSTANT const char kTemplateNameRefused[] = "模板名称\"";
VELMORA_CONSTANT const char kLeavesTheFolder[] = "\"含有路径分隔符或\"..\"，未生成页面\r\n";
VELMORA_CONSTANT const char kFolderLinksOut[] =
    "\"的文件夹是指向模板目录以外的链接，未生成页面\r\n";
VELMORA_CONSTANT const char kTemplatesOwnFile[] = "\"是模板自己的文件名，未生成页面\r\n";
VELMORA_CONSTANT const char kHiddenPage[] =
    "\"以点开头，页面会成为隐藏文件（索引页和网站地图都不列出），未生成页面\r\n";
VELMORA_CONSTANT const char kTemplateRefused[] = "模板\"";
VELMORA_CONSTANT const char kTemplateFileNotPlain[] =
    "\"的模板文件.htm不是模板文件夹里的普通文件（或是指向文件夹以外的链接），未使用该模板\r\n";
VELMORA_CONSTANT const char kTemplateWithoutMarkers[] =
    "\"的模板文件.htm里找不到商品循环标记（按GBK和UTF-8都找不到），不能用它生成页面\r\n";
constexpr int kWaitAfterFailure = 200;

// The template folder's own files, which a page of that name would overwrite.
VELMORA_CONSTANT const char kTemplateFileName[] = "模板文件";
VELMORA_CONSTANT const char kPreviewFileName[] = "效果预览";
VELMORA_CONSTANT const char kIndexTemplateFileName[] = "索引模板";

// A keyword or a folder's name in a log line: a control character in it
// (a folder name may hold a line break) must not forge a line.
std::string Shown(const char* outside) {
    return VisibleText(outside ? outside : "", TextEncoding::kGbk);
}

// The keyword and the template name become parts of the page's path; a
// keyword with a separator, or a template name that also is "." or "..",
// would put the page outside the template's folder.
bool RefuseNameLeavingTheFolder(const char* label, const char* name,
                                bool (*staysInside)(const char*), LogSink& log) {
    if (staysInside(name)) return false;
    log.Append({label, Shown(name).c_str(), kLeavesTheFolder});
    return true;
}

// A page named with a leading dot is a hidden file, which the site index and
// the sitemap leave out like the files still being written.
bool RefuseHiddenPage(const char* keyword, LogSink& log) {
    if (!keyword || keyword[0] != '.') return false;
    log.Append({kKeywordRefused, Shown(keyword).c_str(), kHiddenPage});
    return true;
}

bool RefuseTemplatesOwnFile(const char* keyword, LogSink& log) {
    const std::string_view name(keyword ? keyword : "");  // null is the empty text
    for (const char* own : {kTemplateFileName, kPreviewFileName, kIndexTemplateFileName}) {
        if (name != own) continue;
        log.Append({kKeywordRefused, Shown(keyword).c_str(), kTemplatesOwnFile});
        return true;
    }
    return false;
}

bool RefuseFolderLinkingOut(const char* directory, const char* templateName, LogSink& log) {
    if (TemplateFolderStaysInside(directory, templateName)) return false;
    log.Append({kTemplateNameRefused, Shown(templateName).c_str(), kFolderLinksOut});
    return true;
}

}  // namespace

LoadedTemplate ReadPageTemplate(const char* directory, const char* name, LogSink& log) {
    Text address = TemplateFileAddress(directory, name);
    // A link to the settings or the cookies would put them into every page.
    const bool refused =
        TemplateFileAccess(directory, name, TemplateFile::kTemplate) == FileAccess::kRefused;
    Text text = refused ? Text() : FetchPage(address.c_str(), kPost);
    TemplateEncoding encoding = TemplateEncodingOf(text.view());
    if (encoding == TemplateEncoding::kUtf8) {
        std::optional<std::string> gb18030 = Utf8ToGb18030(text.view());
        encoding = gb18030 ? encoding : TemplateEncoding::kNoMarkers;
        if (gb18030) text = Concat({gb18030->c_str()});
    }
    LoadedTemplate loaded;
    loaded.inUtf8 = encoding == TemplateEncoding::kUtf8;
    // A template whose markers cannot be found would give a page cut 15 bytes
    // in; the whole text stays in the head, so a save from the editor loses nothing.
    const bool withoutMarkers = encoding == TemplateEncoding::kNoMarkers && !text.empty();
    loaded.parts =
        withoutMarkers ? TemplateParts{std::move(text), {}, {}} : SplitTemplate(text.c_str());
    if (refused) log.Append({kTemplateRefused, Shown(name).c_str(), kTemplateFileNotPlain});
    if (withoutMarkers)
        log.Append({kTemplateRefused, Shown(name).c_str(), kTemplateWithoutMarkers});
    loaded.usable = !refused && !withoutMarkers;
    return loaded;
}

Text PageTemplate::PageFolder() {
    Text directory = DataDirectory();
    return TemplateFolderPath(directory.c_str(), FolderName().c_str());
}

Text FolderTemplate::PageFolder() {
    return pageFolder_.empty() ? PageTemplate::PageFolder() : Concat({pageFolder_.c_str()});
}

bool FolderTemplate::Load(LogSink& log) {
    Text directory = DataDirectory();
    loaded_ = ReadPageTemplate(directory.c_str(), name_.c_str(), log);
    return loaded_.usable;
}

void WritePage(const char* items, const char* keyword, PageTemplate& page, LogSink& log) {
    Text head = FillKeyword(page.Head().c_str(), keyword);
    Text tail = FillKeyword(page.Tail().c_str(), keyword);
    Text text = Concat({head.c_str(), items, tail.c_str()});
    if (page.InUtf8()) text = Concat({Gb18030ToUtf8(text.view()).c_str()});
    Text templateName = page.FolderName();
    Text directory = DataDirectory();
    if (RefuseNameLeavingTheFolder(kKeywordRefused, keyword, HoldsNoSeparator, log) ||
        RefuseNameLeavingTheFolder(kTemplateNameRefused, templateName.c_str(), IsPlainName, log) ||
        RefuseHiddenPage(keyword, log) || RefuseTemplatesOwnFile(keyword, log) ||
        RefuseFolderLinkingOut(directory.c_str(), templateName.c_str(), log))
        return;
    Text path = PageFileIn(page.PageFolder().c_str(), keyword);

    errno = 0;
    if (!WriteTextToFile(path.c_str(), text.c_str())) {
        const int error = errno;
        ResponsiveWait(kWaitAfterFailure);
        log.Append({kWriteFailed});
        log.Detail(NativePath(path.view()).value_or(GbkToUtf8Lossy(path.view())) + ": " +
                   std::strerror(error));
    }
}

}  // namespace velmora::app
