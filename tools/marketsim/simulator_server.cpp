#include "tools/marketsim/simulator_server.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "runtime/gbk.h"

namespace velmora::marketsim {
namespace {

constexpr size_t kWorkers = 48;
constexpr size_t kPieceSize = 64 * 1024;

// Chunked, so no length goes ahead; it ends early when the client hangs up.
void SendUnannounced(httplib::Response& res, size_t total, const std::string& contentType) {
    res.set_chunked_content_provider(contentType, [total](size_t offset, httplib::DataSink& sink) {
        static const std::string piece(kPieceSize, 'x');
        if (offset >= total) {
            sink.done();
            return true;
        }
        return sink.write(piece.data(), std::min(kPieceSize, total - offset));
    });
}

}  // namespace

std::string RequestLogLine(std::string_view method, std::string_view host, std::string_view target,
                           int status, size_t bytes, std::string_view cookieNames) {
    std::string address(target);
    if (!target.starts_with("http://")) address = "http://" + std::string(host) + address;
    std::string line = std::string(method) + " " + GbkToUtf8Lossy(address) + " " +
                       std::to_string(status) + " " + std::to_string(bytes);
    if (!cookieNames.empty()) line += " cookies: " + GbkToUtf8Lossy(cookieNames);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return line;
}

SimulatorServer::SimulatorServer(std::function<void(const std::string&)> log) {
    // A browser behind a proxy keeps many idle connections open, each holding
    // a worker until its keep-alive ends; a pool of the library's default
    // size would leave page pictures waiting for seconds.
    server_.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    // One handler for every host and path: the sites route by host themselves.
    // A request's line is written before its answer leaves, so whoever gets
    // the answer finds the line already there; the server's logger, which runs
    // after the answer went out, only speaks for requests no route matched.
    auto logLine = [log](const httplib::Request& req, int status, size_t bytes) {
        log(RequestLogLine(req.method, req.get_header_value("Host"), req.target, status, bytes,
                           CookieNames(req.get_header_value("Cookie"))));
    };
    auto handler = [this, logLine](const httplib::Request& req, httplib::Response& res) {
        SiteRequest request =
            ParseSiteRequest(req.method, req.target, req.get_header_value("Host"));
        request.cookies = req.get_header_value("Cookie");
        request.body = req.body;
        SiteResponse response = sites_.Respond(request);
        if (response.silent) {
            logLine(req, 0, 0);
            WaitForStop();
            return;
        }
        logLine(req, response.status,
                response.unannouncedBytes > 0 ? response.unannouncedBytes : response.body.size());
        res.status = response.status;
        for (const auto& [name, value] : response.headers) res.set_header(name.c_str(), value);
        if (response.unannouncedBytes > 0)
            SendUnannounced(res, response.unannouncedBytes, response.contentType);
        else
            res.set_content(response.body, response.contentType.c_str());
    };
    // [\s\S] rather than '.': a decoded path may hold a line break.
    server_.Get("[\\s\\S]*", handler);
    server_.Post("[\\s\\S]*", handler);
    server_.set_logger([logLine](const httplib::Request& req, const httplib::Response& res) {
        if (req.matches.empty()) logLine(req, res.status, res.body.size());
    });
}

int SimulatorServer::Bind(const std::string& address, int port) {
    int bound = port == 0 ? server_.bind_to_any_port(address)
                          : (server_.bind_to_port(address, port) ? port : -1);
    if (bound > 0) server_.WidenListenQueue();
    return bound;
}

bool SimulatorServer::Listen() {
    return server_.listen_after_bind();
}

void SimulatorServer::Stop() {
    {
        std::lock_guard lock(stopMutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    server_.stop();
}

void SimulatorServer::WaitForStop() {
    std::unique_lock lock(stopMutex_);
    stopped_.wait(lock, [this] { return stopping_; });
}

void SimulatorServer::WaitUntilReady() const {
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace velmora::marketsim
