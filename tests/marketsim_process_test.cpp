// The marketsim program as the demo script runs it: port 0, the first output
// line naming the port, one line per request, a clean stop on SIGTERM.
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/child_process.h"

extern char** environ;

namespace {

class Program {
  public:
    explicit Program(std::vector<std::string> args) {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        args.insert(args.begin(), MARKETSIM_PATH);
        pid_ = velmora::testing::SpawnChild(std::move(args), environ, &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fdopen(fds[0], "r");
    }
    ~Program() {
        velmora::testing::EndChild(pid_, SIGKILL);
        if (out_) fclose(out_);
    }

    std::string Line() {
        std::string line;
        for (int c; out_ && (c = fgetc(out_)) != EOF && c != '\n';) line += static_cast<char>(c);
        return line;
    }

    // Exit status after `signal` (0 to just wait), or -1 when it did not exit.
    int Stop(int signal) { return velmora::testing::EndChild(pid_, signal); }

  private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
};

long Get(int port, const char* url) {
    CURL* curl = curl_easy_init();
    std::string proxy = "http://127.0.0.1:" + std::to_string(port);
    curl_easy_setopt(curl, CURLOPT_URL, url);
    curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "");
    // Generous: a loaded CI machine may take seconds to schedule the child.
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
    curl_easy_setopt(
        curl, CURLOPT_WRITEFUNCTION,
        +[](char*, size_t size, size_t count, void*) { return size * count; });
    long status = 0;
    if (curl_easy_perform(curl) == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    return status;
}

TEST(MarketsimProgramTest, AnnouncesItsPortLogsRequestsAndStopsOnSigterm) {
    Program sim({"--port", "0"});
    std::string first = sim.Line();
    const std::string prefix = "marketsim listening on 127.0.0.1:";
    ASSERT_EQ(first.rfind(prefix, 0), 0u) << first;
    int port = std::stoi(first.substr(prefix.size()));
    ASSERT_GT(port, 0);

    EXPECT_EQ(Get(port, "http://help.velmora.local/shuoming.html"), 200);
    EXPECT_EQ(sim.Line().rfind("GET http://help.velmora.local/shuoming.html 200 ", 0), 0u);

    EXPECT_EQ(sim.Stop(SIGTERM), 0);
    EXPECT_EQ(sim.Line(), "marketsim stopped");
}

TEST(MarketsimProgramTest, RefusesBadArguments) {
    for (std::vector<std::string> args :
         {std::vector<std::string>{"--port", "70000"}, std::vector<std::string>{"--port"},
          std::vector<std::string>{"--colour", "red"}}) {
        Program sim(args);
        EXPECT_EQ(sim.Stop(0), 2) << args[0];
    }
}

}  // namespace
