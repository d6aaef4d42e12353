#include <string>

#include "tools/marketsim/pages.h"
#include "tools/marketsim/site_hosts.h"

namespace velmora::marketsim {
namespace {

// The collector's login browser shows only a 384 x 280 window that starts
// 768 px in from the page's left edge, so everything the user needs there
// sits in that box; the rest is what a wide browser would show beside it.
constexpr char kTitle[] = "阿里妈妈 - 会员中心";
constexpr char kStyle[] =
    "body{margin:0;font:12px/1.6 sans-serif;min-width:1152px;background:#f5f5f5}\n"
    ".banner{position:absolute;left:0;top:0;width:760px;height:280px;"
    "background:#ff6a00;color:#fff}\n"
    ".banner h1{margin:60px 0 0 60px;font-size:32px}\n"
    ".banner p{margin:12px 0 0 60px;font-size:16px}\n"
    ".box{position:absolute;left:792px;top:16px;width:336px;height:248px;"
    "background:#fff;border:1px solid #ddd;box-sizing:border-box;padding:12px 20px}\n"
    ".box h2{margin:0 0 8px;font-size:16px;color:#333}\n"
    ".box label{display:block;margin-top:6px;color:#666}\n"
    ".box input[type=text],.box input[type=password]{width:100%;box-sizing:border-box;"
    "height:26px}\n"
    ".box button{margin-top:12px;width:100%;height:30px;background:#ff6a00;color:#fff;"
    "border:0;font-size:14px}\n"
    ".error{color:#c00}\n"
    ".hint{color:#999}\n";
constexpr char kBanner[] =
    "<div class=\"banner\"><h1>阿里妈妈 淘宝联盟</h1>"
    "<p>推广淘宝商品，赚取佣金。</p></div>\n";

constexpr char kTail[] = "</body></html>\n";

std::string MemberUrl(const char* path) {
    return std::string("http://") + sites::kMemberCentreHost + path;
}

}  // namespace

std::string LoginPage(std::string_view error) {
    std::string page = PageStart(kTitle, kStyle) + kBanner;
    page += "<div class=\"box\">\n<h2>会员登录</h2>\n";
    if (!error.empty()) page += "<p class=\"error\">" + net::EscapeMarkup(error) + "</p>\n";
    page += "<form method=\"post\" action=\"" + MemberUrl("/membersvc/login.htm") + "\">\n";
    page += "<label>账户名</label><input type=\"text\" name=\"logname\" value=\"";
    page += kDemoAccount;
    page += "\">\n<label>密码</label><input type=\"password\" name=\"password\" value=\"";
    page += kDemoPassword;
    page += "\">\n<button type=\"submit\">登 录</button>\n</form>\n";
    page += "<p class=\"hint\">演示账户已经填好，点击“登 录”即可。</p>\n</div>\n";
    return page + kTail;
}

std::string MemberPage() {
    std::string page = PageStart(kTitle, kStyle) + kBanner;
    page += "<div class=\"box\">\n<h2>会员中心</h2>\n<p>您好，";
    page += kDemoAccount;
    page += "！您已成功登录。</p>\n";
    page += "<p>现在可以回到软件，输入关键词后点击“开始生成”。</p>\n";
    page += "<p><a href=\"" + MemberUrl("/membersvc/logout.htm") + "\">退出</a></p>\n</div>\n";
    return page + kTail;
}

}  // namespace velmora::marketsim
