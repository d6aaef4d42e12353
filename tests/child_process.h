// Starting and ending the programs the process suites run as children.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

namespace velmora::testing {

// Starts `args[0]` with those arguments; -1 when it could not be started.
inline pid_t SpawnChild(std::vector<std::string> args, char* const* environment,
                        const posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], actions, nullptr, argv.data(), environment) != 0) return -1;
    return pid;
}

// Sends `signal` (0: none), waits for the child and forgets it. The exit
// code, or -1 when there was no child or it died of a signal.
inline int EndChild(pid_t& pid, int signal) {
    if (pid <= 0) return -1;
    if (signal) kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace velmora::testing
