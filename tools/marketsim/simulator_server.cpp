#include "tools/marketsim/simulator_server.h"

#include <chrono>
#include <thread>

#include "runtime/gbk.h"

namespace velmora::marketsim {

std::string RequestLogLine(std::string_view method, std::string_view host, std::string_view target,
                           int status, size_t bytes) {
    std::string address(target);
    if (!target.starts_with("http://")) address = "http://" + std::string(host) + address;
    std::string line = std::string(method) + " " + GbkToUtf8Lossy(address) + " " +
                       std::to_string(status) + " " + std::to_string(bytes);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return line;
}

SimulatorServer::SimulatorServer(std::function<void(const std::string&)> log) {
    // One handler for every host and path: the sites route by host themselves.
    auto handler = [this](const httplib::Request& req, httplib::Response& res) {
        SiteRequest request =
            ParseSiteRequest(req.method, req.target, req.get_header_value("Host"));
        request.cookies = req.get_header_value("Cookie");
        request.body = req.body;
        SiteResponse response = sites_.Respond(request);
        res.status = response.status;
        for (const auto& [name, value] : response.headers) res.set_header(name.c_str(), value);
        res.set_content(response.body, response.contentType.c_str());
    };
    // [\s\S] rather than '.': a decoded path may hold a line break.
    server_.Get("[\\s\\S]*", handler);
    server_.Post("[\\s\\S]*", handler);
    server_.set_logger(
        [log = std::move(log)](const httplib::Request& req, const httplib::Response& res) {
            log(RequestLogLine(req.method, req.get_header_value("Host"), req.target, res.status,
                               res.body.size()));
        });
}

int SimulatorServer::Bind(const std::string& address, int port) {
    if (port == 0) return server_.bind_to_any_port(address);
    return server_.bind_to_port(address, port) ? port : -1;
}

bool SimulatorServer::Listen() {
    return server_.listen_after_bind();
}

void SimulatorServer::Stop() {
    server_.stop();
}

void SimulatorServer::WaitUntilReady() const {
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace velmora::marketsim
