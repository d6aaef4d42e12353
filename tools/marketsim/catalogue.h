// The simulated goods: for every keyword a fixed list of items, the same on
// every run, so that a test can predict each page the sites serve.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::marketsim {

struct CatalogueItem {
    std::string id;      // twelve digits, so no id is the prefix of another
    std::string title;   // keyword + " " + style + " " + kind, GBK
    std::string seller;  // GBK nickname
    int64_t priceCents = 0;
    int64_t sales30 = 0;                // buyers in the last 30 days
    int64_t commissionRateBp = 0;       // hundredths of a percent
    int64_t commissionPaid30Cents = 0;  // commission paid in the last 30 days
};

// The promotion search's three sort values, each sorting from high to low.
enum class SortKey { kSales, kCommissionRate, kCommissionPaid };
std::optional<SortKey> SortKeyFromValue(std::string_view value);

inline constexpr size_t kMaxPageItems = 40;

// Every item of a keyword (between 24 and 40; none for the empty keyword).
std::vector<CatalogueItem> Catalogue(std::string_view keyword);

// What the promotion search lists: the keyword's items sorted by `key`
// (ties by id), at most `pageSize` and never more than kMaxPageItems.
std::vector<CatalogueItem> PromotionItems(std::string_view keyword, SortKey key, size_t pageSize);

// What the marketplace search lists for a query: a query that is the title
// of an item lists that item's keyword, any other query the items of the
// query taken as keyword. Ordered by id, which mixes the affiliate order.
std::vector<CatalogueItem> MarketplaceItems(std::string_view query);

// "128.00" for 12800.
std::string FormatCents(int64_t cents);

}  // namespace velmora::marketsim
