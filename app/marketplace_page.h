// The marketplace search as text: the address that looks an item up by its
// title, the cuts that take its fields out of the result page, and the item
// count the collector reads from the count box.
#pragma once

#include "app/runtime_calls.h"

namespace velmora::app {

// The title goes in as it stands, with no encoding.
Text MarketplaceSearchAddress(const char* title);

struct MarketplaceFields {
    Text pictureUrl;  // up to, not including, the thumbnail size suffix
    Text itemUrl;
    Text price;
    Text sales;  // buyers in the last 30 days
};

// The fields of the item with this id, cut from its block on the page: the
// block starts at the first `nid="` + id and ends at the item's rating label.
MarketplaceFields CutMarketplaceItem(const char* page, const char* itemId);

// The count box's text as a number of items, truncated toward zero; text
// that is not a number counts as 0.
int ItemCountFromText(const char* countText);

}  // namespace velmora::app
