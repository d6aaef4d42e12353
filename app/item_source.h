// Where the collection run gets a keyword's ranked items: the classic source
// cuts them out of the sites' pages, the open-platform source asks the
// affiliate API. The run, the template engine, the page writing and the log
// are the same for both.
#pragma once

#include <optional>
#include <vector>

#include "app/item_record.h"
#include "app/log_sink.h"
#include "app/runtime_calls.h"

namespace velmora::app {

struct ItemQuery {
    const char* keyword = nullptr;  // GBK
    int sortIndex = 0;              // 0 sales, 1 commission rate, 2 commission paid in 30 days
    int count = 0;                  // items wanted
    LogSink* log = nullptr;         // the run's log, for what a source drops or waits for
};

// kSkipped: nothing to look up (an empty keyword), no page and no log line.
enum class SearchStatus { kFound, kStopped, kFailed, kSkipped };

struct SearchOutcome {
    SearchStatus status = SearchStatus::kFound;
    Text cause;  // GBK, for the log line of a failed search
};

class ItemSource {
  public:
    virtual ~ItemSource() = default;
    // Looks the keyword up; the items follow through Item. A stop request seen
    // here ends the keyword without a page.
    virtual SearchOutcome Search(const ItemQuery& query) = 0;
    // The item at rank (from 1) of the last search; nothing past its last item.
    virtual std::optional<ItemRecord> Item(int rank) = 0;
    // The run's pause between its steps: the classic source keeps its fixed
    // waits, a source with its own rate only lets the window breathe.
    virtual void Pause(int milliseconds) = 0;
};

struct KeywordItems {
    SearchOutcome outcome;
    std::vector<ItemRecord> items;  // in rank order; empty unless found
};

// The query's items all at once, for callers that render them later.
KeywordItems CollectItems(ItemSource& source, const ItemQuery& query);

}  // namespace velmora::app
