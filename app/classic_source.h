// The classic item source: the affiliate platform's search page, cut into
// item rows, and one marketplace lookup per item.
#pragma once

#include "app/item_rows.h"
#include "app/item_source.h"
#include "app/log_sink.h"

namespace velmora::app {

class ClassicSource final : public ItemSource {
  public:
    ClassicSource(ItemRows& rows, LogSink& log) : rows_(rows), log_(log) {}

    SearchOutcome Search(const ItemQuery& query) override;
    std::optional<ItemRecord> Item(int rank) override;
    void Pause(int milliseconds) override;

  private:
    ItemRows& rows_;
    LogSink& log_;
    // A sort index without a sort order sends nothing and keeps this page.
    Text page_;
};

// The sort order's name as the search line says it (GBK); empty for an
// index without one.
const char* SortOrderName(int sortIndex);

// The row at rank (from 1), looked up on the marketplace, each step logged.
// Costs one request and two responsive waits.
ItemRecord CollectMarketplaceItem(ItemRows& rows, int rank, LogSink& log);

}  // namespace velmora::app
