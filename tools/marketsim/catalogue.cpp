#include "tools/marketsim/catalogue.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>

namespace velmora::marketsim {
namespace {

constexpr std::array<const char*, 8> kStyles = {
    "2024新款", "官方正品", "热卖爆款", "限时特价", "品质精选", "人气推荐", "限量发售", "经典款式",
};
constexpr std::array<const char*, 6> kKinds = {
    "包邮", "顺丰包邮", "加厚升级版", "礼盒装", "官方标配", "全国联保",
};
constexpr std::array<const char*, 10> kSellerNames = {
    "鑫源", "星辰", "乐享", "悦然", "晨光", "锦绣", "青禾", "云朵", "木子", "橙心",
};
constexpr std::array<const char*, 6> kSellerKinds = {
    "数码专营店", "旗舰店", "家居馆", "小铺", "精品店", "生活馆",
};
static_assert(kStyles.size() * kKinds.size() >= kMaxPageItems, "titles must stay distinct");

// Stable across compilers and runs, unlike std::hash.
uint64_t Fnv1a(std::string_view bytes) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

uint64_t SplitMix(uint64_t& state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int64_t SortValue(const CatalogueItem& item, SortKey key) {
    switch (key) {
        case SortKey::kSales:
            return item.sales30;
        case SortKey::kCommissionRate:
            return item.commissionRateBp;
        case SortKey::kCommissionPaid:
            return item.commissionPaid30Cents;
    }
    return 0;
}

std::vector<CatalogueItem> SortedById(std::vector<CatalogueItem> items) {
    std::sort(items.begin(), items.end(),
              [](const CatalogueItem& a, const CatalogueItem& b) { return a.id < b.id; });
    return items;
}

}  // namespace

std::optional<SortKey> SortKeyFromValue(std::string_view value) {
    if (value == "_totalnum") return SortKey::kSales;
    if (value == "_commrate") return SortKey::kCommissionRate;
    if (value == "_totalfee") return SortKey::kCommissionPaid;
    return std::nullopt;
}

std::vector<CatalogueItem> Catalogue(std::string_view keyword) {
    std::vector<CatalogueItem> items;
    if (keyword.empty()) return items;
    uint64_t state = Fnv1a(keyword);
    size_t count = 24 + SplitMix(state) % (kMaxPageItems - 24 + 1);

    // Each item gets its own style and kind, so every title is distinct.
    std::vector<size_t> combos(kStyles.size() * kKinds.size());
    for (size_t i = 0; i < combos.size(); ++i) combos[i] = i;
    for (size_t i = combos.size() - 1; i > 0; --i) {
        std::swap(combos[i], combos[SplitMix(state) % (i + 1)]);
    }

    std::set<std::string> ids;
    for (size_t i = 0; i < count; ++i) {
        CatalogueItem item;
        do {
            item.id = std::to_string(500000000000ull + SplitMix(state) % 100000000000ull);
        } while (!ids.insert(item.id).second);
        size_t combo = combos[i];
        item.title = std::string(keyword) + " " + kStyles[combo / kKinds.size()] + " " +
                     kKinds[combo % kKinds.size()];
        item.seller = std::string(kSellerNames[SplitMix(state) % kSellerNames.size()]) +
                      kSellerKinds[SplitMix(state) % kSellerKinds.size()];
        item.priceCents = 990 + static_cast<int64_t>(SplitMix(state) % 99000) / 10 * 10;
        item.sales30 = 1 + static_cast<int64_t>(SplitMix(state) % 20000);
        item.commissionRateBp = 100 + static_cast<int64_t>(SplitMix(state) % 3901);
        // About a fifth of the buyers came through affiliates.
        item.commissionPaid30Cents =
            item.priceCents * item.commissionRateBp / 10000 * (item.sales30 / 5 + 1);
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<CatalogueItem> PromotionItems(std::string_view keyword, SortKey key, size_t pageSize) {
    std::vector<CatalogueItem> items = Catalogue(keyword);
    std::sort(items.begin(), items.end(), [key](const CatalogueItem& a, const CatalogueItem& b) {
        int64_t va = SortValue(a, key), vb = SortValue(b, key);
        return va != vb ? va > vb : a.id < b.id;
    });
    items.resize(std::min({items.size(), pageSize, kMaxPageItems}));
    return items;
}

std::vector<CatalogueItem> MarketplaceItems(std::string_view query) {
    // A title ends in " style kind"; what stands before is the keyword.
    size_t last = query.rfind(' ');
    if (last != std::string_view::npos && last > 0) {
        size_t before = query.rfind(' ', last - 1);
        if (before != std::string_view::npos) {
            std::vector<CatalogueItem> items = Catalogue(query.substr(0, before));
            bool isTitle = std::any_of(items.begin(), items.end(), [query](const CatalogueItem& i) {
                return i.title == query;
            });
            if (isTitle) return SortedById(std::move(items));
        }
    }
    return SortedById(Catalogue(query));
}

std::string FormatCents(int64_t cents) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(cents / 100),
                  static_cast<long long>(cents % 100));
    return text;
}

}  // namespace velmora::marketsim
