// The marketplace collector as the window drives it: every wanted row of the
// hidden item list looked up on the marketplace, rendered into the loop box's
// template, and the page written.
#pragma once

#include "app/item_source.h"

namespace velmora::app {

// Collects the first item-count items of the source's last search for the
// current keyword and writes its page. Without a source they are the rows of
// the item list, each costing one marketplace request and two responsive
// waits, during which other handlers may run.
void CollectAndWritePage();
void CollectAndWritePage(ItemSource& source);

// The item list's row at rank (from 1), looked up on the marketplace.
ItemRecord CollectMarketplaceItem(int rank);

}  // namespace velmora::app
