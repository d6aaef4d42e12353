#include "app/open_platform_source.h"

#include <random>

#include "app/collector_globals.h"
#include "app/engine_calls.h"
#include "app/gbk_text.h"
#include "app/open_platform_request.h"
#include "app/visible_text.h"
#include "net/http_client.h"
#include "net/markup_text.h"
#include "runtime/constants.h"
#include "runtime/gbk.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kNotJson[] = "网关的回答不是 JSON";
VELMORA_CONSTANT const char kRefused[] = "开放平台拒绝了请求";
VELMORA_CONSTANT const char kTooDeep[] = "网关的回答嵌套层数过多";
VELMORA_CONSTANT const char kNoResult[] = "网关的回答里没有搜索结果";
VELMORA_CONSTANT const char kNothingFound[] = "开放平台没有找到商品";
VELMORA_CONSTANT const char kNoAnswerWithin[] = "网关在 ";
VELMORA_CONSTANT const char kNoAnswerSeconds[] = " 秒内没有回答";
VELMORA_CONSTANT const char kUnreachable[] = "无法连接网关 ";
VELMORA_CONSTANT const char kKeywordBefore[] = "关键词\"";
VELMORA_CONSTANT const char kNoPage[] = "\"未生成页面：";
VELMORA_CONSTANT const char kLineBreak[] = "\r\n";
VELMORA_CONSTANT const char kDetailOpen[] = "（";
VELMORA_CONSTANT const char kDetailClose[] = "）";
VELMORA_CONSTANT const char kItemBefore[] = "\"第 ";
VELMORA_CONSTANT const char kItemAfter[] = " 个商品的 ";
VELMORA_CONSTANT const char kNoWebAddress[] = " 不是 http 或 https 地址，已留空";
VELMORA_CONSTANT const char kBanBefore[] = "\"：开放平台暂时限制调用，等待 ";
VELMORA_CONSTANT const char kBanAfter[] = " 秒后重试";
VELMORA_CONSTANT const char kRunSource[] = "采集来源：开放平台接口 ";

using std::chrono::duration_cast;
using std::chrono::milliseconds;
using std::chrono::seconds;

// The gateway's codes for a ban (App Call Limited) and a remote service error.
constexpr std::string_view kBanCode = "7";
constexpr std::string_view kRemoteErrorCode = "15";

std::string_view Cause(AnswerProblem problem) {
    switch (problem) {
        case AnswerProblem::kNotJson:
            return kNotJson;
        case AnswerProblem::kTooDeep:
            return kTooDeep;
        case AnswerProblem::kRefused:
            return kRefused;
        case AnswerProblem::kNoResult:
            return kNoResult;
        case AnswerProblem::kNone:
            break;
    }
    return kNothingFound;
}

// Spaces, tabs, line breaks and the ideographic space around a keyword.
std::string TrimmedKeyword(std::string keyword) {
    constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
    for (size_t before = std::string::npos; before != keyword.size();) {
        before = keyword.size();
        keyword.erase(0, std::min(keyword.find_first_not_of(" \t\r\n"), keyword.size()));
        keyword.erase(keyword.find_last_not_of(" \t\r\n") + 1);
        if (keyword.starts_with(kIdeographicSpace)) keyword.erase(0, kIdeographicSpace.size());
        if (keyword.ends_with(kIdeographicSpace))
            keyword.erase(keyword.size() - kIdeographicSpace.size());
    }
    return keyword;
}

SearchOutcome Failed(std::string_view keywordGbk, std::string_view cause) {
    return {SearchStatus::kFailed,
            Concat({kKeywordBefore, VisibleText(keywordGbk, TextEncoding::kGbk).c_str(), kNoPage,
                    std::string(cause).c_str(), kLineBreak})};
}

// The gateway's own words, in brackets, with no control byte of its choosing.
std::string WithDetail(std::string_view cause, std::string_view detailUtf8) {
    if (detailUtf8.empty()) return std::string(cause);
    return std::string(cause) + kDetailOpen +
           Utf8ToGbkWithReferences(VisibleText(detailUtf8, TextEncoding::kUtf8)) + kDetailClose;
}

