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

bool HasHeader(const std::vector<std::string>& headers, std::string_view name) {
    for (std::string_view line : headers)
        if (line.size() > name.size() && line[name.size()] == ':' &&
            EqualsNoCase(line.substr(0, name.size()), name))
            return true;
    return false;
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

// Credentials for a proxy the environment names with them.
bool ApplyProxyCredentials(HINTERNET request, const ProxyChoice& choice) {
    if (choice.kind != ProxyChoice::kNamed || choice.user.empty()) return true;
    std::wstring user = Wide(choice.user);
    std::wstring password = Wide(choice.password);
    return WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_PROXY, WINHTTP_AUTH_SCHEME_BASIC,
                                 user.c_str(), password.c_str(), nullptr);
}

// The request handle runs asynchronously so that the exchange can be given up
// at the request's deadline: WinHTTP's own time-outs are per call, and wine
// does not apply the receive time-out to an answer that never starts.
// WinHTTP may still call back after we have given up, so the state its
// callback sees (and the buffer a read fills) lives until the handle closes.
class AsyncRequest {
  public:
    static constexpr DWORD kPieceSize = 64 * 1024;

    AsyncRequest() : state_(new State) {}
    ~AsyncRequest() {
        if (handle_) {
            WinHttpCloseHandle(handle_);  // the state goes with its closing notice
        } else {
            state_->Release();
        }
        state_->Release();
    }
    AsyncRequest(const AsyncRequest&) = delete;
    AsyncRequest& operator=(const AsyncRequest&) = delete;

