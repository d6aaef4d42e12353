#include <windows.h>
// After windows.h, which it needs.
#include <winhttp.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "net/http_client.h"
#include "net/http_hop.h"
#include "net/proxy_choice.h"
#include "net/url_parts.h"

namespace velmora::net {
namespace {

// Header bytes travel through WinHTTP's wide strings in the ANSI code page,
// the one WinHTTP itself narrows them with.
std::wstring Wide(std::string_view bytes) {
    if (bytes.empty()) return {};
    int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring out(size_t(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), out.data(), size);
    return out;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

struct HandleCloser {
    void operator()(HINTERNET h) const { WinHttpCloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// WinHTTP has no time-out for a whole exchange: every blocking call gets what
// is left of the request's, so none of them can outlast it. Zero would mean
// no limit, so the least is a millisecond.
DWORD MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return DWORD(std::clamp<long long>(left.count(), 1, 0x7FFFFFFF));
}

bool PastDeadline(std::chrono::steady_clock::time_point deadline) {
    return std::chrono::steady_clock::now() >= deadline;
}

bool SetReceiveLimit(HINTERNET request, std::chrono::steady_clock::time_point deadline) {
    DWORD left = MillisecondsLeft(deadline);
    return WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, &left, sizeof left) &&
           WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &left, sizeof left);
}

// The environment's proxy as libcurl would take it; with none named, the
// session's own (the system's WinHTTP setting).
bool ApplyProxy(HINTERNET request, std::string_view url) {
    ProxyChoice choice = ChooseProxy(url, [](const char* name) { return std::getenv(name); });
    if (choice.kind == ProxyChoice::kSystem) return true;
    if (choice.kind == ProxyChoice::kUnusable) return false;
    std::wstring server = Wide(choice.host + ":" + std::to_string(choice.port));
    WINHTTP_PROXY_INFO info{};
    if (choice.kind == ProxyChoice::kDirect) {
        info.dwAccessType = WINHTTP_ACCESS_TYPE_NO_PROXY;
    } else {
        info.dwAccessType = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
        info.lpszProxy = server.data();
    }
    if (!WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info)) return false;
    if (choice.kind == ProxyChoice::kNamed && !choice.user.empty()) {
        std::wstring user = Wide(choice.user);
        std::wstring password = Wide(choice.password);
        return WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_PROXY, WINHTTP_AUTH_SCHEME_BASIC,
                                     user.c_str(), password.c_str(), nullptr);
    }
    return true;
}

// The head as curl hands it over: the status line, each header, an empty line.
bool DeliverHead(HINTERNET request, HopListener& listener) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                        nullptr, &size, WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    std::wstring raw(size / sizeof(wchar_t), L'\0');
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                             raw.data(), &size, WINHTTP_NO_HEADER_INDEX))
        return false;
    raw.resize(size / sizeof(wchar_t));
    std::string head = Narrow(raw);
    std::string_view rest = head;
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? "" : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) break;
        if (!listener.HeadLine(line)) return false;
    }
    return listener.HeadLine("");
}

std::string LocationOf(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                             WINHTTP_NO_HEADER_INDEX) ||
        status < 300 || status > 399)
        return {};
    size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, nullptr,
                        &size, WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    std::wstring location(size / sizeof(wchar_t), L'\0');
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX,
                             location.data(), &size, WINHTTP_NO_HEADER_INDEX))
        return {};
    location.resize(size / sizeof(wchar_t));
    return Narrow(location);
}

class WinHttpChannel final : public HopChannel {
  public:
    HopOutcome Perform(const HopRequest& request, HopListener& listener) override {
        HopOutcome outcome;
        if (!Exchange(request, listener, outcome)) {
            DWORD error = GetLastError();
            outcome.completed = false;
            outcome.timedOut = error == ERROR_WINHTTP_TIMEOUT || PastDeadline(request.deadline);
        }
        return outcome;
    }

