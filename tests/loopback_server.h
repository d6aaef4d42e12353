// Loopback servers for the network suites: a cpp-httplib server for ordinary
// answers, and raw sockets for what a well-behaved server never does.
#pragma once

#include <httplib.h>  // first: on Windows it brings winsock2.h before windows.h
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace velmora::testing {

// Winsock's names for the same calls.
#ifdef _WIN32
using Socket = SOCKET;
inline constexpr Socket kNoSocket = INVALID_SOCKET;
inline constexpr int kShutBoth = SD_BOTH;
inline constexpr int kShutWrite = SD_SEND;
inline constexpr int kNoSignal = 0;
inline void CloseSocket(Socket s) {
    ::closesocket(s);
}
// Winsock serves a process only once started; httplib does not start it.
inline void StartSockets() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}
#else
using Socket = int;
inline constexpr Socket kNoSocket = -1;
inline constexpr int kShutBoth = SHUT_RDWR;
inline constexpr int kShutWrite = SHUT_WR;
inline constexpr int kNoSignal = MSG_NOSIGNAL;
inline void CloseSocket(Socket s) {
    ::close(s);
}
inline void StartSockets() {}
#endif

inline Socket ListeningSocket(int* port, int backlog = 8) {
    StartSockets();
    Socket fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd, backlog);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return fd;
}

// A port on which nothing listens: connecting is refused at once.
inline int ClosedPort() {
    int port = 0;
    CloseSocket(ListeningSocket(&port));
    return port;
}

// Accepts connections (the kernel does) and never says a word.
class SilentServer {
  public:
    SilentServer() : fd_(ListeningSocket(&port_)) {}
    ~SilentServer() { CloseSocket(fd_); }
    int Port() const { return port_; }

  private:
    int port_ = 0;
    Socket fd_;
};

// Reads each request head (and a body of its Content-Length), keeps it, and
// sends the canned answer as raw bytes before closing the connection.
class RawServer {
  public:
    explicit RawServer(std::string answer)
        : answer_(std::move(answer)), fd_(ListeningSocket(&port_)) {
        thread_ = std::thread([this] { Serve(); });
    }
    ~RawServer() {
        stopping_ = true;
        ::shutdown(fd_, kShutBoth);
        CloseSocket(fd_);
        thread_.join();
    }
    int Port() const { return port_; }
    std::string LastRequest() {
        std::lock_guard lock(mutex_);
        return last_;
    }

  private:
    void Serve() {
        while (!stopping_) {
            Socket client = ::accept(fd_, nullptr, nullptr);
            if (client == kNoSocket) return;
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                auto n = ::recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, size_t(n));
            }
            {
                std::lock_guard lock(mutex_);
                last_ = request;
            }
            ::send(client, answer_.data(), static_cast<int>(answer_.size()), kNoSignal);
            ::shutdown(client, kShutWrite);
            while (::recv(client, buffer, sizeof buffer, 0) > 0) {
            }
            CloseSocket(client);
        }
    }

    std::string answer_;
    int port_ = 0;
    Socket fd_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::string last_;
    std::thread thread_;
};

// A cpp-httplib server on a free loopback port, listening from construction on.
class HttpServer {
  public:
    explicit HttpServer(const std::function<void(httplib::Server&)>& routes) {
        StartSockets();
        routes(server_);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::yield();
    }
    ~HttpServer() {
        server_.stop();
        thread_.join();
    }
    int Port() const { return port_; }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

  private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

}  // namespace velmora::testing
