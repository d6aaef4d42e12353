// The process's one cookie store. Every request of the automation HTTP object
// and of the page reader takes its cookies from here and puts the cookies it
// receives back; the embedded browser mirrors its own cookies into it and
// follows it through the change listeners, so a login in the browser carries
// over to the requests and back.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::net {

using CookieClock = std::chrono::system_clock;

struct Cookie {
    std::string name;
    std::string value;
    std::string domain;  // lower-case host name, no leading dot
    std::string path = "/";
    bool hostOnly = true;  // false: also sent to every sub-domain of `domain`
    bool secure = false;   // sent over https only
    bool httpOnly = false;
    std::optional<CookieClock::time_point> expires;  // none: ends with the process
};

enum class CookieChange { kSet, kRemoved };
using CookieChanges = std::vector<std::pair<Cookie, CookieChange>>;

// What browsers hold at the least: a larger cookie is ignored; past a count
// the cookies set first go, so a flood cannot grow the jar or the Cookie
// header without end. A site counts by its registrable domain.
inline constexpr size_t kLargestCookie = 4096;  // name and value, in bytes
inline constexpr size_t kCookiesPerSite = 180;
inline constexpr size_t kCookiesInAll = 3000;

class CookieStore {
  public:
    using Listener = std::function<void(const Cookie&, CookieChange)>;
    // Hears every change of one call at once: an answer's cookies, a Set.
    using ChangesListener = std::function<void(const CookieChanges&)>;

    // Takes one Set-Cookie header value received from `url`. False when the
    // line is rejected (no name, a control byte in name or value, too large,
    // Secure from a plain http address, a Domain the host does not belong to
    // or that is a public suffix; a host that is one itself gets a host-only
    // cookie for a Domain of its own name). Over plain http no cookie
    // replaces or removes a Secure namesake that covers it, so an attacker on
    // the network cannot plant the session of the https site.
    // An expiry in the past removes the cookie.
    bool SetFromHeader(std::string_view setCookie, std::string_view url,
                       CookieClock::time_point now = CookieClock::now());
    // The Set-Cookie lines of one answer, taken as one change; how many of
    // them were accepted.
    size_t SetFromHeaders(const std::vector<std::string_view>& setCookies, std::string_view url,
                          CookieClock::time_point now = CookieClock::now());

    // The Cookie header value for a request to `url` ("a=1; b=2"), longest
    // path first; empty when no cookie applies.
    std::string HeaderFor(std::string_view url,
                          CookieClock::time_point now = CookieClock::now()) const;

    // Adds or replaces the cookie with the same name, domain and path. A
    // domain written with a leading dot is a domain cookie; one for a public
    // suffix is ignored, whichever side offers it. An expired cookie
    // removes its namesake instead; one with control bytes or over
    // kLargestCookie is ignored. Listeners hear only real changes, so a
    // mirror that writes back what it was told does not loop.
    void Set(Cookie cookie, CookieClock::time_point now = CookieClock::now());
    bool Remove(std::string_view name, std::string_view domain, std::string_view path);

    // Every live cookie, in the order they were first set.
    std::vector<Cookie> All(CookieClock::time_point now = CookieClock::now()) const;
    void Clear();

    int AddListener(Listener listener);
    int AddChangesListener(ChangesListener listener);
    void RemoveListener(int id);

  private:
    struct Entry {
        Cookie cookie;
        uint64_t order;    // of creation; entries_ stays sorted by it
        std::string site;  // registrable domain, what kCookiesPerSite counts
    };
    // With the lock held: stores a cookie, noting what changed. False when
    // it is refused.
    bool Place(Cookie cookie, bool secureChannel, CookieClock::time_point now,
               CookieChanges& changes);
    void DropOldest(const std::string& site, CookieChanges& changes);
    void Notify(const CookieChanges& changes);

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    uint64_t nextOrder_ = 0;
    std::vector<std::pair<int, ChangesListener>> listeners_;
    int nextListener_ = 1;
};

// The process-wide store.
CookieStore& Cookies();

// An HTTP date in any of the forms servers send in Expires; null when no
// date can be read from it.
std::optional<CookieClock::time_point> ParseCookieDate(std::string_view text);

}  // namespace velmora::net
