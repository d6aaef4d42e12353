#include "app/batch_summary.h"

#include <nlohmann/json.hpp>

#include "app/batch_options.h"

namespace velmora::app {

int ExitStatus(const BatchSummary& summary) {
    for (const KeywordOutcome& outcome : summary.keywords)
        if (!outcome.written) return kBatchSomeFailed;
    return kBatchAllWritten;
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
                             {"ms", outcome.time.count()}});
        } else {
            failures.push_back({{"keyword", outcome.keyword}, {"cause", outcome.cause}});
        }
    }
    const size_t count = summary.keywords.size();
    nlohmann::json json = {
        {"template", summary.templateName},
        {"source", summary.source},
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
        {"site_problems", summary.siteProblems},
    };
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace velmora::app
