// Set-Cookie lines, their dates and addresses come from outside servers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/cookie_store.h"
#include "net/url_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find('\n');
    std::string_view line = input.substr(0, split);
    std::string_view url =
        split == std::string_view::npos ? "http://a.b/c/d" : input.substr(split + 1);

    velmora::net::SplitUrl(url);
    velmora::net::ParseCookieDate(line);
    velmora::net::CookieStore store;
    store.SetFromHeader(line, url);
    // Whatever a server sends, the Cookie header stays one line.
    std::string header = store.HeaderFor(url);
    if (header.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) __builtin_trap();
    return 0;
}
