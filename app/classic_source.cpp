#include "app/classic_source.h"

#include "app/collector_globals.h"
#include "app/engine_calls.h"
#include "app/fetch_page.h"
#include "app/marketplace_page.h"
#include "app/promotion_page.h"
#include "app/visible_text.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kSearchingIn[] = "正在";
VELMORA_CONSTANT const char kSearching[] = "搜寻。。。\r\n";
VELMORA_CONSTANT const char kSearchDone[] = "搜寻完毕\r\n";
// The window's sort choice lists the same three, in this order.
VELMORA_CONSTANT const char kBySales[] = "按销量由高到底";
VELMORA_CONSTANT const char kByCommissionRate[] = "按佣金比率由高到底";
VELMORA_CONSTANT const char kByCommissionPaid[] = "30天支出佣金由高到底";

VELMORA_CONSTANT const char kPost[] = "POST";
VELMORA_CONSTANT const char kSearchStarts[] = "开始搜寻";
VELMORA_CONSTANT const char kSearchStartsEnd[] = "的信息\r\n";
VELMORA_CONSTANT const char kSearchEnds[] = "搜寻";
VELMORA_CONSTANT const char kSearchEndsEnd[] = "完毕\r\n";
constexpr int kWaitAfterRequest = 200;
constexpr int kWaitAfterCuts = 200;

}  // namespace

const char* SortOrderName(int sortIndex) {
    static const char* const names[] = {kBySales, kByCommissionRate, kByCommissionPaid};
    return sortIndex >= 0 && sortIndex <= 2 ? names[sortIndex] : kEmptyText;
}

ItemRecord CollectMarketplaceItem(ItemRows& rows, int rank, LogSink& log) {
    PromotionItem row = rows.Row(rank - 1);
    ItemRecord item;
    item.rank = rank;
    item.title = std::move(row.title);
    item.itemId = std::move(row.itemId);
    item.seller = std::move(row.seller);
    // The title comes from the site's page: no control byte of its own reaches the log.
    const std::string titleShown = VisibleText(item.title.view(), TextEncoding::kGbk);
    log.Append({kSearchStarts, titleShown.c_str(), kSearchStartsEnd});

    Text address = MarketplaceSearchAddress(item.title.c_str());
    Text page = FetchPage(address.c_str(), kPost);
    ResponsiveWait(kWaitAfterRequest);

    MarketplaceFields fields = CutMarketplaceItem(page.c_str(), item.itemId.c_str());
    item.pictureUrl = std::move(fields.pictureUrl);
    item.itemUrl = std::move(fields.itemUrl);
    item.price = std::move(fields.price);
    item.sales = std::move(fields.sales);
    ResponsiveWait(kWaitAfterCuts);
    log.Append({kSearchEnds, titleShown.c_str(), kSearchEndsEnd});
    return item;
}

SearchOutcome ClassicSource::Search(const ItemQuery& query) {
    if (auto fetched = FetchPromotionPage(query.keyword, query.sortIndex))
        page_ = std::move(*fetched);
    ResponsiveWait(200);
    log_.Append({kSearchingIn, SortOrderName(query.sortIndex), kSearching});
    if (Globals().stopRequested) return {SearchStatus::kStopped, Text()};
    FillItemRows(page_.c_str(), rows_);
    ResponsiveWait(500);
    log_.Append({kSearchDone});
    return {};
}

// Positions past the search's items come out empty, as the marketplace has nothing for them.
std::optional<ItemRecord> ClassicSource::Item(int rank) {
    return CollectMarketplaceItem(rows_, rank, log_);
}

void ClassicSource::Pause(int milliseconds) {
    ResponsiveWait(milliseconds);
}

}  // namespace velmora::app
