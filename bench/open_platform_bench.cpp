// One keyword through the open-platform source against the simulated
// gateway on loopback, rate limit off: the signed request, the simulator's
// answer, the JSON and the mapping of every item into the template's GBK
// fields. The classic source spends about 9 s of fixed waits on 20 items.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <thread>

#include "app/open_platform_source.h"
#include "runtime/gbk.h"
#include "tools/marketsim/gateway.h"
#include "tools/marketsim/simulator_server.h"

namespace velmora {
namespace {

void BM_OpenPlatformKeyword(benchmark::State& state) {
    marketsim::SimulatorServer server([](const std::string&) {});
    const int port = server.Bind("127.0.0.1", 0);
    std::thread serving([&] { server.Listen(); });
    server.WaitUntilReady();
    setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(port)).c_str(), 1);

    app::ApiSettings api;
    api.appKey = marketsim::kDemoAppKey;
    api.appSecret = marketsim::kDemoAppSecret;
    api.adzoneId = marketsim::kDemoAdzoneId;
    api.gateway = "http://gw.api.velmora.local/router/rest";
    api.ratePerSecond = 0;
    app::OpenPlatformSource source(api);
    const std::string keyword = Utf8ToGbk("手机").value();
    const app::ItemQuery query{keyword.c_str(), 0, int(state.range(0))};
    for (auto _ : state) {
        if (source.Search(query).status != app::SearchStatus::kFound) {
            state.SkipWithError("the search failed");
            break;
        }
        size_t bytes = 0;
        for (int rank = 1; auto item = source.Item(rank); ++rank)
            bytes += item->title.view().size();
        benchmark::DoNotOptimize(bytes);
    }
    unsetenv("http_proxy");
    server.Stop();
    serving.join();
}
BENCHMARK(BM_OpenPlatformKeyword)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace velmora
