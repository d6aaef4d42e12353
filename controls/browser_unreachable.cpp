#include "controls/browser_unreachable.h"

namespace velmora::controls {

QString UnreachablePage(const QUrl& address, const QString& reason) {
    static const QString kPage = QString::fromUtf8(
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>无法连接阿里妈妈</title>"
        "<style>body{font:14px/1.7 sans-serif;color:#333;margin:24px}"
        "h1{font-size:18px;color:#c40}code{background:#f4f4f4;padding:0 4px}"
        "a{color:#06c}</style></head><body>"
        "<h1>无法连接阿里妈妈网站</h1>"
        "<p>打开 <code>%1</code> 失败（<code>%2</code>）。常见原因：</p><ul>"
        "<li>电脑没有联网，或网络暂时不通；</li>"
        "<li>系统设置了代理（例如 http_proxy 环境变量），而代理服务器没有运行或地址有误；</li>"
        "<li>防火墙拦截了本软件，或阿里妈妈网站暂时无法访问。</li></ul>"
        "<p>检查网络和代理设置后，<a href=\"%3\">点击这里重新打开登录页</a>。</p>"
        "</body></html>");
    const QString shown = address.toDisplayString().toHtmlEscaped();
    return kPage.arg(shown, reason.toHtmlEscaped(),
                     address.toString(QUrl::FullyEncoded).toHtmlEscaped());
}

}  // namespace velmora::controls
