#include "net/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "net/cookie_store.h"
#include "net/redirect_rule.h"

namespace velmora::net {
namespace {

constexpr int kMaxRedirects = 10;
constexpr char kWebSchemes[] = "http,https";

RequestLimits& Limits() {
    static RequestLimits limits;
    return limits;
}

void EnsureCurlStarted() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return Upper(a) == Upper(b);
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

struct Transfer {
    HttpResponse* response;
    const BodySink* sink;
    std::string url;         // of the current hop: Set-Cookie lines belong to it
    size_t received = 0;     // body bytes of every hop so far
    bool headEnded = false;  // of the current answer; trailers may follow

    // A redirect's own body is of no interest; the next hop brings the page.
    bool SkipsBody() const {
        return IsRedirect(response->status) && FindHeader(response->headers, "Location");
    }
};

// An answer's cookies go into the store at once, so that its listeners (the
// jar on the disk) hear of them once however many there are.
void StoreCookies(const Transfer& t) {
    std::vector<std::string_view> lines;
    for (const auto& [name, value] : t.response->headers)
        if (EqualsNoCase(name, "Set-Cookie")) lines.push_back(value);
    if (!lines.empty()) Cookies().SetFromHeaders(lines, t.url);
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    std::string_view line(data, size * count);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    if (line.starts_with("HTTP/")) {
        // A new status line: an interim answer or a proxy's reply came before.
        HttpResponse& r = *t->response;
        t->headEnded = false;
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
        t->response->headers.emplace_back(std::string(name), std::string(value));
    } else if (line.empty() && !t->headEnded) {
        t->headEnded = true;
        StoreCookies(*t);
        if (t->SkipsBody()) return size * count;
        // A body announced past the cap is refused before any of it arrives.
        const std::string* length = FindHeader(t->response->headers, "Content-Length");
        if (length &&
            std::strtoll(length->c_str(), nullptr, 10) > static_cast<long long>(kLargestBody)) {
            t->response->refused = true;
            return 0;
        }
    }
    return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    std::string_view piece(data, size * count);
    t->received += piece.size();
    if (t->received > kLargestBody) {
        t->response->refused = true;
        return 0;  // libcurl ends the transfer with a write error
    }
    if (t->SkipsBody()) return piece.size();
    if (*t->sink) {
        (*t->sink)(piece, *t->response);
        return piece.size();
    }
    std::string& body = t->response->body;
    if (body.empty()) {
        // One allocation for a body that announces its length.
        const std::string* length = FindHeader(t->response->headers, "Content-Length");
        long long announced = length ? std::atoll(length->c_str()) : 0;
        if (announced > 0 && announced <= static_cast<long long>(kLargestBody))
            body.reserve(size_t(announced));
    }
    body.append(piece);
    return piece.size();
}

struct CurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

}  // namespace

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
    EnsureCurlStarted();
    HttpResponse response;
    if (!MaySend(request)) {
        response.refused = true;
        return response;
    }
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) return response;

    const RequestLimits limits = Limits();
    const auto deadline = std::chrono::steady_clock::now() + limits.total;
    std::string method = request.method;
    bool sendBody = request.sendBody;
    std::string target = request.requestTarget;
    Transfer transfer{&response, &sink, EncodeUnsafeBytes(request.url)};

    for (int hop = 0;; ++hop) {
        CURL* c = curl.get();
        curl_easy_reset(c);
        response = HttpResponse{};

        std::unique_ptr<curl_slist, SlistDeleter> headers;
        auto addHeader = [&headers](const std::string& line) {
            headers.reset(curl_slist_append(headers.release(), line.c_str()));
        };
        bool ownContentType = false;
        for (const std::string& h : request.headers) {
            addHeader(h);
            if (EqualsNoCase(h.substr(0, 13), "Content-Type:")) ownContentType = true;
        }
        if (std::string cookies = Cookies().HeaderFor(transfer.url); !cookies.empty())
            addHeader("Cookie: " + cookies);
        addHeader("Expect:");
        if (sendBody && !ownContentType) addHeader("Content-Type:");

        const std::string upper = Upper(method);
        if (sendBody) {
            curl_easy_setopt(c, CURLOPT_POSTFIELDS, request.body.data());
            curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.body.size()));
        } else if (upper == "HEAD") {
            curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
        } else {
            curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
        }
        if (method != (sendBody ? "POST" : "GET"))
            curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, method.c_str());

        curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, kWebSchemes);
        curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, kWebSchemes);
        curl_easy_setopt(c, CURLOPT_URL, transfer.url.c_str());
        if (!target.empty()) curl_easy_setopt(c, CURLOPT_REQUEST_TARGET, target.c_str());
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(c, CURLOPT_HTTP_VERSION,
                         request.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
        if (!request.userAgent.empty())
            curl_easy_setopt(c, CURLOPT_USERAGENT, request.userAgent.c_str());
        if (!request.user.empty() || !request.password.empty()) {
            curl_easy_setopt(c, CURLOPT_USERNAME, request.user.c_str());
            curl_easy_setopt(c, CURLOPT_PASSWORD, request.password.c_str());
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connect.count()));
        curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(std::max<long>(1, left.count())));
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, OnHeader);
        curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnBody);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);

        CURLcode result = curl_easy_perform(c);
        response.completed = result == CURLE_OK;
        response.timedOut = result == CURLE_OPERATION_TIMEDOUT;
        if (!response.completed || !transfer.SkipsBody()) break;
        if (hop == kMaxRedirects) {
            // Still redirecting: whatever the last hop said is no page.
            response.completed = false;
            response.refused = true;
            break;
        }

        char* next = nullptr;
        curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &next);
        if (!next) break;
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
