#include "tools/marketsim/sites.h"

#include <charconv>

#include "tools/marketsim/catalogue.h"
#include "tools/marketsim/gateway.h"
#include "tools/marketsim/hostile_site.h"
#include "tools/marketsim/pages.h"
#include "tools/marketsim/site_hosts.h"

namespace velmora::marketsim {
namespace {

constexpr char kMemberIndexPath[] = "/membersvc/index.htm";
constexpr char kPromotionPath[] = "/union/spread/selfservice/merchandisePromotion.htm";
// Set on the parent domain so that the login also opens the promotion search.
constexpr char kCookieAttributes[] = "; Domain=.alimama.com; Path=/; HttpOnly";

// A 1x1 transparent GIF: the placeholder the marketplace shows before its
// lazy pictures load.
constexpr unsigned char kBlankGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
    0x00, 0xFF, 0xFF, 0xFF, 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B,
};

SiteResponse Page(std::string body) {
    SiteResponse response;
    response.body = std::move(body);
    return response;
}

SiteResponse Redirect(std::string_view host, std::string_view path) {
    SiteResponse response;
    response.status = 302;
    response.headers.emplace_back("Location", "http://" + std::string(host) + std::string(path));
    return response;
}

SiteResponse NotFound(const SiteRequest& request) {
    SiteResponse response = Page(NotFoundPage(request.host, request.path));
    response.status = 404;
    return response;
}

// The page size the search was asked for; anything unusable means the full page.
size_t PageSize(const std::string& query) {
    std::string text = QueryValue(query, "_fmu.a._0.pe").value_or("");
    size_t size = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (ec != std::errc() || end != text.data() + text.size() || size == 0) return kMaxPageItems;
    return size;
}

SiteResponse Marketplace(const SiteRequest& request) {
    if (request.path == "/search") {
        std::string query = QueryValue(request.query, "q").value_or("");
        return Page(MarketplacePage(query, MarketplaceItems(query)));
    }
    if (request.path == "/item.htm") {
        return Page(ItemPage(QueryValue(request.query, "id").value_or("")));
    }
    if (request.path == "/pic/blank.gif") {
        SiteResponse response;
        response.contentType = "image/gif";
        response.body.assign(reinterpret_cast<const char*>(kBlankGif), sizeof kBlankGif);
        return response;
    }
    constexpr std::string_view kPictures = "/pic/";
    if (request.path.starts_with(kPictures)) {
        // "/pic/<id>.jpg", optionally with a size suffix such as "_210x210.jpg".
        std::string_view name = std::string_view(request.path).substr(kPictures.size());
        size_t digits = name.find_first_not_of("0123456789");
        if (digits == 0 || digits == std::string_view::npos ||
            !name.substr(digits).starts_with(".jpg")) {
            return NotFound(request);
        }
        SiteResponse response;
        response.contentType = "image/svg+xml";
        response.body = PictureSvg(name.substr(0, digits));
        return response;
    }
    return NotFound(request);
}

SiteResponse MakerSite(const SiteRequest& request) {
    if (request.path == "/shuoming.html") return Page(InstructionsPage());
    if (request.path == "/") return Redirect(sites::kMakerHost, "/shuoming.html");
    return NotFound(request);
}

}  // namespace

SiteResponse Sites::Respond(const SiteRequest& request) {
    if (request.host == sites::kMemberCentreHost) return MemberCentre(request);
    if (request.host == sites::kPromotionSearchHost) return PromotionSearch(request);
    if (request.host == sites::kMarketplaceHost) return Marketplace(request);
    if (request.host == sites::kMakerHost) return MakerSite(request);
    if (request.host == sites::kGatewayHost && request.path == kGatewayPath)
        return GatewayAnswer(request, std::chrono::system_clock::now());
    if (request.host == kHostileHost) return HostileSite(request);
    return NotFound(request);
}

bool Sites::LoggedIn(const SiteRequest& request) const {
    return sessions_.IsOpen(CookieValue(request.cookies, kSessionCookie));
}

SiteResponse Sites::MemberCentre(const SiteRequest& request) {
    const char* host = sites::kMemberCentreHost;
    if (request.path == kMemberIndexPath) {
        // Any method: the collector checks its login by posting to this page.
        return Page(LoggedIn(request) ? MemberPage() : LoginPage(""));
    }
    if (request.path == "/membersvc/login.htm") {
        if (request.method != "POST") return Redirect(host, kMemberIndexPath);
        if (FormValue(request.body, "logname") != kDemoAccount ||
            FormValue(request.body, "password") != kDemoPassword) {
            return Page(LoginPage("账户名或密码错误，请使用已填好的演示账户。"));
        }
        SiteResponse response = Redirect(host, kMemberIndexPath);
        response.headers.emplace_back(
            "Set-Cookie", std::string(kSessionCookie) + "=" + sessions_.Open() + kCookieAttributes);
        return response;
    }
    if (request.path == "/membersvc/logout.htm") {
        sessions_.Close(CookieValue(request.cookies, kSessionCookie));
        SiteResponse response = Redirect(host, kMemberIndexPath);
        response.headers.emplace_back(
            "Set-Cookie", std::string(kSessionCookie) + "=" + kCookieAttributes + "; Max-Age=0");
        return response;
    }
    if (request.path == "/") return Redirect(host, kMemberIndexPath);
    return NotFound(request);
}

SiteResponse Sites::PromotionSearch(const SiteRequest& request) const {
    if (request.path != kPromotionPath) return NotFound(request);
    if (!LoggedIn(request)) return Page(PromotionLoginPage());
    std::string keyword = QueryValue(request.query, "q").value_or("");
    SortKey key = SortKeyFromValue(QueryValue(request.query, "_fmu.a._0.so").value_or(""))
                      .value_or(SortKey::kSales);
    return Page(PromotionPage(keyword, key, PromotionItems(keyword, key, PageSize(request.query))));
}

}  // namespace velmora::marketsim
