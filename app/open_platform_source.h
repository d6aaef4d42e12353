// The open-platform item source: one signed material search per page of
// results (up to 100 items a page) at the settings' rate, the answer mapped
// into the template's fields as GBK.
#pragma once

#include <functional>
#include <vector>

#include "app/item_source.h"
#include "app/open_platform_answer.h"
#include "app/open_platform_request.h"
#include "app/open_platform_retry.h"
#include "app/request_rate.h"
#include "app/settings.h"

namespace velmora::app {

// Sleeps through the window's event loop (without a window, plain sleeps);
// jitter from a seeded engine.
PlatformWaits RealPlatformWaits();

class OpenPlatformSource final : public ItemSource {
  public:
    explicit OpenPlatformSource(ApiSettings api, PlatformWaits waits = RealPlatformWaits());

    // A failed search (refusal, time-out, unreachable gateway, an answer
    // that is not JSON or holds no item) gives its cause, naming the keyword.
    // Each page waits out a ban (said in the query's log first) and retries
    // what may pass on its own before the keyword fails; a keyword empty once
    // trimmed is skipped unsent. Emptied addresses are said in that log too.
    SearchOutcome Search(const ItemQuery& query) override;
    std::optional<ItemRecord> Item(int rank) override;
    void Pause(int milliseconds) override;

  private:
    // One request: its answer, or the cause of its failure and what may help.
    struct Attempt {
        PlatformAnswer answer;
        std::string cause;  // GBK; empty when the answer holds a result
        bool transient = false;
        std::optional<std::chrono::seconds> ban;
    };
    Attempt Ask(const SearchPage& page);
    // nullopt when the keyword ends here, with `ended` saying how.
    std::optional<PlatformAnswer> AskUntilAnswered(const SearchPage& page,
                                                   std::string_view keywordGbk, LogSink* log,
                                                   SearchOutcome& ended);

    ApiSettings api_;
    RequestRate rate_;
    PlatformWaits waits_;
    std::chrono::seconds bansWaitedOut_{0};  // by the current keyword
    std::vector<PlatformItem> items_;
};

// The log line that opens a run on this source (GBK).
Text OpenPlatformRunLine(const ApiSettings& api);

}  // namespace velmora::app
