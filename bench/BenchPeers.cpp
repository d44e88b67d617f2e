// k52peer in its own process for the benchmarks, so its work never counts as the host's CPU.
#include "BenchPeers.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

extern char** environ;

namespace k52::bench {

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

Peers StartPeers(std::vector<std::string> args, int count) {
    int out[2];
    if (pipe(out) != 0) std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    args.insert(args.begin(), K52PEER_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    Peers p;
    if (posix_spawn(&p.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::perror("k52peer");
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string line;
    char c;
    while (static_cast<int>(p.paths.size()) < count && read(out[0], &c, 1) == 1) {
        if (c != '\n') {
            line += c;
            continue;
        }
        p.paths.push_back(line);
        line.clear();
    }
    // The rest of its output is not needed: let it go to a closed pipe.
    close(out[0]);
    return p;
}

double TimeProgram(std::vector<std::string> args, int* status) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const double start = WallSeconds();
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::perror(argv[0]);
        std::exit(1);
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    const double seconds = WallSeconds() - start;
    posix_spawn_file_actions_destroy(&actions);
    *status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    return seconds;
}

void StopPeers(const Peers& p) {
    kill(p.pid, SIGTERM);
    int status = 0;
    waitpid(p.pid, &status, 0);
}

}  // namespace k52::bench
