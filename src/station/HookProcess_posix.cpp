// Hook programs on POSIX: posix_spawn (no shell) in a process group of their own, their input through a
// socket (a hook that exits unread cannot raise SIGPIPE here), their output read without blocking.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "i18n/Translate.h"
#include "station/Hooks.h"
#include "util/UniqueFd.h"

extern char** environ;

namespace k52 {
namespace {

class PosixHookProcess : public HookProcess {
  public:
    PosixHookProcess(pid_t pid, UniqueFd out, std::size_t limit)
        : pid_(pid), out_(std::move(out)), limit_(limit) {}
    ~PosixHookProcess() override {
        if (!status_) Kill();
    }
    std::optional<int> Poll() override {
        Drain();
        if (status_) return status_;
        int st = 0;
        const pid_t r = waitpid(pid_, &st, WNOHANG);
        if (r == pid_ || (r < 0 && errno == ECHILD)) {
            Drain();
            status_ = r == pid_ && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        }
        return status_;
    }
    void Kill() override {
        if (status_) return;
        ::kill(-pid_, SIGKILL);
        int st = 0;
        while (waitpid(pid_, &st, 0) < 0 && errno == EINTR) {
        }
        Drain();
        status_ = -1;
    }
    std::string Output() const override { return output_; }

  private:
    // What came so far, keeping the first `limit_` bytes (cut at a line end when there is one).
    void Drain() {
        if (!out_) return;
        char buf[4096];
        for (;;) {
            const ssize_t n = read(out_.get(), buf, sizeof buf);
            if (n > 0) {
                if (output_.size() < limit_)
                    output_.append(buf, std::min(static_cast<std::size_t>(n), limit_ - output_.size()));
                continue;
            }
            if (n == 0) out_.Reset();
            if (n < 0 && errno == EINTR) continue;
            break;
        }
    }
    pid_t pid_;
    UniqueFd out_;
    std::size_t limit_;
    std::string output_;
    std::optional<int> status_;
};

class PosixHookProcesses : public HookProcesses {
  public:
    explicit PosixHookProcesses(std::size_t limit) : limit_(limit) {}
    std::unique_ptr<HookProcess> Start(const std::string& program, const std::vector<std::string>& env,
                                       const std::string& input, std::string* reason) override {
        int in[2], out[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, in) != 0) return Fail(program, errno, reason);
        UniqueFd inParent(in[0]), inChild(in[1]);
        if (pipe2(out, O_CLOEXEC) != 0) return Fail(program, errno, reason);
        UniqueFd outParent(out[0]), outChild(out[1]);

        std::vector<std::string> names;  // the hook's own values replace any inherited
        for (const std::string& e : env) names.push_back(e.substr(0, e.find('=') + 1));
        std::vector<char*> envp;
        for (char** e = environ; e && *e; ++e) {
            bool replaced = false;
            for (const std::string& n : names)
                replaced = replaced || std::strncmp(*e, n.c_str(), n.size()) == 0;
            if (!replaced) envp.push_back(*e);
        }
        for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, inChild.get(), 0);
        posix_spawn_file_actions_adddup2(&actions, outChild.get(), 1);
        posix_spawn_file_actions_adddup2(&actions, outChild.get(), 2);
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        for (const int s : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD}) sigaddset(&defaults, s);
        posix_spawnattr_setsigmask(&attr, &none);
        posix_spawnattr_setsigdefault(&attr, &defaults);
        posix_spawnattr_setpgroup(&attr, 0);
        posix_spawnattr_setflags(&attr,
                                 POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, program.c_str(), &actions, &attr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
        if (rc != 0) return Fail(program, rc, reason);
        inChild.Reset();
        outChild.Reset();
        // The payload is small (well under a socket's buffer): it goes at once, and never blocks.
        send(inParent.get(), input.data(), input.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        inParent.Reset();
        fcntl(outParent.get(), F_SETFL, fcntl(outParent.get(), F_GETFL) | O_NONBLOCK);
        return std::make_unique<PosixHookProcess>(pid, std::move(outParent), limit_);
    }

  private:
    static std::unique_ptr<HookProcess> Fail(const std::string& program, int number, std::string* reason) {
        if (reason) *reason = Substitute(K52_EN("cannot run %1: %2"), {program, std::strerror(number)});
        return nullptr;
    }
    std::size_t limit_;
};

}  // namespace

std::unique_ptr<HookProcesses> SystemHookProcesses() {
    return std::make_unique<PosixHookProcesses>(HookOptions{}.outputLimit);
}

}  // namespace k52
