#include "tools/marketsim/site_request.h"

#include <algorithm>

#include "tools/marketsim/ascii_case.h"

namespace velmora::marketsim {
namespace {

std::string LowerHostWithoutPort(std::string_view authority) {
    // Drop user info, then the port (an IPv6 literal keeps its brackets).
    if (size_t at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    size_t colon = authority.rfind(':');
    if (colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos) {
        authority = authority.substr(0, colon);
    }
    std::string host(authority);
    std::transform(host.begin(), host.end(), host.begin(), LowerAscii);
    return host;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> PairValue(std::string_view pairs, std::string_view key,
                                     bool plusIsSpace) {
    while (!pairs.empty()) {
        size_t amp = pairs.find('&');
        std::string_view pair = pairs.substr(0, amp);
        pairs = amp == std::string_view::npos ? std::string_view() : pairs.substr(amp + 1);
        size_t eq = pair.find('=');
        std::string_view name = pair.substr(0, eq);
        if (PercentDecode(name, plusIsSpace) != key) continue;
        return eq == std::string_view::npos ? std::string()
                                            : PercentDecode(pair.substr(eq + 1), plusIsSpace);
    }
    return std::nullopt;
}

}  // namespace

SiteRequest ParseSiteRequest(std::string_view method, std::string_view target,
                             std::string_view hostHeader) {
    SiteRequest request;
    request.method = std::string(method);
    std::string_view rest = target;
    if (StartsWithNoCase(rest, "http://")) {
        rest.remove_prefix(7);
        size_t end = rest.find_first_of("/?");
        request.host = LowerHostWithoutPort(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view("/") : rest.substr(end);
    } else {
        request.host = LowerHostWithoutPort(hostHeader);
    }
    size_t question = rest.find('?');
    std::string_view path = rest.substr(0, question);
    request.path = std::string(path.empty() ? std::string_view("/") : path);
    if (question != std::string_view::npos) request.query = std::string(rest.substr(question + 1));
    // A fragment never belongs to the request.
    if (size_t hash = request.query.find('#'); hash != std::string::npos)
        request.query.resize(hash);
    return request;
}

std::string PercentDecode(std::string_view text, bool plusIsSpace) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else if (c == '+' && plusIsSpace) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> QueryValue(std::string_view query, std::string_view key) {
    return PairValue(query, key, false);
}

std::optional<std::string> FormValue(std::string_view body, std::string_view key) {
    return PairValue(body, key, true);
}

namespace {

// Calls `visit(name, value)` for each pair of a Cookie header until it answers true.
template <typename Visit>
void VisitCookies(std::string_view cookies, Visit visit) {
    while (!cookies.empty()) {
        size_t semi = cookies.find(';');
        std::string_view item = cookies.substr(0, semi);
        cookies = semi == std::string_view::npos ? std::string_view() : cookies.substr(semi + 1);
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        size_t eq = item.find('=');
        if (eq != std::string_view::npos && visit(item.substr(0, eq), item.substr(eq + 1))) return;
    }
}

}  // namespace

std::string CookieValue(std::string_view cookies, std::string_view name) {
    std::string found;
    VisitCookies(cookies, [&](std::string_view key, std::string_view value) {
        if (key != name) return false;
        found = value;
        return true;
    });
    return found;
}

std::string CookieNames(std::string_view cookies) {
    std::string names;
    VisitCookies(cookies, [&](std::string_view key, std::string_view) {
        if (!names.empty()) names += ' ';
        names += key;
        return false;
    });
    return names;
}

}  // namespace velmora::marketsim