// Said before the wait, so that a quiet window is not taken for a hang.
void LogBan(LogSink* log, std::string_view keywordGbk, seconds ban) {
    if (!log) return;
    log->Append({kKeywordBefore, VisibleText(keywordGbk, TextEncoding::kGbk).c_str(), kBanBefore,
                 std::to_string(ban.count()).c_str(), kBanAfter, kLineBreak});
}

// One line per emptied address, naming the item by its rank on the page.
void LogRefusedAddresses(LogSink* log, std::string_view keywordGbk, size_t rank,
                         const PlatformItem& item) {
    if (!log) return;
    const std::string keyword = VisibleText(keywordGbk, TextEncoding::kGbk);
    const std::string number = std::to_string(rank);
    for (const std::string& field : item.refusedAddresses)
        log->Append({kKeywordBefore, keyword.c_str(), kItemBefore, number.c_str(), kItemAfter,
                     field.c_str(), kNoWebAddress, kLineBreak});
}

}  // namespace

PlatformWaits RealPlatformWaits() {
    PlatformWaits waits;
    // In short slices through the window's events, so that Stop is heard.
    waits.sleep = [](milliseconds time) {
        constexpr milliseconds kSlice(100);
        for (; time.count() > 0 && !Globals().stopRequested; time -= kSlice)
            ResponsiveWait(static_cast<int>(std::min(time, kSlice).count()));
        return !Globals().stopRequested;
    };
    waits.jitter = [] {
        static std::mt19937 engine{std::random_device{}()};
        return std::uniform_real_distribution<double>(0, 1)(engine);
    };
    return waits;
}

OpenPlatformSource::OpenPlatformSource(ApiSettings api, PlatformWaits waits)
    : api_(std::move(api)), rate_(api_.ratePerSecond), waits_(std::move(waits)) {}

OpenPlatformSource::Attempt OpenPlatformSource::Ask(const SearchPage& page) {
    if (auto wait = rate_.Reserve(RequestRate::Clock::now()); wait.count() > 0)
        ResponsiveWait(static_cast<int>(wait.count()));
    net::HttpRequest request;
    request.method = "POST";
    request.url = api_.gateway;
    request.headers = {"Content-Type: application/x-www-form-urlencoded;charset=utf-8"};
    request.body = FormBody(
        SignedSearchParameters(api_, page, ChinaTimestamp(std::chrono::system_clock::now())));
    request.sendBody = true;
    auto started = std::chrono::steady_clock::now();
    net::HttpResponse response = net::PerformRequest(request);

    Attempt attempt;
    if (!response.completed) {
        // Rounded: the client's timer may fire a hair before the whole
        // second its limit names.
        auto waited = std::chrono::steady_clock::now() - started + milliseconds(500);
        attempt.transient = response.timedOut;
        attempt.cause =
            response.timedOut
                ? kNoAnswerWithin + std::to_string(duration_cast<seconds>(waited).count()) +
                      kNoAnswerSeconds
                : kUnreachable +
                      Utf8ToGbkWithReferences(VisibleText(api_.gateway, TextEncoding::kUtf8));
        return attempt;
    }
    attempt.answer = ParseSearchAnswer(response.body);
    PlatformAnswer& answer = attempt.answer;
    if (answer.problem == AnswerProblem::kNotJson && response.status != 200)
        answer.detail = "HTTP " + std::to_string(response.status);
    if (answer.problem == AnswerProblem::kNone) return attempt;
    attempt.cause = WithDetail(Cause(answer.problem), answer.detail);
    const bool refused = answer.problem == AnswerProblem::kRefused;
    if (refused && answer.code == kBanCode) attempt.ban = BanLength(answer.subMessage);
    attempt.transient =
        response.status >= 500 ||
        (refused && (answer.code == kRemoteErrorCode || (answer.code == kBanCode && !attempt.ban)));
    return attempt;
}

