// An HTTP server that repairs each request head (request_head.h) before the
// HTTP library reads it. Everything else is the library's own server.
#pragma once

#include <httplib.h>

namespace velmora::marketsim {

class LenientServer : public httplib::Server {
  public:
    // The library listens with a queue of five; a browser opening a burst of
    // connections through a proxy then sees SYNs dropped and waits a second
    // for each retry. Call after binding.
    void WidenListenQueue();

  private:
    bool process_and_close_socket(socket_t sock) override;
};

}  // namespace velmora::marketsim
