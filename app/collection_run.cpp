#include "app/collection_run.h"

#include <ctime>
#include <iostream>

#include "app/classic_source.h"
#include "app/collection_engine.h"
#include "app/collector_globals.h"
#include "app/gbk_text.h"
#include "app/marketplace_page.h"
#include "app/open_platform_source.h"
#include "app/settings.h"
#include "app/site_files.h"
#include "app/sitemap.h"
#include "app/window_calls.h"
#include "app/window_engine_parts.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kCollecting[] = "正在努力采集.......\r\n";
VELMORA_CONSTANT const char kRunInProgress[] = "正在采集中，请等本次采集完成后再点开始生成\r\n";
VELMORA_CONSTANT const char kNoKeywords[] = "请输入查询关键词";
VELMORA_CONSTANT const char kNotLoggedIn[] = "请登陆阿里妈妈";
VELMORA_CONSTANT const char kNoItemCount[] = "请输入生成宝贝的数量";
VELMORA_CONSTANT const char kLineBreak[] = "\r\n";

// True from the first step of StartCollection to the end of its run.
bool runInProgress = false;

class RunGuard {
  public:
    RunGuard() { runInProgress = true; }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;
    ~RunGuard() { runInProgress = false; }
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
    return PageShowsLogin(address.c_str());
}

void RunCollection() {
    ItemListRows rows;
    LogBox log;
    ClassicSource classic(rows, log);
    RunCollection(classic);
}

void RunCollection(ItemSource& source) {
    Text keywords = ReadText(kKeywordBox);
    CollectionJob job;
    job.keywords = keywords.c_str();
    job.sortIndex = ReadInteger(kSortChoice, property::kComboBoxSelection);
    job.count = ItemCountFromText(ReadText(kItemCountBox).c_str());
    EditorTemplate page;
    LogBox log;
    RunCollection(job, source, page, log);
}

}  // namespace velmora::app
