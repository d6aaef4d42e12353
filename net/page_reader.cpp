#include "net/page_reader.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "net/http_client.h"
#include "net/url_parts.h"
#include "runtime/command_arguments.h"
#include "runtime/heap.h"

namespace velmora::net {
namespace {

constexpr size_t kDefaultPiece = 10240;
constexpr size_t kLargestPiece = 102400;
constexpr size_t kLengthFieldSize = 32;  // the header's text must fit with its terminator
constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

}  // namespace

size_t ReadPieceSize(const std::string* contentLength) {
    if (!contentLength || contentLength->size() >= kLengthFieldSize) return kDefaultPiece;
    long long length = std::atoll(contentLength->c_str());
    if (length <= 0) return kDefaultPiece;
    return static_cast<size_t>(std::min<long long>(length + 1, kLargestPiece));
}

void ReadWebPage(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    if (arg.Count() < 1) return;
    std::string_view address = WithoutFragment(arg[0].Text());
    if (address.empty()) return;
    auto parts = SplitUrl(address);
    if (!parts || (parts->scheme != "http" && parts->scheme != "https")) return;

    HttpRequest request;
    request.url = parts->scheme + "://" + parts->host + ":" + std::to_string(parts->port) + "/";
    // The object path goes out byte for byte: spaces and GBK bytes unescaped.
    request.requestTarget = parts->path;
    request.http10 = true;
    request.userAgent = kUserAgent;
    request.user = parts->user;
    request.password = parts->password;
    request.headers = {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"};

    std::string output;
    bool first = true;
    HttpResponse response =
        PerformRequest(request, [&](std::string_view bytes, const HttpResponse& head) {
            // A page that announces its length is taken into one buffer of that size.
            if (first) output.reserve(ReadPieceSize(FindHeader(head.headers, "Content-Length")));
            first = false;
            output.append(bytes);
        });
    if (response.refused) return;
    result->SetBits(reinterpret_cast<uintptr_t>(MakeByteSet(output.data(), output.size())));
}

}  // namespace velmora::net
