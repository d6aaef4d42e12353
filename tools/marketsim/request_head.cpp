#include "tools/marketsim/request_head.h"

#include <algorithm>

#include "tools/marketsim/ascii_case.h"

namespace velmora::marketsim {

size_t RequestHeadLength(std::string_view bytes) {
    // Bare LF line ends are tolerated, as the HTTP library does.
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') return i + 2;
        if (i + 2 < bytes.size() && bytes[i + 1] == '\r' && bytes[i + 2] == '\n') return i + 3;
    }
    return 0;
}

std::string NormalizeRequestHead(std::string_view head) {
    size_t methodEnd = head.find(' ');
    size_t lineEnd = head.find('\n');
    if (methodEnd == std::string_view::npos || lineEnd == std::string_view::npos ||
        methodEnd > lineEnd || methodEnd == 0) {
        return std::string(head);
    }
    std::string out(head);
    std::transform(out.begin(), out.begin() + methodEnd, out.begin(), UpperAscii);

    bool framed = false;
    size_t pos = lineEnd + 1;
    while (pos < head.size()) {
        size_t end = head.find('\n', pos);
        if (end == std::string_view::npos) end = head.size();
        std::string_view line = head.substr(pos, end - pos);
        if (StartsWithNoCase(line, "content-length:") ||
            StartsWithNoCase(line, "transfer-encoding:")) {
            framed = true;
        }
        pos = end + 1;
    }
    if (framed) return out;
    // The head ends in an empty line; the new header goes just before it,
    // in the line-end style of the request line.
    size_t blank = RequestHeadLength(out);
    if (blank == 0) return out;
    bool crlf = lineEnd > 0 && head[lineEnd - 1] == '\r';
    size_t insertAt = blank - (crlf && out[blank - 2] == '\r' ? 2 : 1);
    out.insert(insertAt, crlf ? "Content-Length: 0\r\n" : "Content-Length: 0\n");
    return out;
}

}  // namespace velmora::marketsim
