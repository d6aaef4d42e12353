// When the open platform's search is worth asking again, and how long to
// wait first: a ban (code 7) is waited out, a time-out, a 5xx or a remote
// service error (code 15) is tried again after a growing, jittered pause.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string_view>

namespace velmora::app {

inline constexpr int kMaxRetries = 3;
// A longer ban fails the keyword at once; so does a keyword that has waited
// this long in all.
inline constexpr std::chrono::seconds kMaxBanWait = std::chrono::minutes(10);

// The seconds a code-7 refusal's sub_msg names ("This ban will last for 71
// more seconds"); nullopt when it names none.
std::optional<std::chrono::seconds> BanLength(std::string_view subMessage);

// The pause before retry `retry` (from 1): 1 s, 2 s, 4 s, each stretched by
// up to half again by `jitter` in [0, 1), so that clients banned together do
// not come back together.
std::chrono::milliseconds RetryPause(int retry, double jitter);

// How the source waits; tests put in their own and take no time.
struct PlatformWaits {
    // Sleeps that long unless a stop request comes first; false then.
    std::function<bool(std::chrono::milliseconds)> sleep;
    // Uniform in [0, 1).
    std::function<double()> jitter;
    // Told before a ban is waited out, after the log, with the keyword (GBK); may be empty.
    std::function<void(std::string_view, std::chrono::seconds)> onBan;
};

}  // namespace velmora::app
