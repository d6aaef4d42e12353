#include "tools/marketsim/pages.h"

namespace velmora::marketsim {

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string NotFoundPage(std::string_view host, std::string_view path) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"gbk\"><title>404</title></head><body>\n"
           "<h1>404 页面不存在</h1><p>模拟站点没有这个地址：http://" +
           EscapeHtml(host) + EscapeHtml(path) + "</p></body></html>\n";
}

}  // namespace velmora::marketsim
