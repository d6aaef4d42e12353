#include "app/collection_run.h"

#include <ctime>
#include <iostream>

#include "app/classic_source.h"
#include "app/collector_globals.h"
#include "app/fetch_page.h"
#include "app/gbk_text.h"
#include "app/marketplace_collector.h"
#include "app/marketplace_page.h"
#include "app/open_platform_source.h"
#include "app/settings.h"
#include "app/site_files.h"
#include "app/sitemap.h"
#include "app/template_engine.h"
#include "app/template_text.h"
#include "app/visible_text.h"
#include "app/window_calls.h"
#include "commands/control_commands.h"
#include "commands/text_commands.h"
#include "runtime/array_block.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kCollecting[] = "正在努力采集.......\r\n";
VELMORA_CONSTANT const char kRunInProgress[] = "正在采集中，请等本次采集完成后再点开始生成\r\n";
VELMORA_CONSTANT const char kNoKeywords[] = "请输入查询关键词";
VELMORA_CONSTANT const char kNotLoggedIn[] = "请登陆阿里妈妈";
VELMORA_CONSTANT const char kNoItemCount[] = "请输入生成宝贝的数量";
VELMORA_CONSTANT const char kCollectingItems[] = "开始搜寻单个宝贝信息。。。。\r\n";
VELMORA_CONSTANT const char kPageDoneBefore[] = "生成关键词\"";
VELMORA_CONSTANT const char kPageDoneAfter[] = ".htm\"完毕";
VELMORA_CONSTANT const char kLineBreak[] = "\r\n";
VELMORA_CONSTANT const char kLoggedInMark[] = "退出";
VELMORA_CONSTANT const char kLoginCheckMethod[] = "post";

// True from the first step of StartCollection to the end of its run.
bool runInProgress = false;

class RunGuard {
  public:
    RunGuard() { runInProgress = true; }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;
    ~RunGuard() { runInProgress = false; }
};

// The keyword box's text split at every line break: an array of texts the
// list owns.
class KeywordList {
  public:
    explicit KeywordList(const char* text)
        : array_(CallCore(commands::SplitText, {TextArg(text), TextArg(kLineBreak)}).Pointer()) {}
    KeywordList(const KeywordList&) = delete;
    KeywordList& operator=(const KeywordList&) = delete;
    ~KeywordList() {
        for (uint64_t i = 0; i < Count(); ++i) Entries().Free(ArrayPointerAt(array_, i));
        Entries().Free(array_);
    }
    uint64_t Count() const { return ArrayElementCount(array_); }
    // A null element is the empty keyword.
    const char* At(uint64_t i) const {
        auto* keyword = static_cast<const char*>(ArrayPointerAt(array_, i));
        return keyword ? keyword : kEmptyText;
    }

  private:
    void* array_;
};

// With [site] index=true the template folder's index (and, with a base
// address, its sitemap) follows every run; only problems reach the log.
void WriteSiteAfterRun(const SiteSettings& site) {
    if (!site.index) return;
    const std::string baseUrl = IsSiteBaseUrl(site.baseUrl) ? site.baseUrl : std::string();
    SiteFilesReport report = WriteTemplateSite(
        DataDirectory().c_str(), ReadText(kTemplateNameBox).c_str(), baseUrl, std::time(nullptr));
    for (const std::string& problem : report.problems)
        AppendToLog({kLineBreak, problem.c_str(), kLineBreak});
}

}  // namespace

void StartCollection() {
    if (runInProgress) {
        AppendToLog({kRunInProgress});
        return;
    }
    RunGuard guard;
    // Read on every start, so that an edited file counts from the next run on.
    LoadedSettings settings = LoadSettings(SettingsPath());
    const ApiSettings& api = settings.settings.api;
    WriteInteger(kPageControl, property::kCurrentPage, page::kLog);
    if (api.Configured()) AppendToLog({OpenPlatformRunLine(api).c_str()});
    for (const std::string& problem : settings.problems) {
        std::cerr << problem << '\n';
        AppendToLog({GbkText(problem + "\r\n").c_str()});
    }
    AppendToLog({kCollecting});
    ResponsiveWait(500);
    if (ReadText(kKeywordBox).empty()) {
        ShowInformation(kNoKeywords);
        return;
    }
    // The open platform needs no member-centre login: the app key stands for it.
    if (!api.Configured() && !IsLoggedIn()) {
        ShowInformation(kNotLoggedIn);
        return;
    }
    if (ReadText(kItemCountBox).empty()) {
        ShowInformation(kNoItemCount);
        return;
    }
    if (!api.Configured()) {
        RunCollection();
    } else {
        OpenPlatformSource source(api);
        RunCollection(source);
    }
    WriteSiteAfterRun(settings.settings.site);
}

void RequestStop() {
    Globals().stopRequested = true;
}

bool IsLoggedIn() {
    Text address = ReadText(kLoginBrowser, property::kBrowserAddress);
    Text page = FetchPage(address.c_str(), kLoginCheckMethod);
    return CallCore(commands::FindText,
                    {TextArg(page), TextArg(kLoggedInMark), MakeInteger(1), MakeLogical(false)})
               .Int() > 0;
}

void RunCollection() {
    ClassicSource classic;
    RunCollection(classic);
}

void RunCollection(ItemSource& source) {
    KeywordList keywords(ReadText(kKeywordBox).c_str());
    for (uint64_t i = 0; i < keywords.Count(); ++i) {
        ItemQuery query;
        query.keyword = keywords.At(i);
        query.sortIndex = ReadInteger(kSortChoice, property::kComboBoxSelection);
        query.count = ItemCountFromText(ReadText(kItemCountBox).c_str());
        SearchOutcome outcome = source.Search(query);
        if (outcome.status == SearchStatus::kFailed) AppendToLog({outcome.cause.c_str()});
        if (outcome.status != SearchStatus::kFound) continue;
        SetCurrentKeyword(query.keyword);
        if (!LoadSelectedTemplate()) continue;
        AppendToLog({kCollectingItems});
        source.Pause(200);
        if (Globals().stopRequested) continue;
        CollectAndWritePage(source);
        source.Pause(100);
        const char* keyword = Globals().currentKeyword ? Globals().currentKeyword : kEmptyText;
        AppendToLog(
            {kPageDoneBefore, VisibleText(keyword, TextEncoding::kGbk).c_str(), kPageDoneAfter});
    }
}

}  // namespace velmora::app
