// What one collector request costs the simulator, so that its share of a
// collection run's time stays visible next to the collector's own waits.
#include <benchmark/benchmark.h>

#include "runtime/gbk.h"
#include "tools/marketsim/catalogue.h"
#include "tools/marketsim/sites.h"

namespace {

using velmora::marketsim::SiteRequest;
using velmora::marketsim::Sites;

SiteRequest Request(const char* host, const char* path, std::string query) {
    SiteRequest r;
    r.method = "POST";
    r.host = host;
    r.path = path;
    r.query = std::move(query);
    return r;
}

void BM_PromotionSearchPage(benchmark::State& state) {
    Sites sites;
    std::string keyword = velmora::Utf8ToGbk("手机").value();
    // Without a session the page is the login hint; this measures the full list.
    SiteRequest login = Request("www.alimama.com", "/membersvc/login.htm", "");
    login.body = "logname=velmora_demo&password=demo2024";
    std::string cookie;
    for (const auto& [name, value] : sites.Respond(login).headers) {
        if (name == "Set-Cookie") cookie = value.substr(0, value.find(';'));
    }
    SiteRequest search =
        Request("u.alimama.com", "/union/spread/selfservice/merchandisePromotion.htm",
                "_fmu.a._0.pe=40&_fmu.a._0.so=_totalnum&q=" + keyword);
    search.cookies = cookie;
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = sites.Respond(search).body.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PromotionSearchPage);

void BM_MarketplaceSearchPage(benchmark::State& state) {
    Sites sites;
    std::string title =
        velmora::marketsim::Catalogue(velmora::Utf8ToGbk("手机").value()).front().title;
    SiteRequest search = Request("s.taobao.com", "/search", "q=" + title);
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = sites.Respond(search).body.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_MarketplaceSearchPage);

}  // namespace
