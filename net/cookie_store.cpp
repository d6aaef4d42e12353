#include "net/cookie_store.h"

#include <algorithm>
#include <cctype>

#include "net/public_suffix.h"
#include "net/url_parts.h"

namespace velmora::net {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsIpAddress(std::string_view host) {
    if (!host.empty() && host[0] == '[') return true;
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || c == '.';
    });
}

// A domain cookie for "com" or "com.cn" would reach every site below it.
bool IsSharedSuffix(std::string_view domain) {
    return !IsIpAddress(domain) && IsPublicSuffix(domain);
}

bool DomainMatches(std::string_view host, std::string_view domain) {
    if (host == domain) return true;
    return !IsIpAddress(host) && host.size() > domain.size() && host.ends_with(domain) &&
           host[host.size() - domain.size() - 1] == '.';
}

bool PathMatches(std::string_view requestPath, std::string_view cookiePath) {
    if (!requestPath.starts_with(cookiePath)) return false;
    return requestPath.size() == cookiePath.size() || cookiePath.ends_with('/') ||
           requestPath[cookiePath.size()] == '/';
}

// The directory of the request path: where a cookie without Path applies.
std::string DefaultPath(std::string_view requestPath) {
    size_t slash = requestPath.rfind('/');
    if (requestPath.empty() || requestPath[0] != '/' || slash == 0) return "/";
    return std::string(requestPath.substr(0, slash));
}

// A control byte in a name or value could end the Cookie header line early
// and smuggle a header of its own into the request.
bool HasControlBytes(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        auto b = static_cast<unsigned char>(c);
        return (b < 0x20 && b != '\t') || b == 0x7F;
    });
}

bool SameIdentity(const Cookie& a, const Cookie& b) {
    return a.name == b.name && a.domain == b.domain && a.path == b.path;
}

bool SameContent(const Cookie& a, const Cookie& b) {
    return SameIdentity(a, b) && a.value == b.value && a.hostOnly == b.hostOnly &&
           a.secure == b.secure && a.httpOnly == b.httpOnly && a.expires == b.expires;
}

bool Expired(const Cookie& c, CookieClock::time_point now) {
    return c.expires && *c.expires <= now;
}

