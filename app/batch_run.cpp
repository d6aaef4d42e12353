#include "app/batch_run.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <utility>

#include "app/batch_progress.h"
#include "app/batch_summary.h"
#include "app/batch_system.h"
#include "app/classic_source.h"
#include "app/collection_engine.h"
#include "app/collector_globals.h"
#include "app/engine_calls.h"
#include "app/entry_routine.h"
#include "app/first_start.h"
#include "app/open_platform_source.h"
#include "app/run_log.h"
#include "app/settings.h"
#include "app/site_files.h"
#include "app/sitemap.h"
#include "app/template_names.h"
#include "app/template_text.h"
#include "app/visible_text.h"
#include "net/cookie_file.h"
#include "net/cookie_store.h"
#include "runtime/data_location.h"
#include "runtime/gbk.h"
#include "runtime/native_path.h"
#include "runtime/windows_path.h"

namespace velmora::app {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClassicSearchRows = 40;
// The login browser keeps its cookies in this file of its profile folder.
constexpr char kCookieFileName[] = "/velmora-cookies";

const BatchJob* theJob = nullptr;
int status = kBatchUsageError;

// Lines may carry names from outside (templates, keywords): no control
// character of theirs reaches the terminal.
void Complain(const std::string& line) {
    std::fprintf(stderr, "velmora-batch: %s\n", VisibleText(line, TextEncoding::kUtf8).c_str());
}

std::chrono::milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

// The template folder the window's list would show by that name, else the
// only one there is. Its name (GBK), or nullopt.
std::optional<std::string> SelectTemplate(const std::string& wantedUtf8) {
    std::optional<std::string> wanted = Utf8ToGbk(wantedUtf8);
    std::vector<std::string> names;
    for (const Text& name : TemplateFolderNames(DataDirectory().c_str())) {
        if (!wantedUtf8.empty() && wanted && name.view() == *wanted)
            return std::string(name.view());
        names.emplace_back(name.view());
    }
    // Directory order changes when a template is added: only a lone one goes unnamed.
    if (wantedUtf8.empty() && names.size() == 1) return names.front();
    std::string listed;
    for (const std::string& name : names)
        listed += (listed.empty() ? "" : ", ") + GbkToUtf8Lossy(name);
    if (names.empty())
        Complain("no templates in the template folder");
    else if (wantedUtf8.empty())
        Complain("which template? there are: " + listed +
                 "; name one with --template or [site] template in " + SettingsPath().string());
    else
        Complain("no template named " + wantedUtf8 + " (there are: " + listed + ")");
    return std::nullopt;
}

// The login the window's browser keeps: its cookies taken into the HTTP
// client's store, then the window's own check on the member centre's page.
bool LoggedIn() {
    net::KeepCookieFile(net::Cookies(), UserDataPlaces().browserProfile + kCookieFileName);
    return PageShowsLogin(MemberCentreAddress().c_str());
}

// One keyword's log lines, kept for the cause of a failure.
class KeywordLog final : public LogSink {
  public:
    void Append(std::initializer_list<const char*> texts) override {
        for (const char* text : texts) text_ += text ? text : "";
    }
    void Detail(const std::string& detail) override { detail_ = detail; }
    std::string Take() { return std::exchange(text_, {}); }
    std::string TakeDetail() { return std::exchange(detail_, {}); }

  private:
    std::string text_;
    std::string detail_;
};

// The run's own source, counting the items it hands to the page.
class CountingSource final : public ItemSource {
  public:
    explicit CountingSource(ItemSource& inner) : inner_(inner) {}
    SearchOutcome Search(const ItemQuery& query) override { return inner_.Search(query); }
    std::optional<ItemRecord> Item(int rank) override {
        std::optional<ItemRecord> item = inner_.Item(rank);
        if (item) ++items_;
        return item;
    }
    void Pause(int milliseconds) override { inner_.Pause(milliseconds); }
    size_t TakeCount() { return std::exchange(items_, 0); }

