// Loopback servers for the network suites: a cpp-httplib server for ordinary
// answers, and raw sockets for what a well-behaved server never does.
#pragma once

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace velmora::testing {

inline int ListeningSocket(int* port, int backlog = 8) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
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
    ::close(ListeningSocket(&port));
    return port;
}

// Accepts connections (the kernel does) and never says a word.
class SilentServer {
  public:
    SilentServer() : fd_(ListeningSocket(&port_)) {}
    ~SilentServer() { ::close(fd_); }
    int Port() const { return port_; }

  private:
    int port_ = 0;
    int fd_;
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
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
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
            int client = ::accept(fd_, nullptr, nullptr);
            if (client < 0) return;
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, size_t(n));
            }
            {
                std::lock_guard lock(mutex_);
                last_ = request;
            }
            ::send(client, answer_.data(), answer_.size(), MSG_NOSIGNAL);
            ::shutdown(client, SHUT_WR);
            while (::recv(client, buffer, sizeof buffer, 0) > 0) {
            }
            ::close(client);
        }
    }

    std::string answer_;
    int port_ = 0;
    int fd_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::string last_;
    std::thread thread_;
};

// A cpp-httplib server on a free loopback port, listening from construction on.
class HttpServer {
  public:
    explicit HttpServer(const std::function<void(httplib::Server&)>& routes) {
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
