#include "app/classic_source.h"

#include "app/collector_globals.h"
#include "app/marketplace_collector.h"
#include "app/promotion_page.h"
#include "app/promotion_search.h"
#include "app/window_calls.h"
#include "commands/control_commands.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kSearchingIn[] = "正在";
VELMORA_CONSTANT const char kSearching[] = "搜寻。。。\r\n";
VELMORA_CONSTANT const char kSearchDone[] = "搜寻完毕\r\n";

Text SelectedSortName() {
    int index = ReadInteger(kSortChoice, property::kComboBoxSelection);
    return TakeText(CallCore(commands::ComboBoxGetItemText,
                             {ControlOf(tag::kComboBox, kSortChoice), MakeInteger(index)}));
}

}  // namespace

SearchOutcome ClassicSource::Search(const ItemQuery& query) {
    if (auto fetched = FetchPromotionPage(query.keyword, query.sortIndex))
        page_ = std::move(*fetched);
    ResponsiveWait(200);
    AppendToLog({kSearchingIn, SelectedSortName().c_str(), kSearching});
    if (Globals().stopRequested) return {SearchStatus::kStopped, Text()};
    ParsePromotionPage(page_.c_str());
    ResponsiveWait(500);
    AppendToLog({kSearchDone});
    return {};
}

// Positions past the search's items come out empty, as the marketplace has nothing for them.
std::optional<ItemRecord> ClassicSource::Item(int rank) {
    return CollectMarketplaceItem(rank);
}

void ClassicSource::Pause(int milliseconds) {
    ResponsiveWait(milliseconds);
}

}  // namespace velmora::app
