// The affiliate platform's promotion search without the window: the request
// of one search and the cuts that take the items out of its result page.
#pragma once

#include <optional>
#include <vector>

#include "app/runtime_calls.h"

namespace velmora::app {

// The search address for the keyword in one of the three sort orders (0 by
// sales, 1 by commission rate, 2 by commission paid in 30 days); nullopt for
// any other index. The keyword's bytes go in as typed, with no encoding.
std::optional<Text> PromotionSearchAddress(const char* keyword, int sortIndex);

// The result page for the keyword in the chosen sort order, posted with an
// empty body. For a sort index other than 0, 1 or 2 nothing is sent and
// nothing comes back: the caller keeps the page it holds.
std::optional<Text> FetchPromotionPage(const char* keyword, int sortIndex);

// 1-based positions of every item anchor on the page, in page order. The scan
// starts at byte 10, so an anchor that begins in the first nine bytes is not seen.
std::vector<int> FindItemAnchors(const char* page);

struct PromotionItem {
    Text itemId;
    Text title;  // without its "<span>" and "</span>" tags
    Text seller;
};

// The item whose block follows the anchor at anchorPosition, a position that
// FindItemAnchors gave for this page.
PromotionItem CutPromotionItem(const char* page, int anchorPosition);

}  // namespace velmora::app