std::optional<PlatformAnswer> OpenPlatformSource::AskUntilAnswered(const SearchPage& page,
                                                                   std::string_view keywordGbk,
                                                                   LogSink* log,
                                                                   SearchOutcome& ended) {
    for (int retries = 0;;) {
        if (Globals().stopRequested) break;
        Attempt attempt = Ask(page);
        if (attempt.cause.empty()) return std::move(attempt.answer);
        milliseconds pause(0);
        if (attempt.ban && *attempt.ban <= kMaxBanWait - bansWaitedOut_) {
            // A ban said to be over still waits a second: no tight loop.
            const seconds ban = std::max(*attempt.ban, seconds(1));
            bansWaitedOut_ += ban;
            LogBan(log, keywordGbk, ban);
            if (waits_.onBan) waits_.onBan(keywordGbk, ban);
            pause = ban;
        } else if (attempt.transient && retries < kMaxRetries) {
            pause = RetryPause(++retries, waits_.jitter());
        } else {
            ended = Failed(keywordGbk, attempt.cause);
            return std::nullopt;
        }
        if (!waits_.sleep(pause)) break;
    }
    ended = {SearchStatus::kStopped, Text()};
    return std::nullopt;
}

SearchOutcome OpenPlatformSource::Search(const ItemQuery& query) {
    items_.clear();
    bansWaitedOut_ = seconds(0);
    if (Globals().stopRequested) return {SearchStatus::kStopped, Text()};
    std::string_view keywordGbk = query.keyword ? query.keyword : "";
    const std::string keyword = TrimmedKeyword(GbkToUtf8Lossy(keywordGbk));
    if (keyword.empty()) return {SearchStatus::kSkipped, Text()};
    const size_t wanted = query.count > 0 ? static_cast<size_t>(query.count) : 0;
    SearchPage page{keyword, query.sortIndex, 1,
                    static_cast<int>(std::min<size_t>(wanted, kMaxPlatformPageSize))};

    while (items_.size() < wanted) {
        SearchOutcome ended;
        std::optional<PlatformAnswer> answer = AskUntilAnswered(page, keywordGbk, query.log, ended);
        if (!answer) {
            items_.clear();
            return ended;
        }
        if (answer->items.empty() && items_.empty())
            return Failed(keywordGbk, Cause(AnswerProblem::kNone));

        for (PlatformItem& item : answer->items) {
            if (items_.size() >= wanted) break;
            LogRefusedAddresses(query.log, keywordGbk, items_.size() + 1, item);
            items_.push_back(std::move(item));
        }
        const bool lastPage = answer->items.size() < static_cast<size_t>(page.pageSize) ||
                              static_cast<int64_t>(items_.size()) >= answer->totalResults;
        if (lastPage) break;
        ++page.pageNo;
    }
    return {};
}

std::optional<ItemRecord> OpenPlatformSource::Item(int rank) {
    if (rank < 1 || static_cast<size_t>(rank) > items_.size()) return std::nullopt;
    const PlatformItem& item = items_[rank - 1];
    // Plain texts from the answer become HTML text, so that no title or link
    // can cut into the template's markup.
    auto pageText = [](const std::string& utf8) { return GbkText(net::EscapeMarkup(utf8)); };
    ItemRecord record;
    record.rank = rank;
    record.title = pageText(item.title);
    record.seller = pageText(item.seller);
    record.pictureUrl = pageText(item.picture);
    record.itemUrl = pageText(item.link);
    record.price = pageText(item.price);
    record.sales = pageText(item.sales);
    record.couponAmount = pageText(item.couponAmount);
    record.priceAfterCoupon = pageText(item.priceAfterCoupon);
    record.finalPrice = pageText(item.finalPrice);
    return record;
}

// The rate spaces the requests; between the run's steps the window only
// handles what is queued, so that the stop button is heard.
void OpenPlatformSource::Pause(int) {
    ResponsiveWait(1);
}

Text OpenPlatformRunLine(const ApiSettings& api) {
    return Concat({kRunSource, api.method.c_str(), kLineBreak});
}

}  // namespace velmora::app