  private:
    // False with the thread's last error when the exchange fails.
    bool Exchange(const HopRequest& request, HopListener& listener, HopOutcome& outcome) {
        std::optional<UrlParts> url = SplitUrl(request.url);
        if (!url || (url->scheme != "http" && url->scheme != "https")) {
            SetLastError(ERROR_WINHTTP_UNRECOGNIZED_SCHEME);
            return false;
        }
        const bool secure = url->scheme == "https";
        if (!session_) {
            // No agent: no User-Agent line unless the request brings one.
            std::wstring agent = Wide(request.userAgent);
            session_.reset(WinHttpOpen(agent.empty() ? nullptr : agent.c_str(),
                                       WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0));
            if (!session_) return false;
        }
        std::wstring host = Wide(url->host);
        if (host.size() > 2 && host.front() == L'[') host = host.substr(1, host.size() - 2);
        Handle connection(
            WinHttpConnect(session_.get(), host.c_str(), INTERNET_PORT(url->port), 0));
        if (!connection) return false;

        std::wstring verb = Wide(request.method);
        // WinHTTP takes the target as text and sends it as UTF-8, so bytes a
        // request line cannot carry as they are go percent-encoded (the
        // address itself already is); the rest goes out as given.
        std::wstring target =
            Wide(request.target.empty() ? url->path : EncodeUnsafeBytes(request.target));
        Handle handle(WinHttpOpenRequest(connection.get(), verb.c_str(), target.c_str(),
                                         request.http10 ? L"HTTP/1.0" : L"HTTP/1.1",
                                         WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                         (secure ? WINHTTP_FLAG_SECURE : 0) |
                                             WINHTTP_FLAG_ESCAPE_DISABLE |
                                             WINHTTP_FLAG_ESCAPE_DISABLE_QUERY));
        HINTERNET h = handle.get();
        if (!h) return false;

        // Redirects and cookies are the shared loop's: it sees every hop and
        // keeps the one cookie store.
        DWORD features = WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES;
        DWORD redirects = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
        DWORD left = MillisecondsLeft(request.deadline);
        auto connect = DWORD(std::clamp<long long>(request.connect.count(), 1, left));
        if (!WinHttpSetOption(h, WINHTTP_OPTION_DISABLE_FEATURE, &features, sizeof features) ||
            !WinHttpSetOption(h, WINHTTP_OPTION_REDIRECT_POLICY, &redirects, sizeof redirects) ||
            !WinHttpSetTimeouts(h, int(connect), int(connect), int(left), int(left)) ||
            !ApplyProxy(h, request.url))
            return false;

        for (const std::string& line : request.headers) {
            // "Name:" with nothing after it only takes a header away on libcurl.
            size_t colon = line.find(':');
            if (colon != std::string::npos &&
                line.find_first_not_of(" \t", colon + 1) == std::string::npos)
                continue;
            std::wstring header = Wide(line);
            if (!WinHttpAddRequestHeaders(h, header.c_str(), DWORD(header.size()),
                                          WINHTTP_ADDREQ_FLAG_ADD))
                return false;
        }
        std::string user(request.user);
        std::string password(request.password);
        if (user.empty() && password.empty()) {
            user = url->user;
            password = url->password;
        }
        if (!user.empty() || !password.empty()) {
            std::wstring wideUser = Wide(user);
            std::wstring widePassword = Wide(password);
            if (!WinHttpSetCredentials(h, WINHTTP_AUTH_TARGET_SERVER, WINHTTP_AUTH_SCHEME_BASIC,
                                       wideUser.c_str(), widePassword.c_str(), nullptr))
                return false;
        }

        void* body = request.sendBody ? const_cast<char*>(request.body.data()) : nullptr;
        DWORD bodySize = request.sendBody ? DWORD(request.body.size()) : 0;
        if (!WinHttpSendRequest(h, WINHTTP_NO_ADDITIONAL_HEADERS, 0, body, bodySize, bodySize, 0) ||
            !SetReceiveLimit(h, request.deadline) || !WinHttpReceiveResponse(h, nullptr))
            return false;
        if (!DeliverHead(h, listener)) return false;

        std::string piece(64 * 1024, '\0');
        for (;;) {
            if (PastDeadline(request.deadline)) {
                SetLastError(ERROR_WINHTTP_TIMEOUT);
                return false;
            }
            DWORD read = 0;
            if (!SetReceiveLimit(h, request.deadline) ||
                !WinHttpReadData(h, piece.data(), DWORD(piece.size()), &read))
                return false;
            if (read == 0) break;
            if (!listener.BodyPiece(std::string_view(piece.data(), read))) {
                SetLastError(ERROR_WINHTTP_OPERATION_CANCELLED);
                return false;
            }
        }
        outcome.completed = true;
        if (std::string location = LocationOf(h); !location.empty())
            outcome.redirectUrl = ResolveLocation(request.url, location);
        return true;
    }

    Handle session_;
};

}  // namespace

std::unique_ptr<HopChannel> OpenHopChannel() {
    return std::make_unique<WinHttpChannel>();
}

}  // namespace velmora::net
