// The whole automation path of a page fetch against a bare libcurl request
// for the same loopback body.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>

#include <string>
#include <thread>

#include "app/fetch_page.h"

namespace {

class PageServer {
  public:
    explicit PageServer(size_t size) : body_(size, 'v') {
        server_.Get("/page", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(body_, "text/html");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::yield();
    }
    ~PageServer() {
        server_.stop();
        thread_.join();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/page"; }

  private:
    std::string body_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

void BM_CurlBaseline(benchmark::State& state) {
    PageServer server(size_t(state.range(0)));
    const std::string url = server.Url();
    for (auto _ : state) {
        std::string body;
        CURL* curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        if (body.size() != size_t(state.range(0))) state.SkipWithError("short body");
        benchmark::DoNotOptimize(body.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CurlBaseline)->Arg(1048576)->UseRealTime();

void BM_FetchPage(benchmark::State& state) {
    PageServer server(size_t(state.range(0)));
    const std::string url = server.Url();
    for (auto _ : state) {
        velmora::app::Text page = velmora::app::FetchPage(url.c_str());
        if (page.view().size() != size_t(state.range(0))) state.SkipWithError("short page");
        benchmark::DoNotOptimize(page.c_str());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FetchPage)->Arg(1048576)->UseRealTime();

}  // namespace
