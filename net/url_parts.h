// Splitting an absolute address into the pieces a request needs (bytes stand
// as they were given), and encoding a piece for one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::net {

struct UrlParts {
    std::string scheme;  // lower case: "http", "https", ...
    std::string user;
    std::string password;
    std::string host;  // lower case; an IPv6 address keeps its brackets
    int port = 0;      // the scheme's default when the address names none
    std::string path;  // from the first '/' on, query included; "/" when absent
};

// Null for an address without "scheme://", with an empty host or a bad port.
std::optional<UrlParts> SplitUrl(std::string_view url);

// The path without its query: what cookie paths are matched against.
std::string_view PathWithoutQuery(std::string_view path);

// The address up to its first '#'.
std::string_view WithoutFragment(std::string_view url);

// A redirect's Location made absolute against the address that answered it,
// with "." and ".." steps of its path resolved.
std::string ResolveLocation(std::string_view base, std::string_view location);

// Every byte but letters, digits and "-._~" as %XX: a name with spaces, "&"
// or Chinese becomes one safe address segment or form value.
std::string PercentEncoded(std::string_view bytes);

}  // namespace velmora::net
