#include "net/proxy_choice.h"

#include <cctype>

#include "net/url_parts.h"

namespace velmora::net {
namespace {

// libcurl's port for a proxy that names none.
constexpr int kDefaultProxyPort = 1080;

std::string_view Variable(const std::function<const char*(const char*)>& variable,
                          const char* lower, const char* upper) {
    for (const char* name : {lower, upper})
        if (const char* value = variable(name); value && *value) return value;
    return {};
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// no_proxy: names separated by commas or spaces; a name covers itself and
// its subdomains, a leading dot changes nothing.
bool GoesDirect(std::string_view host, std::string_view noProxy) {
    if (!host.empty() && host.front() == '[') host = host.substr(1, host.size() - 2);
    while (!noProxy.empty()) {
        size_t end = noProxy.find_first_of(", ");
        std::string name = Lower(noProxy.substr(0, end));
        noProxy = end == std::string_view::npos ? "" : noProxy.substr(end + 1);
        if (name == "*") return true;
        if (!name.empty() && name.front() == '.') name.erase(0, 1);
        if (!name.empty() && name.front() == '[') name = name.substr(1, name.size() - 2);
        if (name.empty()) continue;
        if (host == name) return true;
        if (host.size() > name.size() && host.ends_with(name) &&
            host[host.size() - name.size() - 1] == '.')
            return true;
    }
    return false;
}

}  // namespace

ProxyChoice ChooseProxy(std::string_view url,
                        const std::function<const char*(const char*)>& variable) {
    ProxyChoice choice;
    std::optional<UrlParts> target = SplitUrl(url);
    if (!target) return choice;
    std::string_view proxy = target->scheme == "https"
                                 ? Variable(variable, "https_proxy", "HTTPS_PROXY")
                                 : Variable(variable, "http_proxy", "HTTP_PROXY");
    if (proxy.empty()) proxy = Variable(variable, "all_proxy", "ALL_PROXY");
    if (proxy.empty()) return choice;
    if (GoesDirect(target->host, Variable(variable, "no_proxy", "NO_PROXY"))) {
        choice.kind = ProxyChoice::kDirect;
        return choice;
    }
    std::string withScheme(proxy);
    if (proxy.find("://") == std::string_view::npos) withScheme = "http://" + withScheme;
    std::optional<UrlParts> parts = SplitUrl(withScheme);
    choice.kind = ProxyChoice::kUnusable;
    if (!parts || parts->scheme != "http") return choice;
    // SplitUrl gives http's own port to an address without one.
    std::string_view authority = std::string_view(withScheme).substr(withScheme.find("://") + 3);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    authority = authority.substr(authority.rfind('@') + 1);
    size_t close = authority.rfind(']');
    size_t colon = authority.rfind(':');
    bool namesPort =
        colon != std::string_view::npos && (close == std::string_view::npos || colon > close);
    choice.kind = ProxyChoice::kNamed;
    choice.host = parts->host;
    choice.port = namesPort ? parts->port : kDefaultProxyPort;
    choice.user = parts->user;
    choice.password = parts->password;
    return choice;
}

}  // namespace velmora::net
