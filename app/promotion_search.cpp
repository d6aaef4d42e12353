#include "app/promotion_search.h"

#include "app/item_rows.h"
#include "app/window_engine_parts.h"

namespace velmora::app {

void ParsePromotionPage(const char* page) {
    ItemListRows rows;
    FillItemRows(page, rows);
}

}  // namespace velmora::app
