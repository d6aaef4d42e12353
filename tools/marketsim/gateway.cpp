#include "tools/marketsim/gateway.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>

#include "net/open_platform_signature.h"
#include "runtime/gbk.h"
#include "tools/marketsim/catalogue.h"
#include "tools/marketsim/date_time.h"
#include "tools/marketsim/xml_answer.h"

namespace velmora::marketsim {
namespace {

using nlohmann::json;

net::PlatformParameters Parameters(std::string_view encoded) {
    net::PlatformParameters parameters;
    while (!encoded.empty()) {
        size_t amp = encoded.find('&');
        std::string_view pair = encoded.substr(0, amp);
        encoded = amp == std::string_view::npos ? std::string_view() : encoded.substr(amp + 1);
        size_t eq = pair.find('=');
        if (pair.empty()) continue;
        parameters.emplace(
            PercentDecode(pair.substr(0, eq), true),
            eq == std::string_view::npos ? "" : PercentDecode(pair.substr(eq + 1), true));
    }
    return parameters;
}

enum class Format { kXml, kJson };

// XML is the documented default.
std::optional<Format> FormatOf(std::string_view value) {
    if (value.empty() || value == "xml") return Format::kXml;
    if (value == "json") return Format::kJson;
    return std::nullopt;
}

SiteResponse Rendered(const json& document, Format format) {
    SiteResponse response;
    if (format == Format::kJson) {
        response.contentType = "application/json;charset=UTF-8";
        response.body = document.dump();
    } else {
        response.contentType = "text/xml;charset=UTF-8";
        response.body = XmlAnswer(document);
    }
    return response;
}

json Refusal(int code, std::string_view msg, std::string_view subCode = {},
             std::string_view subMsg = {}) {
    json error = {{"code", code}, {"msg", msg}, {"request_id", "velmora-sim"}};
    if (!subCode.empty()) error["sub_code"] = subCode;
    if (!subMsg.empty()) error["sub_msg"] = subMsg;
    return {{"error_response", error}};
}

// "yyyy-MM-dd HH:mm:ss" read as China time (UTC+8).
std::optional<std::chrono::system_clock::time_point> ChinaTime(std::string_view text) {
    std::optional<std::tm> parts = ReadDateTime(text);
    if (!parts) return std::nullopt;
    return std::chrono::system_clock::from_time_t(UtcSeconds(*parts) - 8 * 3600);
}

std::optional<SortKey> SortFromValue(std::string_view value) {
    // Relevance and the price orders start from the sales order; the latter
    // are then ordered by price.
    if (value.empty() || value == "total_sales_des" || value == "match" || value == "price_asc" ||
        value == "price_des")
        return SortKey::kSales;
    if (value == "tk_rate_des") return SortKey::kCommissionRate;
    if (value == "tk_total_commi_des") return SortKey::kCommissionPaid;
    return std::nullopt;
}

std::optional<int> Number(std::string_view text, int fallback) {
    if (text.empty()) return fallback;
    if (text.size() > 6 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return std::stoi(std::string(text));
}

json ItemJson(const CatalogueItem& item) {
    json entry = {
        {"item_id", item.id},
        {"title", GbkToUtf8Lossy(item.title)},
        {"pict_url", "http://s.taobao.com/pic/" + item.id + ".jpg"},
        {"zk_final_price", FormatCents(item.priceCents)},
        {"volume", item.sales30},
        {"nick", GbkToUtf8Lossy(item.seller)},
        {"url", "//s.taobao.com/item.htm?id=" + item.id},
    };
    if (auto coupon = CouponOf(item)) {
        entry["coupon_amount"] = std::to_string(coupon->amountCents / 100);
        entry["coupon_start_fee"] = FormatCents(coupon->thresholdCents);
        entry["coupon_share_url"] = "//s.taobao.com/item.htm?id=" + item.id + "&coupon=1";
    }
    return entry;
}

json UpgradeItemJson(const CatalogueItem& item) {
    json publish = {{"click_url", "//s.taobao.com/item.htm?id=" + item.id}};
    json path = json::array();
    int64_t finalCents = item.priceCents;
    if (auto coupon = CouponOf(item)) {
        publish["coupon_share_url"] = "//s.taobao.com/item.htm?id=" + item.id + "&coupon=1";
        if (item.priceCents >= coupon->thresholdCents) {
            const std::string amount = std::to_string(coupon->amountCents / 100);
            path.push_back(
                {{"promotion_title", "商品券"},
                 {"promotion_desc", "每" + FormatCents(coupon->thresholdCents) + "减" + amount},
                 {"promotion_fee", amount},
                 {"promotion_start_time", "2026-01-01 00:00:00"},
                 {"promotion_end_time", "2026-12-31 23:59:59"}});
            finalCents -= coupon->amountCents;
        }
    }
    return {{"item_id", item.id},
            {"item_basic_info",
             {{"title", GbkToUtf8Lossy(item.title)},
              {"pict_url", "http://s.taobao.com/pic/" + item.id + ".jpg"},
              {"shop_title", GbkToUtf8Lossy(item.seller)},
              {"volume", item.sales30}}},
            {"price_promotion_info",
             {{"zk_final_price", FormatCents(item.priceCents)},
              {"final_promotion_price", FormatCents(finalCents)},
              {"final_promotion_path_list", {{"final_promotion_path_map_data", path}}}}},
            {"publish_info", publish}};
}

json HostileLinks(std::vector<CatalogueItem> items) {
    json list = json::array();
    for (size_t i = 0; i < 4 && i < items.size(); ++i) list.push_back(ItemJson(items[i]));
    list[0]["url"] = "javascript:alert(document.cookie)";
    list[0].erase("coupon_share_url");
    list[1]["coupon_share_url"] = "data:text/html;base64,PHNjcmlwdD5hbGVydCgxKTwvc2NyaXB0Pg==";
    list[2]["pict_url"] = "JavaScript:alert(2)";
    list[3]["title"] = "\x1b]0;owned\x07\x1b[2J" + list[3]["title"].get<std::string>();
    return {{"tbk_dg_material_optional_response",
             {{"total_results", list.size()}, {"result_list", {{"map_data", list}}}}}};
}

// Only ever text, in JSON: no document could hold it.
SiteResponse DeepAnswer() {
    SiteResponse response;
    response.contentType = "application/json;charset=UTF-8";
    response.body = R"({"tbk_dg_material_optional_response":{"result_list":{"map_data":[)" +
                    std::string(kDeepAnswerLevels, '[') + std::string(kDeepAnswerLevels, ']') +
                    "]}}}";
    return response;
}

// True for the first, third, ... request with this keyword.
bool OddRequest(const std::string& keyword) {
    static std::mutex mutex;
    static std::map<std::string, int> requests;
    std::lock_guard lock(mutex);
    return requests[keyword]++ % 2 == 0;
}

const std::string& Get(const net::PlatformParameters& parameters, const char* name) {
    static const std::string kNone;
    auto found = parameters.find(name);
    return found == parameters.end() ? kNone : found->second;
}

}  // namespace

std::optional<CatalogueCoupon> CouponOf(const CatalogueItem& item) {
    int digit = item.id.back() - '0';
    if (digit % 3 == 0) return std::nullopt;
    CatalogueCoupon coupon;
    coupon.amountCents = 500 * (1 + digit % 4);
    coupon.thresholdCents = digit == 7 ? item.priceCents + 100 : coupon.amountCents * 2;
    return coupon;
}

namespace {

// Everything a search can be narrowed by besides its keyword: whatever is
// neither a system parameter nor the keyword, paging or order.
bool HasFilter(const net::PlatformParameters& parameters) {
    static constexpr std::string_view kNotFilters[] = {
        "adzone_id", "app_key", "format", "method",      "page_no",  "page_size", "partner_id",
        "q",         "session", "sign",   "sign_method", "simplify", "sort",      "target_app_key",
        "timestamp", "v"};
    return std::any_of(parameters.begin(), parameters.end(), [](const auto& parameter) {
        return std::find(std::begin(kNotFilters), std::end(kNotFilters), parameter.first) ==
               std::end(kNotFilters);
    });
}

json SearchAnswer(const net::PlatformParameters& parameters,
                  std::chrono::system_clock::time_point now) {
    auto get = [&](const char* name) -> const std::string& { return Get(parameters, name); };

    if (get("method").empty()) return Refusal(21, "Missing Method");
    const bool upgrade = get("method") == kUpgradeSearchMethod;
    if (!upgrade && get("method") != kMaterialSearchMethod) return Refusal(22, "Invalid Method");
    if (!FormatOf(get("format"))) return Refusal(23, "Invalid Format");
    if (get("app_key").empty()) return Refusal(28, "Missing App Key");
    if (get("app_key") != kDemoAppKey) return Refusal(29, "Invalid App Key");
    if (get("timestamp").empty()) return Refusal(30, "Missing Timestamp");
    auto sent = ChinaTime(get("timestamp"));
    if (!sent || *sent < now - std::chrono::minutes(10) || *sent > now + std::chrono::minutes(10))
        return Refusal(31, "Invalid Timestamp", "isv.invalid-timestamp",
                       "the timestamp is more than 10 minutes away from the gateway's time");
    if (get("v").empty()) return Refusal(32, "Missing Version");
    if (get("v") != "2.0") return Refusal(34, "Unsupported Version");
    if (get("sign").empty()) return Refusal(24, "Missing Signature");
    auto expected = net::SignPlatformParameters(parameters, kDemoAppSecret);
    if (!expected) return Refusal(41, "Invalid Arguments", "isv.invalid-parameter:sign_method");
    if (*expected != get("sign")) return Refusal(25, "Invalid Signature");
    if (get("adzone_id").empty())
        return Refusal(40, "Missing Required Arguments:adzone_id", "isv.missing-parameter");
    if (get("adzone_id") != kDemoAdzoneId)
        return Refusal(15, "Remote service error", "isv.invalid-adzone", "unknown ad zone");
    if (get("q").empty() && !HasFilter(parameters))
        return Refusal(40, "Missing Required Arguments:q or cat");
    auto sort = SortFromValue(get("sort"));
    auto pageNo = Number(get("page_no"), 1);
    auto pageSize = Number(get("page_size"), 20);
    if (!sort || !pageNo || !pageSize || *pageNo < 1 || *pageSize < 1 || *pageSize > 100)
        return Refusal(41, "Invalid Arguments", "isv.invalid-parameter");

    std::vector<CatalogueItem> items =
        PromotionItems(Utf8ToGbk(get("q")).value_or(""), *sort, kMaxPageItems);
    if (get("sort").starts_with("price_"))
        std::stable_sort(items.begin(), items.end(), [&](const auto& a, const auto& b) {
            return get("sort") == "price_asc" ? a.priceCents < b.priceCents
                                              : a.priceCents > b.priceCents;
        });
    if (get("q").starts_with(kHostileLinksKeyword)) return HostileLinks(items);
    if (get("q").starts_with(kControlMessageKeyword))
        return Refusal(15, "\x1b]52;c;b3duZWQ=\x07\x1b[2J\r\n关键词\"x\"未生成页面：forged",
                       "isv.\u009b"
                       "31m");
    if (get("q").starts_with(kBannedOnceKeyword) && OddRequest(get("q")))
        return Refusal(7, "App Call Limited", "accesscontrol.limited-by-app-access-count",
                       "This ban will last for " + std::to_string(kBanSeconds) + " more seconds");
    if (get("q").starts_with(kRemoteErrorOnceKeyword) && OddRequest(get("q")))
        return Refusal(15, "Remote service error", "isp.remote-service-error", "busy");
    if (get("q").starts_with(kNoResultKeyword))
        return Refusal(15, "Remote service error", "50001", "无结果");
    if (get("has_coupon") == "true")
        std::erase_if(items, [](const CatalogueItem& item) { return !CouponOf(item); });
    json list = json::array();
    const size_t first = static_cast<size_t>(*pageNo - 1) * *pageSize;
    for (size_t i = first; i < items.size() && i < first + *pageSize; ++i)
        list.push_back(upgrade ? UpgradeItemJson(items[i]) : ItemJson(items[i]));
    json result = {{"total_results", items.size()}, {"request_id", "velmora-sim"}};
    if (!list.empty()) result["result_list"] = {{"map_data", list}};
    return {{upgrade ? "tbk_dg_material_optional_upgrade_response"
                     : "tbk_dg_material_optional_response",
             result}};
}

}  // namespace

SiteResponse GatewayAnswer(const SiteRequest& request, std::chrono::system_clock::time_point now) {
    net::PlatformParameters parameters =
        Parameters(request.method == "POST" ? request.body : request.query);
    json answer = SearchAnswer(parameters, now);
    if (!answer.contains("error_response") && Get(parameters, "q").starts_with(kDeepAnswerKeyword))
        return DeepAnswer();
    return Rendered(answer, FormatOf(Get(parameters, "format")).value_or(Format::kXml));
}

}  // namespace velmora::marketsim
