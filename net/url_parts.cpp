#include "net/url_parts.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace velmora::net {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

int DefaultPort(std::string_view scheme) {
    if (scheme == "http") return 80;
    if (scheme == "https") return 443;
    if (scheme == "ftp") return 21;
    return 0;
}

bool ValidScheme(std::string_view s) {
    if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    });
}

// Resolves "." and ".." steps; the query stays as it is.
std::string WithoutDotSteps(std::string_view pathAndQuery) {
    size_t queryStart = pathAndQuery.find('?');
    std::string_view path = pathAndQuery.substr(0, queryStart);
    std::vector<std::string_view> steps;
    size_t start = 1;  // the path starts with '/'
    while (start <= path.size()) {
        size_t end = std::min(path.find('/', start), path.size());
        std::string_view step = path.substr(start, end - start);
        bool last = end == path.size();
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
            if (last) steps.emplace_back();
        } else if (step == ".") {
            if (last) steps.emplace_back();
        } else {
            steps.push_back(step);
        }
        start = end + 1;
    }
    std::string out;
    for (std::string_view step : steps) out.append("/").append(step);
    if (out.empty()) out.push_back('/');
    if (queryStart != std::string_view::npos) out.append(pathAndQuery.substr(queryStart));
    return out;
}

}  // namespace

std::string ResolveLocation(std::string_view base, std::string_view location) {
    location = WithoutFragment(location);
    size_t colon = location.find(':');
    if (colon != std::string_view::npos && ValidScheme(location.substr(0, colon)) &&
        location.find_first_of("/?") > colon)
        return std::string(location);
    base = WithoutFragment(base);
    size_t schemeEnd = base.find("://");
    if (schemeEnd == std::string_view::npos) return std::string(location);
    if (location.starts_with("//"))
        return std::string(base.substr(0, schemeEnd + 1)) + std::string(location);
    size_t pathStart = base.find_first_of("/?", schemeEnd + 3);
    std::string_view origin = base.substr(0, pathStart);
    std::string_view basePath =
        pathStart == std::string_view::npos ? std::string_view("/") : base.substr(pathStart);
    if (basePath[0] == '?') basePath = "/";
    if (location.empty()) return std::string(origin) + std::string(basePath);
    if (location[0] == '?')
        return std::string(origin) + std::string(PathWithoutQuery(basePath)) +
               std::string(location);
    if (location[0] == '/') return std::string(origin) + WithoutDotSteps(location);
    std::string_view directory = PathWithoutQuery(basePath);
    directory = directory.substr(0, directory.rfind('/') + 1);
    return std::string(origin) + WithoutDotSteps(std::string(directory) + std::string(location));
}

std::string_view WithoutFragment(std::string_view url) {
    return url.substr(0, url.find('#'));
}

std::string_view PathWithoutQuery(std::string_view path) {
    return path.substr(0, path.find('?'));
}

std::optional<UrlParts> SplitUrl(std::string_view url) {
    size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos || !ValidScheme(url.substr(0, schemeEnd)))
        return std::nullopt;
    UrlParts parts;
    parts.scheme = Lower(url.substr(0, schemeEnd));
    std::string_view rest = url.substr(schemeEnd + 3);

    size_t authorityEnd = rest.find_first_of("/?#");
    std::string_view authority = rest.substr(0, authorityEnd);
    std::string_view tail = authorityEnd == std::string_view::npos ? "" : rest.substr(authorityEnd);
    tail = WithoutFragment(tail);
    // Appended rather than "/" + tail: GCC 12 at -O3 warns falsely on the latter.
    if (tail.empty() || tail[0] != '/') parts.path.push_back('/');
    parts.path.append(tail);

    if (size_t at = authority.rfind('@'); at != std::string_view::npos) {
        std::string_view userInfo = authority.substr(0, at);
        authority = authority.substr(at + 1);
        size_t colon = userInfo.find(':');
        parts.user = std::string(userInfo.substr(0, colon));
        if (colon != std::string_view::npos)
            parts.password = std::string(userInfo.substr(colon + 1));
    }

    std::string_view host = authority;
    std::string_view port;
    if (!authority.empty() && authority[0] == '[') {
        size_t close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = authority.substr(0, close + 1);
        std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after[0] != ':') return std::nullopt;
            port = after.substr(1);
        }
    } else if (size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (host.empty()) return std::nullopt;
    parts.host = Lower(host);

    parts.port = DefaultPort(parts.scheme);
    if (!port.empty()) {
        if (port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c));
            }))
            return std::nullopt;
        int number = std::stoi(std::string(port));
        if (number < 1 || number > 65535) return std::nullopt;
        parts.port = number;
    }
    return parts;
}

std::string PercentEncoded(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

}  // namespace velmora::net
