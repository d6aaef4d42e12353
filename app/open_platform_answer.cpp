#include "app/open_platform_answer.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>

namespace velmora::app {
namespace {

using nlohmann::json;

// The gateway writes numbers as strings in some fields and as numbers in others.
std::string FieldText(const json& object, const char* key) {
    if (!object.is_object()) return {};
    auto field = object.find(key);
    if (field == object.end()) return {};
    if (field->is_string()) return field->get<std::string>();
    if (field->is_number_unsigned()) return std::to_string(field->get<uint64_t>());
    if (field->is_number_integer()) return std::to_string(field->get<int64_t>());
    if (field->is_number()) return field->dump();
    return {};
}

// The flat field, or the upgrade's field of that name inside `group`.
std::string ItemField(const json& item, const char* key, const char* group,
                      const char* groupKey = nullptr) {
    std::string flat = FieldText(item, key);
    if (!flat.empty() || !item.contains(group)) return flat;
    return FieldText(item[group], groupKey ? groupKey : key);
}

// Real prices and counts stay far below these; a larger number is a fault
// or an attack, and its cents must not overflow.
constexpr int64_t kMaxYuan = 1'000'000'000;
constexpr int64_t kMaxCount = 1'000'000'000'000;

// A field that reads as a number must be a plain decimal of at most `limit`
// before its point; a negative, exponent or larger one empties the field.
// Other texts stay as the gateway wrote them.
std::string Bounded(std::string text, int64_t limit) {
    if (text.empty() || !std::strchr("0123456789+-.", text[0])) return text;
    std::string_view whole(text.data(), std::min(text.find('.'), text.size()));
    std::string_view fraction = std::string_view(text).substr(whole.size());
    if (!fraction.empty()) fraction.remove_prefix(1);
    int64_t value = 0;
    auto [end, error] = std::from_chars(whole.data(), whole.data() + whole.size(), value);
    if (whole.empty() || error != std::errc() || end != whole.data() + whole.size() || value < 0 ||
        value > limit || fraction.find_first_not_of("0123456789") != std::string_view::npos)
        return {};
    return text;
}

std::optional<int64_t> Cents(std::string_view text) {
    size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
    int64_t yuan = 0;
    auto [end, error] = std::from_chars(whole.data(), whole.data() + whole.size(), yuan);
    if (whole.empty() || error != std::errc() || end != whole.data() + whole.size() || yuan < 0 ||
        yuan > kMaxYuan || fraction.size() > 2 ||
        fraction.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    int64_t cents = yuan * 100;
    if (!fraction.empty()) cents += (fraction[0] - '0') * 10;
    if (fraction.size() == 2) cents += fraction[1] - '0';
    return cents;
}

std::string FormatYuan(int64_t cents) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(cents / 100),
                  static_cast<long long>(cents % 100));
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}

// Counted before parsing: the parser builds every level first, and 60 MiB
// of "[" cost gigabytes. Brackets inside strings do not count.
bool DeeperThan(std::string_view body, int limit) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : body) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

// Only web addresses reach a page's href or src: a "javascript:" or "data:"
// one would run or show what the gateway chose. Another scheme empties the
// field, and the item keeps the field's name for the log.
std::string WebAddress(std::string_view value, const char* field, PlatformItem& item) {
    std::string address = WithScheme(value);
    if (address.empty() || StartsWithNoCase(address, "http://") ||
        StartsWithNoCase(address, "https://"))
        return address;
    item.refusedAddresses.push_back(field);
    return {};
}

// The upgrade's promotions that lead to its final price: a list, or in the
// non-simplified format an object that wraps it as final_promotion_path_map_data.
const json* PromotionPath(const json& item) {
    if (!item.contains("price_promotion_info")) return nullptr;
    const json& info = item["price_promotion_info"];
    if (!info.is_object() || !info.contains("final_promotion_path_list")) return nullptr;
    const json* path = &info["final_promotion_path_list"];
    if (path->is_object() && path->contains("final_promotion_path_map_data"))
        path = &(*path)["final_promotion_path_map_data"];
    return path->is_array() ? path : nullptr;
}

// The coupon's discount among those promotions (商品券, 店铺券, ...): the fee
// actually given, its threshold already met.
std::string PathCouponFee(const json& item) {
    const json* path = PromotionPath(item);
    if (!path) return {};
    for (const json& entry : *path)
        if (FieldText(entry, "promotion_title").find("券") != std::string::npos)
            return FieldText(entry, "promotion_fee");
    return {};
}

