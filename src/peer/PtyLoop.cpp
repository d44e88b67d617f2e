// The pseudo-terminals' master sides and the one ppoll() loop that serves them all.
#include "peer/PtyLoop.h"
#include "line/TermiosSpeeds.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace k52 {
namespace {

std::int64_t NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string Reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Reads what the host wrote, or notices that it closed its side.
void ReadHost(PtyTerminal& t, short revents, std::int64_t nowUs) {
    bool hungUp = (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    if (revents & POLLIN) {
        u8 buffer[4096];
        const ssize_t n = ::read(t.pty->fd(), buffer, sizeof buffer);
        if (n <= 0 && !(n < 0 && (errno == EAGAIN || errno == EINTR))) hungUp = true;
        if (n > 0) {
            t.terminal.FromHost(buffer, static_cast<std::size_t>(n), nowUs);
            return;
        }
    }
    if (hungUp) t.terminal.HostHungUp(nowUs);
}

timespec Wait(std::int64_t waitUs) {
    timespec wait{};
    wait.tv_sec = static_cast<time_t>(waitUs / 1000000);
    wait.tv_nsec = static_cast<long>(waitUs % 1000000) * 1000;
    return wait;
}

}  // namespace

std::unique_ptr<PtyMaster> PtyMaster::Open(std::string* error) {
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = Reason("cannot create a pseudo-terminal");
        return nullptr;
    }
    std::unique_ptr<PtyMaster> pty(new PtyMaster(fd));
    if (grantpt(fd) != 0 || unlockpt(fd) != 0) {
        *error = Reason("cannot create a pseudo-terminal");
        return nullptr;
    }
    const char* slave = ptsname(fd);
    if (slave == nullptr) {
        *error = Reason("ptsname");
        return nullptr;
    }
    pty->path_ = slave;
    termios raw{};
    if (tcgetattr(fd, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(fd, TCSANOW, &raw);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return pty;
}

PtyMaster::~PtyMaster() {
    Close();
}

void PtyMaster::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::uint32_t PtyMaster::Speed() {
    termios line{};
    return tcgetattr(fd_, &line) == 0 ? BitsPerSecond(cfgetospeed(&line)) : 0;
}

void PtyMaster::Write(const u8* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd_, POLLOUT, 0};
            poll(&p, 1, 100);
            continue;
        }
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

bool RunPtyLoop(std::vector<std::unique_ptr<PtyTerminal>>& terminals, const volatile std::sig_atomic_t& stop,
                std::string* error) {
    std::vector<pollfd> fds;
    std::vector<PtyTerminal*> polled;
    while (!stop) {
        std::int64_t nowUs = NowUs();
        std::int64_t next = INT64_MAX;
        fds.clear();
        polled.clear();
        for (const auto& t : terminals) {
            if (t->terminal.finished()) continue;
            next = std::min(next, t->terminal.Service(nowUs));
            if (t->terminal.finished() || t->terminal.Napping(nowUs)) continue;
            fds.push_back({t->pty->fd(), POLLIN, 0});
            polled.push_back(t.get());
        }
        if (std::all_of(terminals.begin(), terminals.end(),
                        [](const auto& t) { return t->terminal.finished(); }))
            return true;
        const timespec wait = Wait(std::max<std::int64_t>(0, next - nowUs));
        const int r = ppoll(fds.data(), fds.size(), next == INT64_MAX ? nullptr : &wait, nullptr);
        if (r < 0) {
            if (errno == EINTR) continue;
            *error = Reason("poll");
            return false;
        }
        nowUs = NowUs();
        for (std::size_t i = 0; i < fds.size() && r > 0; ++i)
            if (fds[i].revents != 0) ReadHost(*polled[i], fds[i].revents, nowUs);
    }
    return true;
}

}  // namespace k52
