// The affiliate open platform's gateway: the material search, signed and
// checked as the platform documents it, over the same catalogue as the
// classic pages. Answers are UTF-8, in JSON or in XML (the default when no
// format is named); refusals use the platform's error_response shape. A
// search without a keyword needs another filter.
#pragma once

#include <chrono>
#include <optional>

#include "tools/marketsim/catalogue.h"
#include "tools/marketsim/sites.h"

namespace velmora::marketsim {

// The demo application the gateway knows; any other key is refused.
inline constexpr char kDemoAppKey[] = "velmora-demo-key";
inline constexpr char kDemoAppSecret[] = "velmora-demo-secret";
inline constexpr char kDemoAdzoneId[] = "1000";
inline constexpr char kGatewayPath[] = "/router/rest";
inline constexpr char kMaterialSearchMethod[] = "taobao.tbk.dg.material.optional";
// The same search in the shape new applications get: nested item groups, the
// coupon an entry of the promotion path where the price reaches its threshold.
inline constexpr char kUpgradeSearchMethod[] = "taobao.tbk.dg.material.optional.upgrade";

// Keywords whose answers misbehave on purpose, for any keyword that begins
// with one: addresses in other schemes than http(s) and a title with
// control bytes; nesting far beyond a real answer's; a refusal whose message
// holds terminal controls and a line break that would forge a log line.
inline constexpr char kHostileLinksKeyword[] = "hostile-links";
inline constexpr char kDeepAnswerKeyword[] = "deep-answer";
inline constexpr char kControlMessageKeyword[] = "control-message";
inline constexpr int kDeepAnswerLevels = 100000;
// Every other request for such a keyword (the first, the third, ...) is
// refused: with a ban of kBanSeconds (code 7), or as a remote service error
// (code 15); the requests between are answered. A search for a keyword of
// the third kind finds nothing, in the refusal shape the platform uses then.
inline constexpr char kBannedOnceKeyword[] = "banned-once";
inline constexpr char kRemoteErrorOnceKeyword[] = "remote-error-once";
inline constexpr char kNoResultKeyword[] = "no-result";
inline constexpr int kBanSeconds = 1;

// Two items in three carry a coupon; some have a threshold above their
// price, so that the coupon does not apply.
struct CatalogueCoupon {
    int64_t amountCents = 0;  // whole yuan
    int64_t thresholdCents = 0;
};
std::optional<CatalogueCoupon> CouponOf(const CatalogueItem& item);

// The parameters come from a form body (POST) or the query (GET). A
// timestamp more than ten minutes away from `now` is refused.
SiteResponse GatewayAnswer(const SiteRequest& request, std::chrono::system_clock::time_point now);

}  // namespace velmora::marketsim
