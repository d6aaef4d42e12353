// Request heads and targets reach the simulator from any client.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/marketsim/request_head.h"
#include "tools/marketsim/sites.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora::marketsim;
    static Sites sites;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    size_t headLength = RequestHeadLength(bytes);
    if (headLength > bytes.size()) __builtin_trap();
    std::string head = NormalizeRequestHead(bytes.substr(0, headLength));
    // The repaired head still ends where a head ends.
    if (headLength > 0 && RequestHeadLength(head) != head.size()) __builtin_trap();

    size_t split = bytes.find('\n');
    std::string_view target = bytes.substr(0, split);
    std::string_view rest = split == std::string_view::npos ? "" : bytes.substr(split + 1);
    SiteRequest request = ParseSiteRequest("POST", target, rest.substr(0, rest.find('\n')));
    request.cookies = std::string(rest);
    request.body = std::string(rest);
    sites.Respond(request);
    return 0;
}
