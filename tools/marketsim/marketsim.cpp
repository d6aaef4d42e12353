// marketsim: serves the simulated outside sites on one loopback port. Point
// the system proxy at it and the collector runs against it unchanged.
//
//   marketsim [--port N] [--bind ADDRESS]
//
// The first line on standard output is "marketsim listening on ADDRESS:PORT"
// (with --port 0 the port is the free one chosen); then one line per request.
// SIGTERM or SIGINT stops it cleanly with exit status 0.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include "tools/marketsim/simulator_server.h"

namespace {

constexpr int kDefaultPort = 8765;

int Usage(const char* message) {
    std::cerr << "marketsim: " << message << "\n"
              << "usage: marketsim [--port N] [--bind ADDRESS]\n"
              << "  --port N        port to listen on; 0 picks a free one (default " << kDefaultPort
              << ")\n"
              << "  --bind ADDRESS  address to listen on (default 127.0.0.1)\n";
    return 2;
}

bool ParsePort(const char* text, int& port) {
    const char* end = text + std::strlen(text);
    auto [last, ec] = std::from_chars(text, end, port);
    return ec == std::errc() && last == end && port >= 0 && port <= 65535;
}

}  // namespace

int main(int argc, char** argv) {
    int port = kDefaultPort;
    std::string address = "127.0.0.1";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage("serves the simulated affiliate platform, marketplace and help site");
            return 0;
        }
        if (i + 1 >= argc) return Usage(("missing value after " + arg).c_str());
        if (arg == "--port") {
            if (!ParsePort(argv[++i], port)) return Usage("the port must be 0 to 65535");
        } else if (arg == "--bind") {
            address = argv[++i];
        } else {
            return Usage(("unknown option " + arg).c_str());
        }
    }

    // Signals are taken by one waiting thread, never by an interrupted handler.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::mutex outputMutex;
    velmora::marketsim::SimulatorServer server([&outputMutex](const std::string& line) {
        std::lock_guard lock(outputMutex);
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    });
    int bound = server.Bind(address, port);
    if (bound < 0) {
        std::cerr << "marketsim: cannot listen on " << address << ":" << port << "\n";
        return 1;
    }
    {
        std::lock_guard lock(outputMutex);
        std::printf("marketsim listening on %s:%d\n", address.c_str(), bound);
        std::fflush(stdout);
    }

    std::atomic<bool> listenEnded = false;
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        // A stop that arrives before the server runs would be lost: repeat it.
        while (!listenEnded) {
            server.Stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    bool served = server.Listen();
    listenEnded = true;
    // Wakes the stopper when the server ended by itself.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    std::lock_guard lock(outputMutex);
    std::printf("marketsim stopped\n");
    return served ? 0 : 1;
}