PlatformItem ReadItem(const json& item) {
    PlatformItem read;
    read.title = ItemField(item, "title", "item_basic_info");
    read.picture = WebAddress(ItemField(item, "pict_url", "item_basic_info"), "pict_url", read);
    read.price = Bounded(ItemField(item, "zk_final_price", "price_promotion_info"), kMaxYuan);
    read.sales = Bounded(ItemField(item, "volume", "item_basic_info"), kMaxCount);
    read.seller = FieldText(item, "nick");
    if (read.seller.empty()) read.seller = ItemField(item, "shop_title", "item_basic_info");
    read.link =
        WebAddress(ItemField(item, "coupon_share_url", "publish_info"), "coupon_share_url", read);
    if (read.link.empty())
        read.link = WebAddress(ItemField(item, "url", "publish_info", "click_url"), "url", read);
    std::string coupon = Bounded(FieldText(item, "coupon_amount"), kMaxYuan);
    std::string threshold;
    if (coupon.empty())
        coupon = Bounded(PathCouponFee(item), kMaxYuan);
    else
        threshold = Bounded(FieldText(item, "coupon_start_fee"), kMaxYuan);
    CouponPrice applied = ApplyCoupon(read.price, coupon, threshold);
    read.couponAmount = std::move(applied.coupon);
    read.priceAfterCoupon = std::move(applied.priceAfterCoupon);
    read.finalPrice =
        Bounded(ItemField(item, "final_promotion_price", "price_promotion_info"), kMaxYuan);
    if (read.finalPrice.empty()) read.finalPrice = read.priceAfterCoupon;
    return read;
}

std::string RefusalDetail(const json& error) {
    std::string detail;
    for (const char* key : {"code", "msg", "sub_code", "sub_msg", "request_id"}) {
        std::string value = FieldText(error, key);
        if (value.empty()) continue;
        if (!detail.empty()) detail += ", ";
        detail.append(key).append(" ").append(value);
    }
    return detail;
}

// The platform's way of saying a search found nothing, in the refusal shape.
bool NothingFound(const json& error) {
    return FieldText(error, "code") == "15" &&
           (FieldText(error, "sub_code") == "50001" ||
            FieldText(error, "sub_msg").find("无结果") != std::string::npos);
}

}  // namespace

std::string WithScheme(std::string_view address) {
    if (address.starts_with("//")) return "https:" + std::string(address);
    return std::string(address);
}

CouponPrice ApplyCoupon(std::string_view price, std::string_view coupon,
                        std::string_view threshold) {
    CouponPrice unapplied{{}, std::string(price)};
    std::optional<int64_t> priceCents = Cents(price);
    std::optional<int64_t> couponCents = Cents(coupon);
    if (!priceCents || !couponCents) return unapplied;
    if (!threshold.empty()) {
        std::optional<int64_t> thresholdCents = Cents(threshold);
        if (!thresholdCents || *priceCents < *thresholdCents) return unapplied;
    }
    return {std::string(coupon), FormatYuan(std::max<int64_t>(0, *priceCents - *couponCents))};
}

PlatformAnswer ParseSearchAnswer(std::string_view body) {
    PlatformAnswer answer;
    if (DeeperThan(body, kMaxAnswerDepth)) {
        answer.problem = AnswerProblem::kTooDeep;
        return answer;
    }
    json root = json::parse(body, nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        answer.problem = AnswerProblem::kNotJson;
        return answer;
    }
    if (root.contains("error_response")) {
        if (NothingFound(root["error_response"])) return answer;
        answer.problem = AnswerProblem::kRefused;
        answer.detail = RefusalDetail(root["error_response"]);
        answer.code = FieldText(root["error_response"], "code");
        answer.subMessage = FieldText(root["error_response"], "sub_msg");
        return answer;
    }
    const json* result = nullptr;
    for (const auto& [key, value] : root.items())
        if (key.ends_with("_response") && value.is_object()) result = &value;
    if (!result) {
        answer.problem = AnswerProblem::kNoResult;
        return answer;
    }
    std::string total = Bounded(FieldText(*result, "total_results"), kMaxCount);
    std::from_chars(total.data(), total.data() + total.size(), answer.totalResults);
    auto list = result->find("result_list");
    if (list == result->end() || !list->is_object()) return answer;
    auto items = list->find("map_data");
    if (items == list->end() || !items->is_array()) return answer;
    for (const json& item : *items)
        if (item.is_object()) answer.items.push_back(ReadItem(item));
    return answer;
}

}  // namespace velmora::app
