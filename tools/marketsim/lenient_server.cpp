#include "tools/marketsim/lenient_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "tools/marketsim/request_head.h"

namespace velmora::marketsim {
namespace {

// Heads longer than this go to the library untouched; it refuses them itself.
constexpr size_t kMaxHead = 64 * 1024;
// An idle keep-alive connection checks this often whether the server stops.
constexpr int kIdlePollMs = 100;

void IpAndPort(const sockaddr_storage& addr, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = {};
    if (addr.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(addr);
        inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
        port = ntohs(in.sin_port);
    } else if (addr.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(addr);
        inet_ntop(AF_INET6, &in6.sin6_addr, text, sizeof text);
        port = ntohs(in6.sin6_port);
    }
    ip = text;
}

// A socket stream that hands out each request's head already repaired and
// then the body bytes as they come.
class RepairingStream : public httplib::Stream {
  public:
    RepairingStream(socket_t sock, int readTimeoutMs, int writeTimeoutMs)
        : sock_(sock), readTimeoutMs_(readTimeoutMs), writeTimeoutMs_(writeTimeoutMs) {}

    // Called before each request: the next bytes read start a new head.
    void ExpectHead() { atHead_ = true; }

    // Waits for the first byte of another request; false when the keep-alive
    // time ran out or the server is stopping. A peer that closed shows up as
    // a failed read of the head.
    template <typename StillRunning>
    bool WaitForRequest(int keepAliveMs, StillRunning stillRunning) {
        if (pos_ < buffer_.size()) return true;
        for (int waited = 0; waited < keepAliveMs; waited += kIdlePollMs) {
            if (!stillRunning()) return false;
            if (Poll(POLLIN, kIdlePollMs)) return true;
        }
        return false;
    }

    bool is_readable() const override {
        return pos_ < buffer_.size() || Poll(POLLIN, readTimeoutMs_);
    }
    bool is_writable() const override { return Poll(POLLOUT, writeTimeoutMs_); }

    ssize_t read(char* ptr, size_t size) override {
        if (atHead_) {
            atHead_ = false;
            if (!ReadHead()) return -1;
        }
        if (pos_ == buffer_.size()) {
            buffer_.clear();
            pos_ = 0;
            if (!Fill()) return -1;
        }
        size_t n = std::min(size, buffer_.size() - pos_);
        std::memcpy(ptr, buffer_.data() + pos_, n);
        pos_ += n;
        return static_cast<ssize_t>(n);
    }

    ssize_t write(const char* ptr, size_t size) override {
        if (!is_writable()) return -1;
        return ::send(sock_, ptr, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        sockaddr_storage addr{};
        socklen_t len = sizeof addr;
        if (getpeername(sock_, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
            IpAndPort(addr, ip, port);
        }
    }

    void get_local_ip_and_port(std::string& ip, int& port) const override {
        sockaddr_storage addr{};
        socklen_t len = sizeof addr;
        if (getsockname(sock_, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
            IpAndPort(addr, ip, port);
        }
    }

    socket_t socket() const override { return sock_; }

  private:
    bool Poll(short events, int timeoutMs) const {
        pollfd p{sock_, events, 0};
        int rc;
        do {
            rc = ::poll(&p, 1, timeoutMs);
        } while (rc < 0 && errno == EINTR);
        return rc > 0;
    }

    // Appends whatever the socket has; false on close, error or time-out.
    bool Fill() {
        if (!Poll(POLLIN, readTimeoutMs_)) return false;
        char chunk[4096];
        ssize_t n;
        do {
            n = ::recv(sock_, chunk, sizeof chunk, 0);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) return false;
        buffer_.append(chunk, static_cast<size_t>(n));
        return true;
    }

    // Reads until the buffer holds a whole head, then repairs it in place.
    bool ReadHead() {
        buffer_.erase(0, pos_);
        pos_ = 0;
        size_t headLength;
        while ((headLength = RequestHeadLength(buffer_)) == 0) {
            if (buffer_.size() > kMaxHead) return true;
            if (!Fill()) return !buffer_.empty();
        }
        buffer_.replace(0, headLength,
                        NormalizeRequestHead(std::string_view(buffer_).substr(0, headLength)));
        return true;
    }

    socket_t sock_;
    int readTimeoutMs_;
    int writeTimeoutMs_;
    std::string buffer_;
    size_t pos_ = 0;
    bool atHead_ = false;
};

int Milliseconds(time_t sec, time_t usec) {
    return static_cast<int>(sec * 1000 + usec / 1000);
}

}  // namespace

void LenientServer::WidenListenQueue() {
    // Listening again on a listening socket only resizes its queue.
    ::listen(svr_sock_, SOMAXCONN);
}

bool LenientServer::process_and_close_socket(socket_t sock) {
    RepairingStream stream(sock, Milliseconds(read_timeout_sec_, read_timeout_usec_),
                           Milliseconds(write_timeout_sec_, write_timeout_usec_));
    bool ok = true;
    int keepAliveMs = static_cast<int>(keep_alive_timeout_sec_ * 1000);
    for (size_t left = keep_alive_max_count_; left > 0; --left) {
        if (!stream.WaitForRequest(keepAliveMs, [this] { return is_running(); })) break;
        stream.ExpectHead();
        bool closed = false;
        ok = process_request(stream, left == 1, closed, nullptr);
        if (!ok || closed) break;
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ok;
}

}  // namespace velmora::marketsim
