// The collector's cuts on the pages the simulator serves: every listed item
// comes back whole, in order, for each sort order, and every item is found
// again on the marketplace page its title leads to.
#include <gtest/gtest.h>

#include <string>

#include "app/marketplace_page.h"
#include "app/promotion_page.h"
#include "runtime/heap.h"
#include "tests/test_support.h"
#include "tools/marketsim/catalogue.h"
#include "tools/marketsim/pages.h"

namespace velmora::app {
namespace {

using velmora::testing::Gbk;
namespace sim = velmora::marketsim;

class CollectorSimPagesTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override { before_ = LiveBlockCount(); }
    void TearDown() override { EXPECT_EQ(LiveBlockCount(), before_) << "blocks leaked"; }
    long before_ = 0;
};

TEST_P(CollectorSimPagesTest, PromotionPageGivesEveryItemInOrder) {
    const std::string keyword = Gbk(GetParam());
    for (sim::SortKey key :
         {sim::SortKey::kSales, sim::SortKey::kCommissionRate, sim::SortKey::kCommissionPaid}) {
        std::vector<sim::CatalogueItem> items = sim::PromotionItems(keyword, key, 40);
        std::string page = sim::PromotionPage(keyword, key, items);
        std::vector<int> anchors = FindItemAnchors(page.c_str());
        ASSERT_EQ(anchors.size(), items.size());
        for (size_t i = 0; i < items.size(); ++i) {
            SCOPED_TRACE(items[i].id);
            PromotionItem item = CutPromotionItem(page.c_str(), anchors[i]);
            EXPECT_EQ(item.itemId.view(), items[i].id);
            EXPECT_EQ(item.title.view(), items[i].title);
            EXPECT_EQ(item.seller.view(), items[i].seller);
        }
    }
}

TEST_P(CollectorSimPagesTest, MarketplacePageGivesTheItemsFields) {
    const std::string keyword = Gbk(GetParam());
    for (const sim::CatalogueItem& listed :
         sim::PromotionItems(keyword, sim::SortKey::kSales, 40)) {
        SCOPED_TRACE(listed.id);
        std::string page = sim::MarketplacePage(listed.title, sim::MarketplaceItems(listed.title));
        MarketplaceFields fields = CutMarketplaceItem(page.c_str(), listed.id.c_str());
        EXPECT_EQ(fields.pictureUrl.view(), sim::PictureUrl(listed.id));
        EXPECT_EQ(fields.itemUrl.view(), sim::ItemUrl(listed.id));
        EXPECT_EQ(fields.price.view(), sim::FormatCents(listed.priceCents));
        EXPECT_EQ(fields.sales.view(), std::to_string(listed.sales30));
    }
}

INSTANTIATE_TEST_SUITE_P(Keywords, CollectorSimPagesTest,
                         ::testing::Values("手机", "连衣裙", "phone case"));

}  // namespace
}  // namespace velmora::app
