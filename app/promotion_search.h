// The affiliate search's result page turned into the rows of the window's
// hidden item list, which the marketplace collector reads next.
#pragma once

namespace velmora::app {

// Clears the item list and appends one row per item anchor of the page:
// item id, title and seller. Then holds the thread for 200 ms, handling nothing.
void ParsePromotionPage(const char* page);

}  // namespace velmora::app