std::optional<int> Digits(std::string_view s, size_t minDigits, size_t maxDigits) {
    if (s.size() < minDigits || s.size() > maxDigits) return std::nullopt;
    int value = 0;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

// Reads the date token by token, so that every common layout works:
// "Wed, 21 Oct 2015 07:28:00 GMT", "Wednesday, 21-Oct-15 07:28:00 GMT",
// "Wed Oct 21 07:28:00 2015".
std::optional<CookieClock::time_point> ParseCookieDate(std::string_view text) {
    static constexpr std::string_view kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                   "jul", "aug", "sep", "oct", "nov", "dec"};
    std::optional<int> hour, minute, second, day, month, year;
    size_t i = 0;
    while (i < text.size()) {
        auto isDelimiter = [](char c) {
            return !std::isalnum(static_cast<unsigned char>(c)) && c != ':';
        };
        while (i < text.size() && isDelimiter(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !isDelimiter(text[i])) ++i;
        std::string_view token = text.substr(start, i - start);
        if (token.empty()) continue;

        if (!hour && token.find(':') != std::string_view::npos) {
            size_t c1 = token.find(':');
            size_t c2 = token.find(':', c1 + 1);
            if (c2 == std::string_view::npos) continue;
            hour = Digits(token.substr(0, c1), 1, 2);
            minute = Digits(token.substr(c1 + 1, c2 - c1 - 1), 1, 2);
            second = Digits(token.substr(c2 + 1), 1, 2);
            if (!hour || !minute || !second) return std::nullopt;
        } else if (auto n = Digits(token, 1, 2); !day && n) {
            day = n;
        } else if (!month && std::isalpha(static_cast<unsigned char>(token[0]))) {
            std::string prefix = Lower(token.substr(0, 3));
            for (int m = 0; m < 12; ++m)
                if (prefix == kMonths[m]) month = m + 1;
        } else if (auto y = Digits(token, 2, 4); !year && y) {
            year = token.size() == 2 ? *y + (*y < 70 ? 2000 : 1900) : *y;
        }
    }
    if (!hour || !day || !month || !year) return std::nullopt;
    if (*day < 1 || *day > 31 || *year < 1601 || *hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    using namespace std::chrono;
    year_month_day date{std::chrono::year(*year), std::chrono::month(*month),
                        std::chrono::day(*day)};
    if (!date.ok()) return std::nullopt;
    return time_point_cast<CookieClock::duration>(sys_days(date) + hours(*hour) + minutes(*minute) +
                                                  seconds(*second));
}

namespace {

// One Set-Cookie line received from `from`; null when it is refused.
std::optional<Cookie> ParseSetCookie(std::string_view setCookie, const UrlParts& from,
                                     CookieClock::time_point now) {
    size_t semicolon = setCookie.find(';');
    std::string_view pair = setCookie.substr(0, semicolon);
    size_t equals = pair.find('=');
    if (equals == std::string_view::npos) return std::nullopt;

    Cookie cookie;
    cookie.name = std::string(Trim(pair.substr(0, equals)));
    cookie.value = std::string(Trim(pair.substr(equals + 1)));
    if (cookie.name.empty() || HasControlBytes(cookie.name) || HasControlBytes(cookie.value))
        return std::nullopt;
    cookie.domain = from.host;
    cookie.path = DefaultPath(PathWithoutQuery(from.path));

    std::optional<CookieClock::time_point> expires;
    std::optional<CookieClock::time_point> maxAge;
    std::string_view attributes =
        semicolon == std::string_view::npos ? "" : setCookie.substr(semicolon + 1);
    while (!attributes.empty()) {
        size_t end = attributes.find(';');
        std::string_view attribute = attributes.substr(0, end);
        attributes = end == std::string_view::npos ? "" : attributes.substr(end + 1);
        size_t eq = attribute.find('=');
        std::string_view key = Trim(attribute.substr(0, eq));
        std::string_view value = eq == std::string_view::npos ? "" : Trim(attribute.substr(eq + 1));

        if (EqualsNoCase(key, "domain") && !value.empty()) {
            std::string domain = Lower(value.starts_with('.') ? value.substr(1) : value);
            if (!DomainMatches(from.host, domain)) return std::nullopt;
            // A site whose own name is a public suffix keeps its cookie to itself.
            if (IsSharedSuffix(domain)) {
                if (domain != from.host) return std::nullopt;
                continue;
            }
            cookie.domain = domain;
            cookie.hostOnly = false;
        } else if (EqualsNoCase(key, "path") && value.starts_with('/')) {
            cookie.path = std::string(value);
        } else if (EqualsNoCase(key, "expires")) {
            expires = ParseCookieDate(value);
        } else if (EqualsNoCase(key, "max-age") && !value.empty()) {
            char* endOfNumber = nullptr;
            std::string digits(value);
            long long secondsLeft = std::strtoll(digits.c_str(), &endOfNumber, 10);
            if (*endOfNumber != '\0') continue;
            maxAge = secondsLeft <= 0
                         ? CookieClock::time_point::min()
                         : now + std::chrono::seconds(std::min(secondsLeft, 400LL * 86400 * 365));
        } else if (EqualsNoCase(key, "secure")) {
            // Anyone on the network could have sent it.
            if (from.scheme != "https") return std::nullopt;
            cookie.secure = true;
        } else if (EqualsNoCase(key, "httponly")) {
            cookie.httpOnly = true;
        }
    }
    cookie.expires = maxAge ? maxAge : expires;
    return cookie;
}

// Whether `offered`, come over plain http, would replace or remove `held`,
// a Secure cookie that covers it.
bool ShadowsSecure(const Cookie& held, const Cookie& offered) {
    return held.secure && held.name == offered.name &&
           (DomainMatches(held.domain, offered.domain) ||
            DomainMatches(offered.domain, held.domain)) &&
           PathMatches(held.path, offered.path);
}

std::string SiteOf(const std::string& domain) {
    return IsIpAddress(domain) ? domain : RegistrableDomain(domain);
}

}  // namespace

bool CookieStore::SetFromHeader(std::string_view setCookie, std::string_view url,
                                CookieClock::time_point now) {
    return SetFromHeaders({setCookie}, url, now) == 1;
}

size_t CookieStore::SetFromHeaders(const std::vector<std::string_view>& setCookies,
                                   std::string_view url, CookieClock::time_point now) {
    auto from = SplitUrl(url);
    if (!from) return 0;
    size_t accepted = 0;
    CookieChanges changes;
    {
        std::lock_guard lock(mutex_);
        for (std::string_view line : setCookies) {
            std::optional<Cookie> cookie = ParseSetCookie(line, *from, now);
            if (cookie && Place(std::move(*cookie), from->scheme == "https", now, changes))
                ++accepted;
        }
    }
    Notify(changes);
    return accepted;
}

void CookieStore::Set(Cookie cookie, CookieClock::time_point now) {
    CookieChanges changes;
    {
        std::lock_guard lock(mutex_);
        Place(std::move(cookie), true, now, changes);
    }
    Notify(changes);
}

bool CookieStore::Place(Cookie cookie, bool secureChannel, CookieClock::time_point now,
                        CookieChanges& changes) {
    if (HasControlBytes(cookie.name) || HasControlBytes(cookie.value) ||
        HasControlBytes(cookie.domain) || HasControlBytes(cookie.path) ||
        cookie.name.size() + cookie.value.size() > kLargestCookie)
        return false;
    cookie.domain = Lower(cookie.domain);
    if (cookie.domain.starts_with('.')) {
        cookie.domain.erase(0, 1);
        cookie.hostOnly = false;
    }
    if (cookie.path.empty()) cookie.path.push_back('/');
    if (!cookie.hostOnly && IsSharedSuffix(cookie.domain)) return false;
    if (!secureChannel && std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) {
            return ShadowsSecure(e.cookie, cookie);
        }))
        return false;

    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return SameIdentity(e.cookie, cookie); });
    if (Expired(cookie, now)) {
        if (it != entries_.end()) {
            changes.emplace_back(std::move(it->cookie), CookieChange::kRemoved);
            entries_.erase(it);
        }
    } else if (it != entries_.end()) {
        if (!SameContent(it->cookie, cookie)) {
            it->cookie = cookie;
            changes.emplace_back(std::move(cookie), CookieChange::kSet);
        }
    } else {
        // Expired ones were already out of sight; they must not count.
        std::erase_if(entries_, [now](const Entry& e) { return Expired(e.cookie, now); });
        std::string site = SiteOf(cookie.domain);
        entries_.push_back({cookie, nextOrder_++, site});
        changes.emplace_back(std::move(cookie), CookieChange::kSet);
        DropOldest(site, changes);
    }
    return true;
}

