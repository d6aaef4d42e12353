#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "net/http_hop.h"

namespace velmora::net {
namespace {

constexpr char kWebSchemes[] = "http,https";

void EnsureCurlStarted() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    std::string_view line(data, size * count);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return static_cast<HopListener*>(user)->HeadLine(line) ? size * count : 0;
}

// False ends the transfer with a write error.
size_t OnBody(char* data, size_t size, size_t count, void* user) {
    return static_cast<HopListener*>(user)->BodyPiece({data, size * count}) ? size * count : 0;
}

struct CurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

class CurlChannel final : public HopChannel {
  public:
    explicit CurlChannel(CURL* curl) : curl_(curl) {}

    HopOutcome Perform(const HopRequest& request, HopListener& listener) override {
        CURL* c = curl_.get();
        curl_easy_reset(c);

        std::unique_ptr<curl_slist, SlistDeleter> headers;
        auto addHeader = [&headers](const std::string& line) {
            headers.reset(curl_slist_append(headers.release(), line.c_str()));
        };
        bool ownContentType = false;
        for (const std::string& h : request.headers) {
            addHeader(h);
            if (EqualsNoCase(std::string_view(h).substr(0, 13), "Content-Type:"))
                ownContentType = true;
        }
        addHeader("Expect:");
        if (request.sendBody && !ownContentType) addHeader("Content-Type:");

        const std::string method(request.method);
        if (request.sendBody) {
            curl_easy_setopt(c, CURLOPT_POSTFIELDS, request.body.data());
            curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.body.size()));
        } else if (EqualsNoCase(method, "HEAD")) {
            curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
        } else {
            curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
        }
        if (method != (request.sendBody ? "POST" : "GET"))
            curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, method.c_str());

        const std::string url(request.url);
        const std::string target(request.target);
        const std::string userAgent(request.userAgent);
        const std::string user(request.user);
        const std::string password(request.password);
        curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, kWebSchemes);
        curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, kWebSchemes);
        curl_easy_setopt(c, CURLOPT_URL, url.c_str());
        if (!target.empty()) curl_easy_setopt(c, CURLOPT_REQUEST_TARGET, target.c_str());
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(c, CURLOPT_HTTP_VERSION,
                         request.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
        if (!userAgent.empty()) curl_easy_setopt(c, CURLOPT_USERAGENT, userAgent.c_str());
        if (!user.empty() || !password.empty()) {
            curl_easy_setopt(c, CURLOPT_USERNAME, user.c_str());
            curl_easy_setopt(c, CURLOPT_PASSWORD, password.c_str());
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            request.deadline - std::chrono::steady_clock::now());
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(request.connect.count()));
        curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(std::max<long>(1, left.count())));
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, OnHeader);
        curl_easy_setopt(c, CURLOPT_HEADERDATA, &listener);
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnBody);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &listener);

        CURLcode result = curl_easy_perform(c);
        HopOutcome outcome;
        outcome.completed = result == CURLE_OK;
        outcome.timedOut = result == CURLE_OPERATION_TIMEDOUT;
        char* next = nullptr;
        if (outcome.completed && curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &next) == CURLE_OK &&
            next)
            outcome.redirectUrl = next;
        return outcome;
    }

  private:
    std::unique_ptr<CURL, CurlDeleter> curl_;
};

}  // namespace

std::unique_ptr<HopChannel> OpenHopChannel() {
    EnsureCurlStarted();
    CURL* curl = curl_easy_init();
    if (!curl) return nullptr;
    return std::make_unique<CurlChannel>(curl);
}

}  // namespace velmora::net
