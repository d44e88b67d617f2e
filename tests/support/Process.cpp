#include "support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <string_view>
#include <system_error>

extern char** environ;

namespace k52::test {
namespace {

struct Pipe {
    UniqueFd read, write;
};

Pipe MakePipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
    return {UniqueFd(fds[0]), UniqueFd(fds[1])};
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const RunOptions& options)
    : input_(options.input), limitMs_(options.limitMs) {
    if (argv.empty()) throw std::invalid_argument("ChildProcess: no program");
    Pipe in = MakePipe(), out = MakePipe(), err = MakePipe();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.read.get(), 0);
    if (options.outputFile.empty())
        posix_spawn_file_actions_adddup2(&actions, out.write.get(), 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, options.outputFile.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_adddup2(&actions, err.write.get(), 2);
    if (!options.workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());

    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<std::string> env;
    // The programs choose their language from the locale; the tests expect the program's own texts
    // unless a test names a locale in extraEnv.
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry(*e);
        if (entry.starts_with("LC_ALL=") || entry.starts_with("LC_MESSAGES=") || entry.starts_with("LANG="))
            continue;
        env.emplace_back(entry);
    }
    env.insert(env.end(), options.extraEnv.begin(), options.extraEnv.end());
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    // Writing to a child that exits without reading its input must fail with EPIPE here, not kill the
    // test; the child itself gets the default disposition back.
    static const bool ignoringSigpipe = std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
    (void)ignoringSigpipe;
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    const int rc = posix_spawn(&pid_, args[0], &actions, &attributes, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) throw std::system_error(rc, std::generic_category(), "posix_spawn " + argv[0]);
    in_ = std::move(in.write);
    out_ = std::move(out.read);
    err_ = std::move(err.read);
    ::fcntl(in_.get(), F_SETFL, ::fcntl(in_.get(), F_GETFL) | O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
}

std::string ChildProcess::ReadLine() {
    for (;;) {
        const auto end = outSoFar_.find('\n');
        if (end != std::string::npos) {
            std::string line = outSoFar_.substr(0, end);
            outSoFar_.erase(0, end + 1);
            return line;
        }
        pollfd p{out_.get(), POLLIN, 0};
        if (::poll(&p, 1, limitMs_) == 0) return std::exchange(outSoFar_, std::string());
        char buffer[256];
        const ssize_t n = ::read(out_.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::exchange(outSoFar_, std::string());
        outSoFar_.append(buffer, static_cast<std::size_t>(n));
    }
}

ProcessResult ChildProcess::Finish() {
    ProcessResult result;
    result.out = std::exchange(outSoFar_, std::string());
    if (input_.empty()) in_.Reset();
    std::size_t inputDone = 0;
    int waitedMs = 0;
    constexpr int kTurnMs = 100;
    while (out_.valid() || err_.valid()) {
        pollfd fds[3] = {{in_.get(), POLLOUT, 0}, {out_.get(), POLLIN, 0}, {err_.get(), POLLIN, 0}};
        const int r = ::poll(fds, 3, kTurnMs);
        if (r < 0 && errno == EINTR) continue;
        if (r == 0 && (waitedMs += kTurnMs) >= limitMs_) {
            ::kill(pid_, SIGKILL);
            break;
        }
        if (in_.valid() && fds[0].revents != 0) {
            const ssize_t n = ::write(in_.get(), input_.data() + inputDone, input_.size() - inputDone);
            if (n > 0) inputDone += static_cast<std::size_t>(n);
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || inputDone == input_.size()) in_.Reset();
        }
        UniqueFd* sources[2] = {&out_, &err_};
        std::string* sinks[2] = {&result.out, &result.err};
        for (std::size_t i = 0; i < 2; ++i) {
            if (!sources[i]->valid() || fds[i + 1].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(sources[i]->get(), buffer, sizeof buffer);
            if (n > 0)
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            else if (!(n < 0 && errno == EINTR))
                sources[i]->Reset();
        }
    }
    in_.Reset();
    out_.Reset();
    err_.Reset();
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const RunOptions& options) {
    ChildProcess child(argv, options);
    return child.Finish();
}

}  // namespace k52::test
