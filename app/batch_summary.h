// What a batch run did, for the exit status and for --json.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace velmora::app {

struct KeywordOutcome {
    std::string keyword;  // UTF-8
    bool written = false;
    size_t items = 0;
    std::string cause;  // UTF-8; why no page was written
    std::string file;   // the page's path, once written
    std::chrono::milliseconds time{};
};

struct BatchSummary {
    std::string templateName;  // UTF-8
    std::string source;
    std::string folder;  // where pages, index and sitemap go
    std::vector<KeywordOutcome> keywords;
    std::chrono::milliseconds time{};
    bool indexWritten = false;
    bool sitemapWritten = false;
    std::vector<std::string> siteProblems;  // UTF-8
    int stopSignal = 0;                     // SIGINT or SIGTERM when one ended the run early
    size_t keywordsLeft = 0;                // not begun when the signal came
};

// 0 when every keyword's page and the site index were written, else 1;
// 128 + the signal's number after a stop by signal, as a shell reports it.
int ExitStatus(const BatchSummary& summary);

// The run's last line on standard error: pages written and their items,
// failures, the folder, and what became of index and sitemap.
std::string ClosingLine(const BatchSummary& summary);

// The summary as one JSON object: counts, failures with their causes, times
// (total and per keyword), the files written, and what became of the index
// and the sitemap.
std::string SummaryJson(const BatchSummary& summary);

}  // namespace velmora::app
