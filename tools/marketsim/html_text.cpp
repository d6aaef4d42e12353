#include "tools/marketsim/pages.h"

namespace velmora::marketsim {

std::string PageStart(std::string_view title, std::string_view style) {
    return "<!DOCTYPE html>\n<html><head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">\n<title>" +
           std::string(title) + "</title>\n<style>\n" + std::string(style) +
           "</style>\n</head><body>\n";
}

std::string NotFoundPage(std::string_view host, std::string_view path) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"gbk\"><title>404</title></head><body>\n"
           "<h1>404 页面不存在</h1><p>模拟站点没有这个地址：http://" +
           net::EscapeMarkup(host) + net::EscapeMarkup(path) + "</p></body></html>\n";
}

}  // namespace velmora::marketsim
