// The material search's JSON answer taken apart: the items of one page in
// the template's terms, or why there are none. Texts stay UTF-8 here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::app {

struct PlatformItem {
    std::string title;
    std::string link;  // coupon share link where there is one, else the click link
    std::string picture;
    std::string price;  // the final price
    std::string sales;  // 30-day sales
    std::string seller;
    std::string couponAmount;      // empty without a coupon whose threshold the price meets
    std::string priceAfterCoupon;  // the price less that coupon, else the price
    std::string finalPrice;        // the platform's own final price where given, else the above
    // "url", "coupon_share_url", "pict_url": fields emptied because their
    // address was no http, https or protocol-relative one.
    std::vector<std::string> refusedAddresses;
};

enum class AnswerProblem { kNone, kNotJson, kTooDeep, kRefused, kNoResult };

// The answer's own nesting stays under 10; deeper ones are refused unparsed.
inline constexpr int kMaxAnswerDepth = 64;

struct PlatformAnswer {
    AnswerProblem problem = AnswerProblem::kNone;
    std::string detail;  // for kRefused: code, msg, sub_code, sub_msg and request_id as
                         // the gateway gave them
    std::string code;    // for kRefused, and sub_msg beside it: what a retry looks at
    std::string subMessage;
    int64_t totalResults = 0;
    std::vector<PlatformItem> items;
};

// Reads both documented shapes of a result item: the flat one and the
// upgrade's nested one (item_basic_info, price_promotion_info, publish_info),
// whose coupon is an entry of the promotion path. A number beyond any real
// price or count empties its field. A refusal that means "no result" is an
// answer without items.
PlatformAnswer ParseSearchAnswer(std::string_view body);

// "https:" before a protocol-relative address; others stay as they are.
std::string WithScheme(std::string_view address);

// A coupon as a page shows it: kept only where the price reaches its
// threshold, with the price after it in two decimals as the platform writes
// prices. Otherwise the coupon is empty and the price stays as given. Decimal
// texts in yuan; an empty threshold is met; an unreadable number is not.
struct CouponPrice {
    std::string coupon;
    std::string priceAfterCoupon;
};
CouponPrice ApplyCoupon(std::string_view price, std::string_view coupon,
                        std::string_view threshold);

}  // namespace velmora::app