  private:
    ItemSource& inner_;
    size_t items_ = 0;
};

struct KeywordRun {
    CollectionJob job;  // all but the keyword
    CountingSource& source;
    FolderTemplate& page;
    KeywordLog& log;
    const char* templateName;  // GBK
    const char* directory;     // GBK
};

KeywordOutcome RunKeyword(const KeywordRun& run, const std::string& keyword) {
    const Clock::time_point start = Clock::now();
    KeywordOutcome outcome;
    outcome.keyword = keyword;
    std::optional<std::string> gbk = Utf8ToGbk(keyword);
    if (!gbk) {
        outcome.cause = "the keyword holds characters that GBK cannot write";
        return outcome;
    }
    Text path = PageFileIn(run.page.PageFolder().c_str(), gbk->c_str());
    const std::string page = NativePath(path.view()).value_or("");
    const FileState before = StateOfFile(page);

    // One keyword at a time: the log then holds this keyword's lines only,
    // and the run's memory stays flat.
    CollectionJob job = run.job;
    job.keywords = gbk->c_str();
    run.source.TakeCount();
    RunCollection(job, run.source, run.page, run.log);

    const std::string log = run.log.Take();
    const std::string detail = run.log.TakeDetail();
    const FileState after = StateOfFile(page);
    outcome.written = after.exists && !(after == before);
    outcome.items = run.source.TakeCount();
    if (outcome.written) outcome.file = page;
    if (!outcome.written && StopRequest()) {
        outcome.cause = "stopped before its page was written";
    } else if (!outcome.written) {
        outcome.cause = GbkToUtf8Lossy(FailureCause(log));
        if (!detail.empty()) outcome.cause += " (" + detail + ")";
        if (outcome.cause.empty()) outcome.cause = "no page was written";
    }
    outcome.time = Since(start);
    return outcome;
}

void WriteSite(const char* directory, const char* templateName, const char* outFolder,
               const std::string& baseUrl, BatchSummary* summary, BatchProgress* progress) {
    Text templateFolder = TemplateFolderPath(directory, templateName);
    SiteFilesReport site =
        *outFolder ? WriteSiteFiles(outFolder, baseUrl, std::time(nullptr), templateFolder.c_str())
                   : WriteTemplateSite(directory, templateName, baseUrl, std::time(nullptr));
    summary->indexWritten = site.indexWritten;
    summary->sitemapWritten = site.sitemapWritten;
    for (const std::string& problem : site.problems) {
        summary->siteProblems.push_back(GbkToUtf8Lossy(problem));
        progress->Say(summary->siteProblems.back());
    }
}

// Where pages, index and sitemap go when not into the template's folder: the
// option, else the settings', made if missing, as a GBK path; "" for the
// template's folder, nullopt (and said) when it cannot be used.
std::optional<std::string> OutFolder(const BatchOptions& options, const SiteSettings& site) {
    const std::string wanted = !options.outFolder.empty() ? options.outFolder : site.outFolder;
    if (wanted.empty()) return std::string();
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(FileSystemPath(wanted), error);
    if (!error) std::filesystem::create_directories(folder, error);
    const std::string shown = NativePathOf(folder);
    std::optional<std::string> gbk = Utf8ToGbk(shown);
    if (error || !std::filesystem::is_directory(folder) || !gbk) {
        Complain("cannot write pages into " + shown + ": " +
                 (error ? error.message()
                  : gbk ? "not a folder"
                        : "its name cannot be written in GBK"));
        return std::nullopt;
    }
    return gbk;
}

// The site's address: the option, else the settings'; a bad one is said and left out.
std::string BaseUrl(const BatchOptions& options, const SiteSettings& site) {
    if (!options.baseUrl.empty()) return options.baseUrl;
    if (site.baseUrl.empty() || IsSiteBaseUrl(site.baseUrl)) return site.baseUrl;
    Complain("[site] base_url is no http:// or https:// address, so no sitemap: " + site.baseUrl);
    return {};
}

void RunJob(const BatchJob& job) {
    const BatchOptions& options = job.options;
    // As the window's start does: a first start seeds the starter template.
    PrepareDataFolder();
    LoadedSettings settings = LoadSettings(SettingsPath());
    for (const std::string& problem : settings.problems) Complain(problem);
    const ApiSettings& api = settings.settings.api;
    const std::string sourceName = !options.source.empty() ? options.source
                                   : api.Configured()      ? "api"
                                                           : "classic";
    if (sourceName == "api" && !api.Configured()) {
        Complain("the api source needs app_key and adzone_id in " + SettingsPath().string() +
                 "; velmora-batch --configure asks for them");
        return;
    }
    std::optional<std::string> templateName = SelectTemplate(
        !options.templateName.empty() ? options.templateName : settings.settings.site.templateName);
    if (!templateName) return;
    std::optional<std::string> outFolder = OutFolder(options, settings.settings.site);
    if (!outFolder) return;
    // Past a search page's 40 rows the window keeps empty cards; a batch
    // would count them as items.
    int count = options.count;
    if (sourceName == "classic" && count > kClassicSearchRows) {
        Complain("the classic source finds at most " + std::to_string(kClassicSearchRows) +
                 " items a keyword; --count " + std::to_string(kClassicSearchRows) + " is used");
        count = kClassicSearchRows;
    }
    if (sourceName == "classic" && !LoggedIn()) {
        Complain(
            "not logged in to the affiliate platform: start velmora, press 登陆阿里妈妈 and log in "
            "once; the window keeps the login for velmora-batch");
        status = kBatchSomeFailed;
        return;
    }

    BatchProgress progress(stderr, ErrorStreamIsTerminal(), job.keywords.size());
    KeywordLog log;
    MemoryItemRows rows;
    ClassicSource classic(rows, log);
    std::optional<OpenPlatformSource> platform;
    if (sourceName == "api") {
        PlatformWaits waits = RealPlatformWaits();
        waits.onBan = [&progress](std::string_view, std::chrono::seconds ban) {
            progress.Say("the open platform limits calls: waiting " + std::to_string(ban.count()) +
                         " s, then asking again");
        };
        platform.emplace(api, std::move(waits));
    }
    CountingSource source(platform ? static_cast<ItemSource&>(*platform) : classic);

    BatchSummary summary;
    summary.templateName = GbkToUtf8Lossy(*templateName);
    summary.source = sourceName;
    const Clock::time_point start = Clock::now();
    Text directory = DataDirectory();
    FolderTemplate page(templateName->c_str(), outFolder->c_str());
    summary.folder = NativePath(page.PageFolder().view()).value_or("");
    const KeywordRun run{{nullptr, options.sort, count}, source,           page, log,
                         templateName->c_str(),          directory.c_str()};
    // Ctrl+C or SIGTERM: the keyword in progress ends as a stop ends it in the
    // window, then the site files and the summary follow.
    StopOnRequest();
    for (size_t i = 0; i < job.keywords.size(); ++i) {
        if (StopRequest()) {
            summary.stopSignal = StopRequest();
            summary.keywordsLeft = job.keywords.size() - i;
            break;
        }
        progress.Begin(i + 1, job.keywords[i]);
        summary.keywords.push_back(RunKeyword(run, job.keywords[i]));
        const KeywordOutcome& outcome = summary.keywords.back();
        progress.End(i + 1, outcome.keyword, outcome.items, outcome.cause, outcome.written);
    }
    // A signal during the last keyword still counts.
    if (StopRequest() && !summary.stopSignal) summary.stopSignal = StopRequest();
    WriteSite(directory.c_str(), templateName->c_str(), outFolder->c_str(),
              BaseUrl(options, settings.settings.site), &summary, &progress);
    progress.Say(ClosingLine(summary));
    progress.Finish();
    summary.time = Since(start);
    if (options.json) std::fputs(SummaryJson(summary).c_str(), stdout);
    std::fflush(stdout);
    status = ExitStatus(summary);
}

}  // namespace

void SetBatchJob(const BatchJob* job) {
    theJob = job;
}

int BatchEntry() {
    StartProgram();
    if (theJob) RunJob(*theJob);
    return 0;
}

int BatchJobStatus() {
    return status;
}

}  // namespace velmora::app
