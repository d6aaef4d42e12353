#include "net/http_client.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>

#include "net/cookie_store.h"
#include "net/http_hop.h"
#include "net/redirect_rule.h"

namespace velmora::net {
namespace {

constexpr int kMaxRedirects = 10;

RequestLimits& Limits() {
    static RequestLimits limits;
    return limits;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool IsWebAddress(std::string_view url) {
    std::string start = Upper(url.substr(0, 8));
    return start.starts_with("HTTP://") || start.starts_with("HTTPS://");
}

// A control byte would end the request line or a header early and let the
// rest pass for a header of its own.
bool HasControlBytes(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

bool IsToken(std::string_view s) {
    static constexpr std::string_view kSigns = "!#$%&'*+-.^_`|~";
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) ||
               kSigns.find(c) != std::string_view::npos;
    });
}

bool MaySend(const HttpRequest& r) {
    if (!IsToken(r.method) || !IsWebAddress(r.url)) return false;
    if (HasControlBytes(r.url) || HasControlBytes(r.requestTarget) || HasControlBytes(r.userAgent))
        return false;
    return std::none_of(r.headers.begin(), r.headers.end(),
                        [](const std::string& h) { return HasControlBytes(h); });
}

bool IsRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

struct Transfer final : HopListener {
    HttpResponse* response;
    const BodySink* sink;
    std::string url;         // of the current hop: Set-Cookie lines belong to it
    size_t received = 0;     // body bytes of every hop so far
    bool headEnded = false;  // of the current answer; trailers may follow

    Transfer(HttpResponse* r, const BodySink* s, std::string u)
        : response(r), sink(s), url(std::move(u)) {}

    // A redirect's own body is of no interest; the next hop brings the page.
    bool SkipsBody() const {
        return IsRedirect(response->status) && FindHeader(response->headers, "Location");
    }

    bool HeadLine(std::string_view line) override;
    bool BodyPiece(std::string_view piece) override;
};

// An answer's cookies go into the store at once, so that its listeners (the
// jar on the disk) hear of them once however many there are.
void StoreCookies(const Transfer& t) {
    std::vector<std::string_view> lines;
    for (const auto& [name, value] : t.response->headers)
        if (EqualsNoCase(name, "Set-Cookie")) lines.push_back(value);
    if (!lines.empty()) Cookies().SetFromHeaders(lines, t.url);
}

bool Transfer::HeadLine(std::string_view line) {
    if (line.starts_with("HTTP/")) {
        // A new status line: an interim answer or a proxy's reply came before.
        HttpResponse& r = *response;
        headEnded = false;
        r.headers.clear();
        r.status = 0;
        r.statusText.clear();
        size_t space = line.find(' ');
        if (space != std::string_view::npos) {
            std::string_view rest = line.substr(space + 1);
            r.status = std::strtol(std::string(rest.substr(0, 3)).c_str(), nullptr, 10);
            size_t textStart = rest.find(' ');
            if (textStart != std::string_view::npos)
                r.statusText = std::string(rest.substr(textStart + 1));
        }
    } else if (size_t colon = line.find(':'); colon != std::string_view::npos) {
        std::string_view name = line.substr(0, colon);
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.remove_prefix(1);
        response->headers.emplace_back(std::string(name), std::string(value));
    } else if (line.empty() && !headEnded) {
        headEnded = true;
        StoreCookies(*this);
        if (SkipsBody()) return true;
        // A body announced past the cap is refused before any of it arrives.
        const std::string* length = FindHeader(response->headers, "Content-Length");
        if (length &&
            std::strtoll(length->c_str(), nullptr, 10) > static_cast<long long>(kLargestBody)) {
            response->refused = true;
            return false;
        }
    }
    return true;
}

bool Transfer::BodyPiece(std::string_view piece) {
    received += piece.size();
    if (received > kLargestBody) {
        response->refused = true;
        return false;
    }
    if (SkipsBody()) return true;
    if (*sink) {
        (*sink)(piece, *response);
        return true;
    }
    std::string& body = response->body;
    if (body.empty()) {
        // One allocation for a body that announces its length.
        const std::string* length = FindHeader(response->headers, "Content-Length");
        long long announced = length ? std::atoll(length->c_str()) : 0;
        if (announced > 0 && announced <= static_cast<long long>(kLargestBody))
            body.reserve(size_t(announced));
    }
    body.append(piece);
    return true;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return Upper(a) == Upper(b);
}

void SetRequestLimits(RequestLimits limits) {
    Limits() = limits;
}
RequestLimits CurrentRequestLimits() {
    return Limits();
}

const std::string* FindHeader(const HeaderList& headers, std::string_view name) {
    for (const auto& [key, value] : headers)
        if (EqualsNoCase(key, name)) return &value;
    return nullptr;
}

std::string EncodeUnsafeBytes(std::string_view url) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (char ch : url) {
        auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

HttpResponse PerformRequest(const HttpRequest& request, const BodySink& sink) {
    HttpResponse response;
    if (!MaySend(request)) {
        response.refused = true;
        return response;
    }
    std::unique_ptr<HopChannel> channel = OpenHopChannel();
    if (!channel) return response;

    const RequestLimits limits = Limits();
    HopRequest hop;
    hop.deadline = std::chrono::steady_clock::now() + limits.total;
    hop.connect = limits.connect;
    hop.body = request.body;
    hop.http10 = request.http10;
    hop.userAgent = request.userAgent;
    hop.user = request.user;
    hop.password = request.password;
    std::string method = request.method;
    bool sendBody = request.sendBody;
    std::string target = request.requestTarget;
    Transfer transfer(&response, &sink, EncodeUnsafeBytes(request.url));

    for (int hopCount = 0;; ++hopCount) {
        response = HttpResponse{};
        hop.headers = request.headers;
        if (std::string cookies = Cookies().HeaderFor(transfer.url); !cookies.empty())
            hop.headers.push_back("Cookie: " + cookies);
        hop.url = transfer.url;
        hop.target = target;
        hop.method = method;
        hop.sendBody = sendBody;

        HopOutcome outcome = channel->Perform(hop, transfer);
        response.completed = outcome.completed;
        response.timedOut = outcome.timedOut;
        if (!response.completed || !transfer.SkipsBody()) break;
        if (hopCount == kMaxRedirects) {
            // Still redirecting: whatever the last hop said is no page.
            response.completed = false;
            response.refused = true;
            break;
        }

        if (outcome.redirectUrl.empty()) break;
        const std::string& next = outcome.redirectUrl;
        // "file:///etc/passwd" in a Location would read a local file.
        RedirectHop redirect =
            HasControlBytes(next)
                ? RedirectHop{}
                : FollowRedirect(transfer.url, next, response.status, method, sendBody);
        if (!redirect.follow) {
            response.completed = false;
            response.refused = true;
            break;
        }
        transfer.url = next;
        target.clear();
        method = redirect.method;
        sendBody = redirect.sendBody;
    }
    if (response.refused) response.body = std::string();  // nothing of it counts
    return response;
}

}  // namespace velmora::net
