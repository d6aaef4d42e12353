// The rows the classic source cuts out of the affiliate search's page and
// looks up on the marketplace one by one: the window keeps them in its hidden
// item list, the batch command in memory.
#pragma once

#include <vector>

#include "app/promotion_page.h"

namespace velmora::app {

class ItemRows {
  public:
    virtual ~ItemRows() = default;
    virtual void Clear() = 0;
    virtual void Append(const PromotionItem& item) = 0;
    // The row at index (from 0); empty texts past the last one.
    virtual PromotionItem Row(int index) = 0;
};

class MemoryItemRows final : public ItemRows {
  public:
    void Clear() override;
    void Append(const PromotionItem& item) override;
    PromotionItem Row(int index) override;

  private:
    std::vector<PromotionItem> rows_;
};

// Replaces the rows with one per item anchor of the page: item id, title and
// seller. Then holds the thread for 200 ms, handling nothing.
void FillItemRows(const char* page, ItemRows& rows);

}  // namespace velmora::app
