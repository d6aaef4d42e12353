// The classic item source: the affiliate platform's search page, cut into the
// hidden item list, and one marketplace lookup per item.
#pragma once

#include "app/item_source.h"

namespace velmora::app {

class ClassicSource final : public ItemSource {
  public:
    SearchOutcome Search(const ItemQuery& query) override;
    std::optional<ItemRecord> Item(int rank) override;
    void Pause(int milliseconds) override;

  private:
    // A sort index without a sort order sends nothing and keeps this page.
    Text page_;
};

}  // namespace velmora::app
