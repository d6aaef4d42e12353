// The simulated sites served over HTTP, reached directly or through a proxy
// setting that points at this server.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "tools/marketsim/lenient_server.h"
#include "tools/marketsim/sites.h"

namespace velmora::marketsim {

// One line per request: method, address, status and body size, then
// "cookies: " and the names of the cookies it carried, if any (never their
// values). The address is shown in UTF-8 and control bytes become '?', so a
// line stays one line.
std::string RequestLogLine(std::string_view method, std::string_view host, std::string_view target,
                           int status, size_t bytes, std::string_view cookieNames = {});

class SimulatorServer {
  public:
    // `log` receives each request's line; it may be called from several threads.
    explicit SimulatorServer(std::function<void(const std::string&)> log);

    // Binds to `address`; port 0 picks a free one. Returns the port, or -1.
    int Bind(const std::string& address, int port);
    // Serves until Stop; false when it could not serve.
    bool Listen();
    // Safe from any thread once Listen runs; in-flight requests finish first.
    void Stop();
    // Returns once Listen is serving (call it while Listen runs elsewhere):
    // a Stop before that moment would be lost.
    void WaitUntilReady() const;

  private:
    // Holds a request that gets no answer until the server stops.
    void WaitForStop();

    Sites sites_;
    LenientServer server_;
    std::mutex stopMutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
};

}  // namespace velmora::marketsim
