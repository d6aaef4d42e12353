#include "tools/marketsim/pages.h"

namespace velmora::marketsim {

std::string NotFoundPage(std::string_view host, std::string_view path) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"gbk\"><title>404</title></head><body>\n"
           "<h1>404 页面不存在</h1><p>模拟站点没有这个地址：http://" +
           net::EscapeMarkup(host) + net::EscapeMarkup(path) + "</p></body></html>\n";
}

}  // namespace velmora::marketsim
