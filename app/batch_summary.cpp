#include "app/batch_summary.h"

#include <csignal>
#include <nlohmann/json.hpp>

#include "app/batch_options.h"

namespace velmora::app {

namespace {

constexpr char kIndexFile[] = "index.htm";
constexpr char kSitemapFile[] = "sitemap.xml";

size_t PagesWritten(const BatchSummary& summary) {
    size_t written = 0;
    for (const KeywordOutcome& outcome : summary.keywords) written += outcome.written;
    return written;
}

// A site file's path once written, else null.
nlohmann::json WrittenFile(const BatchSummary& summary, bool written, const char* name) {
    return written ? nlohmann::json(summary.folder + "/" + name) : nlohmann::json();
}

std::string SignalName(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : std::to_string(signal);
}

}  // namespace

int ExitStatus(const BatchSummary& summary) {
    if (summary.stopSignal) return 128 + summary.stopSignal;
    // A problem with the site files (a keyword named "index" keeps the index
    // from being written, say) is a failure too.
    if (PagesWritten(summary) < summary.keywords.size() || !summary.siteProblems.empty())
        return kBatchSomeFailed;
    return kBatchAllWritten;
}

std::string ClosingLine(const BatchSummary& summary) {
    const size_t written = PagesWritten(summary);
    size_t items = 0;
    for (const KeywordOutcome& outcome : summary.keywords)
        items += outcome.written ? outcome.items : 0;
    std::string line = summary.stopSignal
                           ? "stopped by " + SignalName(summary.stopSignal) + ", " +
                                 std::to_string(summary.keywordsLeft) + " keywords not begun: "
                           : std::string();
    line += std::to_string(written) + (written == 1 ? " page" : " pages") + " written (" +
            std::to_string(items) + " items), " +
            std::to_string(summary.keywords.size() - written) + " failed, in " + summary.folder +
            "; " + kIndexFile + (summary.indexWritten ? " written" : " NOT written");
    if (summary.sitemapWritten) line += std::string(", ") + kSitemapFile + " written";
    return line;
}

std::string SummaryJson(const BatchSummary& summary) {
    nlohmann::json failures = nlohmann::json::array();
    nlohmann::json pages = nlohmann::json::array();
    size_t written = 0;
    size_t items = 0;
    for (const KeywordOutcome& outcome : summary.keywords) {
        if (outcome.written) {
            ++written;
            items += outcome.items;
            pages.push_back({{"keyword", outcome.keyword},
                             {"items", outcome.items},
                             {"file", outcome.file},
                             {"ms", outcome.time.count()}});
        } else {
            failures.push_back({{"keyword", outcome.keyword}, {"cause", outcome.cause}});
        }
    }
    const size_t count = summary.keywords.size();
    nlohmann::json json = {
        {"template", summary.templateName},
        {"source", summary.source},
        {"folder", summary.folder},
        {"keywords", count},
        {"pages", written},
        {"items", items},
        {"failures", failures},
        {"written", pages},
        {"times",
         {{"total_ms", summary.time.count()},
          {"per_keyword_ms", count ? summary.time.count() / static_cast<long>(count) : 0}}},
        {"index", summary.indexWritten},
        {"sitemap", summary.sitemapWritten},
        {"index_file", WrittenFile(summary, summary.indexWritten, kIndexFile)},
        {"sitemap_file", WrittenFile(summary, summary.sitemapWritten, kSitemapFile)},
        {"site_problems", summary.siteProblems},
        {"stopped_by",
         summary.stopSignal ? nlohmann::json(SignalName(summary.stopSignal)) : nlohmann::json()},
        {"keywords_not_begun", summary.keywordsLeft},
    };
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace velmora::app
