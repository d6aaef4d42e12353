#include "app/marketplace_collector.h"

#include "app/classic_source.h"
#include "app/collection_engine.h"
#include "app/marketplace_page.h"
#include "app/window_calls.h"
#include "app/window_engine_parts.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kNoItemCount[] = "请添加商品生成数量";

}  // namespace

ItemRecord CollectMarketplaceItem(int rank) {
    ItemListRows rows;
    LogBox log;
    return CollectMarketplaceItem(rows, rank, log);
}

void CollectAndWritePage() {
    ItemListRows rows;
    LogBox log;
    ClassicSource classic(rows, log);
    CollectAndWritePage(classic);
}

void CollectAndWritePage(ItemSource& source) {
    Text countText = ReadText(kItemCountBox);
    if (countText.empty()) ShowInformation(kNoItemCount);
    EditorTemplate page;
    LogBox log;
    CollectAndWritePage(source, ItemCountFromText(countText.c_str()), page, log);
}

}  // namespace velmora::app
