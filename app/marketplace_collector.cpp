#include "app/marketplace_collector.h"

#include "app/classic_source.h"
#include "app/collector_globals.h"
#include "app/fetch_page.h"
#include "app/item_record.h"
#include "app/marketplace_page.h"
#include "app/template_engine.h"
#include "app/template_text.h"
#include "app/visible_text.h"
#include "app/window_calls.h"
#include "controls/list_view_commands.h"
#include "runtime/constants.h"
#include "runtime/growing_text.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kPost[] = "POST";
VELMORA_CONSTANT const char kNoItemCount[] = "请添加商品生成数量";
VELMORA_CONSTANT const char kSearchStarts[] = "开始搜寻";
VELMORA_CONSTANT const char kSearchStartsEnd[] = "的信息\r\n";
VELMORA_CONSTANT const char kSearchEnds[] = "搜寻";
VELMORA_CONSTANT const char kSearchEndsEnd[] = "完毕\r\n";
constexpr int kWaitAfterRequest = 200;
constexpr int kWaitAfterCuts = 200;

enum ItemColumn { kItemIdColumn = 0, kTitleColumn = 1, kSellerColumn = 2 };

Text CellText(int row, int column) {
    return TakeText(
        CallLibrary(kExtendedUiLibrary, controls::GetCellText,
                    {ControlOf(tag::kListView, kItemList), MakeInteger(row), MakeInteger(column)}));
}

}  // namespace

ItemRecord CollectMarketplaceItem(int rank) {
    ItemRecord item;
    item.rank = rank;
    item.title = CellText(rank - 1, kTitleColumn);
    item.itemId = CellText(rank - 1, kItemIdColumn);
    item.seller = CellText(rank - 1, kSellerColumn);
    // The title comes from the site's page: no control byte of its own reaches the log.
    const std::string titleShown = VisibleText(item.title.view(), TextEncoding::kGbk);
    AppendToLog({kSearchStarts, titleShown.c_str(), kSearchStartsEnd});

    Text address = MarketplaceSearchAddress(item.title.c_str());
    Text page = FetchPage(address.c_str(), kPost);
    ResponsiveWait(kWaitAfterRequest);

    MarketplaceFields fields = CutMarketplaceItem(page.c_str(), item.itemId.c_str());
    item.pictureUrl = std::move(fields.pictureUrl);
    item.itemUrl = std::move(fields.itemUrl);
    item.price = std::move(fields.price);
    item.sales = std::move(fields.sales);
    ResponsiveWait(kWaitAfterCuts);
    AppendToLog({kSearchEnds, titleShown.c_str(), kSearchEndsEnd});
    return item;
}

void CollectAndWritePage() {
    ClassicSource classic;
    CollectAndWritePage(classic);
}

void CollectAndWritePage(ItemSource& source) {
    Text countText = ReadText(kItemCountBox);
    if (countText.empty()) ShowInformation(kNoItemCount);
    const int count = ItemCountFromText(countText.c_str());

    GrowingText items;
    for (int rank = 1; rank <= count; ++rank) {
        std::optional<ItemRecord> item = source.Item(rank);
        if (!item) break;
        // Read for every item: a template chosen meanwhile counts from the next one on.
        Text loop = ReadText(kLoopBox);
        items.Append(RenderItem(loop.c_str(), Globals().currentKeyword, *item).view());
        // A stop ends the loop here, so a huge count does not hold the run for hours.
        if (Globals().stopRequested) break;
    }
    WritePage(items.c_str());
}

}  // namespace velmora::app