    // Takes the request handle; false (the handle closed) if it cannot report to us.
    bool Attach(HINTERNET request) {
        auto context = reinterpret_cast<DWORD_PTR>(state_);
        if (WinHttpSetStatusCallback(
                request, &Callback,
                WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                0) == WINHTTP_INVALID_STATUS_CALLBACK ||
            !WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context)) {
            WinHttpCloseHandle(request);
            return false;
        }
        handle_ = request;
        return true;
    }
    HINTERNET Handle() const { return handle_; }
    DWORD_PTR Context() const { return reinterpret_cast<DWORD_PTR>(state_); }
    char* Piece() const { return state_->piece; }

    // Waits for the call just started to complete, at most until the
    // deadline; false with the thread's last error otherwise. `read` gets the
    // byte count of a completed read.
    bool Wait(std::chrono::steady_clock::time_point deadline, DWORD* read = nullptr) {
        if (WaitForSingleObject(state_->done, MillisecondsLeft(deadline)) != WAIT_OBJECT_0) {
            SetLastError(ERROR_WINHTTP_TIMEOUT);
            return false;
        }
        if (state_->error != ERROR_SUCCESS) {
            SetLastError(state_->error);
            return false;
        }
        if (read) *read = state_->bytes;
        return true;
    }

  private:
    struct State {
        HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        LONG references = 2;  // ours, and the handle's until it closes
        DWORD error = ERROR_SUCCESS;
        DWORD bytes = 0;
        char piece[kPieceSize];

        void Release() {
            if (InterlockedDecrement(&references) == 0) {
                CloseHandle(done);
                delete this;
            }
        }
    };

    static void CALLBACK Callback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information,
                                  DWORD length) {
        auto* state = reinterpret_cast<State*>(context);
        if (!state) return;
        switch (status) {
            case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
                state->Release();
                return;
            case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
                state->error = static_cast<WINHTTP_ASYNC_RESULT*>(information)->dwError;
                break;
            case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
            case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
                state->error = ERROR_SUCCESS;
                break;
            case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
                state->error = ERROR_SUCCESS;
                state->bytes = length;
                break;
            default:
                return;
        }
        SetEvent(state->done);
    }

    State* state_;
    HINTERNET handle_ = nullptr;
};

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
        // The environment's proxy as libcurl would take it; with none named,
        // the system's WinHTTP setting. Chosen for the session, since wine
        // ignores a proxy set on a request.
        ProxyChoice proxy =
            ChooseProxy(request.url, [](const char* name) { return std::getenv(name); });
        if (proxy.kind == ProxyChoice::kUnusable) {
            SetLastError(ERROR_WINHTTP_INVALID_URL);
            return false;
        }
        std::wstring proxyName = Wide(proxy.host + ":" + std::to_string(proxy.port));
        DWORD access = proxy.kind == ProxyChoice::kNamed    ? WINHTTP_ACCESS_TYPE_NAMED_PROXY
                       : proxy.kind == ProxyChoice::kDirect ? WINHTTP_ACCESS_TYPE_NO_PROXY
                                                            : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
        if (!session_ || access != sessionAccess_ ||
            (access == WINHTTP_ACCESS_TYPE_NAMED_PROXY && proxyName != sessionProxy_)) {
            // No agent: no User-Agent line unless the request brings one.
            std::wstring agent = Wide(request.userAgent);
            session_.reset(WinHttpOpen(agent.empty() ? nullptr : agent.c_str(), access,
                                       access == WINHTTP_ACCESS_TYPE_NAMED_PROXY
                                           ? proxyName.c_str()
                                           : WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
            if (!session_) return false;
            sessionAccess_ = access;
            sessionProxy_ = proxyName;
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
        HINTERNET opened =
            WinHttpOpenRequest(connection.get(), verb.c_str(), target.c_str(),
                               request.http10 ? L"HTTP/1.0" : L"HTTP/1.1", WINHTTP_NO_REFERER,
                               WINHTTP_DEFAULT_ACCEPT_TYPES,
                               (secure ? WINHTTP_FLAG_SECURE : 0) | WINHTTP_FLAG_ESCAPE_DISABLE |
                                   WINHTTP_FLAG_ESCAPE_DISABLE_QUERY);
        AsyncRequest async;
        if (!opened || !async.Attach(opened)) return false;
        HINTERNET h = async.Handle();

        // Redirects and cookies are the shared loop's: it sees every hop and
        // keeps the one cookie store.
        DWORD features = WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES;
        DWORD redirects = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
        DWORD left = MillisecondsLeft(request.deadline);
        auto connect = DWORD(std::clamp<long long>(request.connect.count(), 1, left));
        if (!WinHttpSetOption(h, WINHTTP_OPTION_DISABLE_FEATURE, &features, sizeof features) ||
            !WinHttpSetOption(h, WINHTTP_OPTION_REDIRECT_POLICY, &redirects, sizeof redirects) ||
            !WinHttpSetTimeouts(h, int(connect), int(connect), int(left), int(left)) ||
            !ApplyProxyCredentials(h, proxy))
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
        // libcurl announces every body it sends, an empty one too; WinHTTP
        // only some.
        if (request.sendBody && !HasHeader(request.headers, "Content-Length")) {
            std::wstring length = L"Content-Length: " + std::to_wstring(request.body.size());
            if (!WinHttpAddRequestHeaders(h, length.c_str(), DWORD(length.size()),
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
        if (!WinHttpSendRequest(h, WINHTTP_NO_ADDITIONAL_HEADERS, 0, body, bodySize, bodySize,
                                async.Context()) ||
            !async.Wait(request.deadline) || !SetReceiveLimit(h, request.deadline) ||
            !WinHttpReceiveResponse(h, nullptr) || !async.Wait(request.deadline))
            return false;
        if (!DeliverHead(h, listener)) return false;

        for (;;) {
            DWORD read = 0;
            if (!SetReceiveLimit(h, request.deadline) ||
                !WinHttpReadData(h, async.Piece(), AsyncRequest::kPieceSize, nullptr) ||
                !async.Wait(request.deadline, &read))
                return false;
            if (read == 0) break;
            if (!listener.BodyPiece(std::string_view(async.Piece(), read))) {
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
    DWORD sessionAccess_ = 0;
    std::wstring sessionProxy_;
};

}  // namespace

std::unique_ptr<HopChannel> OpenHopChannel() {
    return std::make_unique<WinHttpChannel>();
}

}  // namespace velmora::net
