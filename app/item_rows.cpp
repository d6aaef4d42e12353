#include "app/item_rows.h"

#include "app/engine_calls.h"

namespace velmora::app {
namespace {

constexpr int kAfterParseDelay = 200;

Text Copy(const Text& text) {
    return Concat({text.c_str()});
}

}  // namespace

void MemoryItemRows::Clear() {
    rows_.clear();
}

void MemoryItemRows::Append(const PromotionItem& item) {
    rows_.push_back({Copy(item.itemId), Copy(item.title), Copy(item.seller)});
}

PromotionItem MemoryItemRows::Row(int index) {
    if (index < 0 || static_cast<size_t>(index) >= rows_.size()) return {};
    const PromotionItem& row = rows_[static_cast<size_t>(index)];
    return {Copy(row.itemId), Copy(row.title), Copy(row.seller)};
}

void FillItemRows(const char* page, ItemRows& rows) {
    std::vector<int> anchors = FindItemAnchors(page);
    rows.Clear();
    for (int anchor : anchors) rows.Append(CutPromotionItem(page, anchor));
    BlockingDelay(kAfterParseDelay);
}

}  // namespace velmora::app
