// The affiliate promotion search of one keyword and the parse of its result
// page into the hidden item list, which the marketplace collector reads next.
#pragma once

#include <optional>

#include "app/runtime_calls.h"

namespace velmora::app {

// The result page for the keyword in the chosen sort order. For a sort index
// other than 0, 1 or 2 nothing is sent and nothing comes back: the caller
// keeps the page it holds.
std::optional<Text> FetchPromotionPage(const char* keyword, int sortIndex);

// Clears the item list and appends one row per item anchor of the page:
// item id, title and seller. Then holds the thread for 200 ms, handling nothing.
void ParsePromotionPage(const char* page);

}  // namespace velmora::app
