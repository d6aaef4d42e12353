#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/test_support.h"
#include "tools/marketsim/catalogue.h"

namespace velmora::marketsim {
namespace {

using velmora::testing::Gbk;

TEST(CatalogueTest, SameKeywordSameItemsOtherKeywordOtherItems) {
    std::string phone = Gbk("手机");
    std::vector<CatalogueItem> a = Catalogue(phone);
    std::vector<CatalogueItem> b = Catalogue(phone);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].id, b[i].id);
        EXPECT_EQ(a[i].title, b[i].title);
        EXPECT_EQ(a[i].seller, b[i].seller);
        EXPECT_EQ(a[i].priceCents, b[i].priceCents);
    }
    EXPECT_NE(Catalogue(Gbk("连衣裙")).front().id, a.front().id);
    EXPECT_TRUE(Catalogue("").empty());
}

TEST(CatalogueTest, ItemsAreWellFormedForManyKeywords) {
    for (const char* utf8 :
         {"手机", "连衣裙", "a", "iphone 15 pro", "  ", "x&<y>\"", "零食大礼包"}) {
        std::string keyword = Gbk(utf8);
        std::vector<CatalogueItem> items = Catalogue(keyword);
        EXPECT_GE(items.size(), 24u) << utf8;
        EXPECT_LE(items.size(), kMaxPageItems) << utf8;
        std::set<std::string> ids, titles;
        for (const CatalogueItem& item : items) {
            EXPECT_EQ(item.id.size(), 12u);
            EXPECT_EQ(item.id.find_first_not_of("0123456789"), std::string::npos);
            EXPECT_TRUE(item.title.starts_with(keyword + " ")) << utf8;
            EXPECT_FALSE(item.seller.empty());
            EXPECT_GT(item.priceCents, 0);
            EXPECT_GT(item.sales30, 0);
            EXPECT_GT(item.commissionRateBp, 0);
            ids.insert(item.id);
            titles.insert(item.title);
        }
        // The marketplace finds an item by its title, the collector by its id.
        EXPECT_EQ(ids.size(), items.size()) << utf8;
        EXPECT_EQ(titles.size(), items.size()) << utf8;
    }
}

TEST(CatalogueTest, PromotionItemsFollowTheSortValue) {
    struct Case {
        const char* value;
        int64_t CatalogueItem::*field;
    };
    std::string keyword = Gbk("手机");
    for (Case c : {Case{"_totalnum", &CatalogueItem::sales30},
                   Case{"_commrate", &CatalogueItem::commissionRateBp},
                   Case{"_totalfee", &CatalogueItem::commissionPaid30Cents}}) {
        std::optional<SortKey> key = SortKeyFromValue(c.value);
        ASSERT_TRUE(key) << c.value;
        std::vector<CatalogueItem> items = PromotionItems(keyword, *key, 40);
        EXPECT_EQ(items.size(), Catalogue(keyword).size());
        for (size_t i = 1; i < items.size(); ++i) {
            EXPECT_GE(items[i - 1].*c.field, items[i].*c.field) << c.value << " at " << i;
        }
    }
    // The three orders differ, or the sort choice would make no difference.
    EXPECT_NE(PromotionItems(keyword, SortKey::kSales, 40).front().id,
              PromotionItems(keyword, SortKey::kCommissionRate, 40).front().id);
    EXPECT_FALSE(SortKeyFromValue("_TOTALNUM"));
    EXPECT_FALSE(SortKeyFromValue(""));
}

TEST(CatalogueTest, PageSizeLimitsTheList) {
    std::string keyword = Gbk("手机");
    EXPECT_EQ(PromotionItems(keyword, SortKey::kSales, 5).size(), 5u);
    EXPECT_EQ(PromotionItems(keyword, SortKey::kSales, 500).size(), Catalogue(keyword).size());
    EXPECT_EQ(PromotionItems(keyword, SortKey::kSales, 5).back().id,
              PromotionItems(keyword, SortKey::kSales, 40)[4].id);
}

TEST(CatalogueTest, MarketplaceFindsEveryTitleOfAKeyword) {
    for (const char* utf8 : {"手机", "iphone 15 pro", "a b "}) {
        std::string keyword = Gbk(utf8);
        for (const CatalogueItem& item : Catalogue(keyword)) {
            std::vector<CatalogueItem> found = MarketplaceItems(item.title);
            ASSERT_TRUE(std::any_of(found.begin(), found.end(), [&](const CatalogueItem& f) {
                return f.id == item.id;
            })) << utf8;
            EXPECT_TRUE(std::is_sorted(found.begin(), found.end(),
                                       [](const auto& x, const auto& y) { return x.id < y.id; }));
        }
    }
    // A plain keyword lists that keyword's items; nothing lists nothing.
    EXPECT_EQ(MarketplaceItems(Gbk("手机")).size(), Catalogue(Gbk("手机")).size());
    EXPECT_TRUE(MarketplaceItems("").empty());
}

TEST(CatalogueTest, FormatsCents) {
    EXPECT_EQ(FormatCents(12800), "128.00");
    EXPECT_EQ(FormatCents(995), "9.95");
    EXPECT_EQ(FormatCents(5), "0.05");
}

}  // namespace
}  // namespace velmora::marketsim
