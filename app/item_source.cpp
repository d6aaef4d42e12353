#include "app/item_source.h"

namespace velmora::app {

KeywordItems CollectItems(ItemSource& source, const ItemQuery& query) {
    KeywordItems result;
    result.outcome = source.Search(query);
    if (result.outcome.status != SearchStatus::kFound) return result;
    for (int rank = 1; rank <= query.count; ++rank) {
        std::optional<ItemRecord> item = source.Item(rank);
        if (!item) break;
        result.items.push_back(std::move(*item));
    }
    return result;
}

}  // namespace velmora::app
