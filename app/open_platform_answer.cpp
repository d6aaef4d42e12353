#include "app/open_platform_answer.h"

#include <cctype>
#include <charconv>
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

std::optional<int64_t> Cents(std::string_view text) {
    size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
    int64_t yuan = 0;
    auto [end, error] = std::from_chars(whole.data(), whole.data() + whole.size(), yuan);
    if (whole.empty() || error != std::errc() || end != whole.data() + whole.size() || yuan < 0 ||
        fraction.size() > 2 || fraction.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    int64_t cents = yuan * 100;
    if (!fraction.empty()) cents += (fraction[0] - '0') * 10;
    if (fraction.size() == 2) cents += fraction[1] - '0';
    return cents;
}

std::string FormatYuan(int64_t cents) {
    std::string text = std::to_string(cents / 100);
    int64_t fraction = cents % 100;
    if (fraction == 0) return text;
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10) text += static_cast<char>('0' + fraction % 10);
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

PlatformItem ReadItem(const json& item) {
    PlatformItem read;
    read.title = ItemField(item, "title", "item_basic_info");
    read.picture = WebAddress(ItemField(item, "pict_url", "item_basic_info"), "pict_url", read);
    read.price = ItemField(item, "zk_final_price", "price_promotion_info");
    read.sales = ItemField(item, "volume", "item_basic_info");
    read.seller = ItemField(item, "nick", "item_basic_info", "shop_title");
    read.link =
        WebAddress(ItemField(item, "coupon_share_url", "publish_info"), "coupon_share_url", read);
    if (read.link.empty())
        read.link = WebAddress(ItemField(item, "url", "publish_info", "click_url"), "url", read);
    read.couponAmount = FieldText(item, "coupon_amount");
    read.priceAfterCoupon =
        PriceAfterCoupon(read.price, read.couponAmount, FieldText(item, "coupon_start_fee"));
    return read;
}

std::string RefusalDetail(const json& error) {
    std::string detail;
    for (const char* key : {"code", "msg", "sub_code", "sub_msg"}) {
        std::string value = FieldText(error, key);
        if (value.empty()) continue;
        if (!detail.empty()) detail += ", ";
        detail.append(key).append(" ").append(value);
    }
    return detail;
}

}  // namespace

std::string WithScheme(std::string_view address) {
    if (address.starts_with("//")) return "https:" + std::string(address);
    return std::string(address);
}

std::string PriceAfterCoupon(std::string_view price, std::string_view coupon,
                             std::string_view threshold) {
    std::optional<int64_t> priceCents = Cents(price);
    std::optional<int64_t> couponCents = Cents(coupon);
    if (!priceCents || !couponCents) return std::string(price);
    if (*priceCents < Cents(threshold).value_or(0)) return std::string(price);
    return FormatYuan(std::max<int64_t>(0, *priceCents - *couponCents));
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
        answer.problem = AnswerProblem::kRefused;
        answer.detail = RefusalDetail(root["error_response"]);
        return answer;
    }
    const json* result = nullptr;
    for (const auto& [key, value] : root.items())
        if (key.ends_with("_response") && value.is_object()) result = &value;
    if (!result) {
        answer.problem = AnswerProblem::kNoResult;
        return answer;
    }
    std::string total = FieldText(*result, "total_results");
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
