// The simulator serving on a free loopback port from a thread of its own for
// as long as the object lives; the request lines it logs are kept.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/marketsim/simulator_server.h"

namespace velmora::testing {

class RunningSimulator {
  public:
    RunningSimulator() {
        port_ = server_.Bind("127.0.0.1", 0);
        if (port_ <= 0) return;
        thread_ = std::thread([this] { server_.Listen(); });
        server_.WaitUntilReady();
    }
    ~RunningSimulator() {
        if (!thread_.joinable()) return;
        server_.Stop();
        thread_.join();
    }
    RunningSimulator(const RunningSimulator&) = delete;
    RunningSimulator& operator=(const RunningSimulator&) = delete;

    // The port, or -1 when nothing could be bound.
    int Port() const { return port_; }
    std::string ProxyAddress() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> Log() {
        std::lock_guard lock(logMutex_);
        return log_;
    }

  private:
    std::mutex logMutex_;
    std::vector<std::string> log_;
    marketsim::SimulatorServer server_{[this](const std::string& line) {
        std::lock_guard lock(logMutex_);
        log_.push_back(line);
    }};
    int port_ = -1;
    std::thread thread_;
};

}  // namespace velmora::testing