void CookieStore::DropOldest(const std::string& site, CookieChanges& changes) {
    auto drop = [&](std::vector<Entry>::iterator it) {
        changes.emplace_back(std::move(it->cookie), CookieChange::kRemoved);
        entries_.erase(it);
    };
    auto ofSite = [&site](const Entry& e) { return e.site == site; };
    if (size_t(std::count_if(entries_.begin(), entries_.end(), ofSite)) > kCookiesPerSite)
        drop(std::find_if(entries_.begin(), entries_.end(), ofSite));
    if (entries_.size() > kCookiesInAll) drop(entries_.begin());
}

bool CookieStore::Remove(std::string_view name, std::string_view domain, std::string_view path) {
    std::string host = Lower(domain.starts_with('.') ? domain.substr(1) : domain);
    CookieChanges changes;
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
            return e.cookie.name == name && e.cookie.domain == host && e.cookie.path == path;
        });
        if (it == entries_.end()) return false;
        changes.emplace_back(it->cookie, CookieChange::kRemoved);
        entries_.erase(it);
    }
    Notify(changes);
    return true;
}

std::string CookieStore::HeaderFor(std::string_view url, CookieClock::time_point now) const {
    auto parts = SplitUrl(url);
    if (!parts) return {};
    std::string_view path = PathWithoutQuery(parts->path);
    bool secureChannel = parts->scheme == "https";

    std::vector<const Entry*> matching;
    std::lock_guard lock(mutex_);
    for (const Entry& e : entries_) {
        const Cookie& c = e.cookie;
        if (Expired(c, now) || (c.secure && !secureChannel)) continue;
        bool hostMatches =
            c.hostOnly ? parts->host == c.domain : DomainMatches(parts->host, c.domain);
        if (hostMatches && PathMatches(path, c.path)) matching.push_back(&e);
    }
    std::stable_sort(matching.begin(), matching.end(), [](const Entry* a, const Entry* b) {
        if (a->cookie.path.size() != b->cookie.path.size())
            return a->cookie.path.size() > b->cookie.path.size();
        return a->order < b->order;
    });
    std::string header;
    for (const Entry* e : matching) {
        if (!header.empty()) header += "; ";
        header += e->cookie.name + "=" + e->cookie.value;
    }
    return header;
}

std::vector<Cookie> CookieStore::All(CookieClock::time_point now) const {
    std::lock_guard lock(mutex_);
    std::vector<Cookie> live;
    for (const Entry& e : entries_)
        if (!Expired(e.cookie, now)) live.push_back(e.cookie);
    return live;
}

void CookieStore::Clear() {
    CookieChanges changes;
    {
        std::lock_guard lock(mutex_);
        for (Entry& e : entries_) changes.emplace_back(std::move(e.cookie), CookieChange::kRemoved);
        entries_.clear();
    }
    Notify(changes);
}

int CookieStore::AddListener(Listener listener) {
    return AddChangesListener([listener = std::move(listener)](const CookieChanges& changes) {
        for (const auto& [cookie, change] : changes) listener(cookie, change);
    });
}

int CookieStore::AddChangesListener(ChangesListener listener) {
    std::lock_guard lock(mutex_);
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void CookieStore::RemoveListener(int id) {
    std::lock_guard lock(mutex_);
    std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

// Listeners run outside the lock, so that one may call back into the store.
void CookieStore::Notify(const CookieChanges& changes) {
    if (changes.empty()) return;
    std::vector<std::pair<int, ChangesListener>> listeners;
    {
        std::lock_guard lock(mutex_);
        listeners = listeners_;
    }
    for (const auto& [id, listener] : listeners) listener(changes);
}

CookieStore& Cookies() {
    static CookieStore store;
    return store;
}

}  // namespace velmora::net
