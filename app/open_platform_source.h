// The open-platform item source: one signed material search per page of
// results (up to 100 items a page) at the settings' rate, the answer mapped
// into the template's fields as GBK.
#pragma once

#include <functional>
#include <vector>

#include "app/item_source.h"
#include "app/open_platform_answer.h"
#include "app/request_rate.h"
#include "app/settings.h"

namespace velmora::app {

class OpenPlatformSource final : public ItemSource {
  public:
    explicit OpenPlatformSource(ApiSettings api);

    // A failed search (refusal, time-out, unreachable gateway, an answer
    // that is not JSON or holds no item) gives its cause, naming the keyword.
    SearchOutcome Search(const ItemQuery& query) override;
    std::optional<ItemRecord> Item(int rank) override;
    void Pause(int milliseconds) override;

  private:
    ApiSettings api_;
    RequestRate rate_;
    std::vector<PlatformItem> items_;
};

// The log line that opens a run on this source (GBK).
Text OpenPlatformRunLine(const ApiSettings& api);

}  // namespace velmora::app
