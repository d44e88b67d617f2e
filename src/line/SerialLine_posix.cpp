// The termios serial line: raw 8N1, exclusive open, speeds, modem lines, waits that never spin.
#include "line/PosixSerialLine.h"
#include "line/TermiosSpeeds.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "i18n/Translate.h"
#include "ports/PortErrors.h"

namespace k52 {
namespace {

std::int64_t MonotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SleepMs(std::int64_t ms) {
    if (ms <= 0) return;
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>((ms % 1000) * 1000000)};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

// Leaves errno as it found it, for the caller that reports the failing step's errno.
std::string Errno(const std::string& what) {
    const int saved = errno;
    std::string text = what + ": " + std::strerror(saved);
    errno = saved;
    return text;
}

static_assert(kLowLatencyFlag == ASYNC_LOW_LATENCY);

class KernelSerialDriver : public SerialDriverAccess {
  public:
    std::optional<int> GetFlags(int fd) override {
        serial_struct ss{};
        if (ioctl(fd, TIOCGSERIAL, &ss) != 0) return std::nullopt;
        return ss.flags;
    }
    bool SetFlags(int fd, int flags) override {
        serial_struct ss{};
        if (ioctl(fd, TIOCGSERIAL, &ss) != 0) return false;
        ss.flags = flags;
        return ioctl(fd, TIOCSSERIAL, &ss) == 0;
    }
    std::optional<int> LatencyTimerMs(const std::string& deviceName) override {
        std::ifstream in("/sys/bus/usb-serial/devices/" + deviceName + "/latency_timer");
        int ms = 0;
        if (in >> ms) return ms;
        return std::nullopt;
    }
};

}  // namespace

SerialDriverAccess& SystemSerialDriver() {
    static KernelSerialDriver driver;
    return driver;
}

std::unique_ptr<PosixSerialLine> PosixSerialLine::Open(const std::string& device, std::string* error,
                                                       int* errorNumber, SerialDriverAccess& driver) {
    int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errorNumber) *errorNumber = errno;
        if (error) *error = Errno(device);
        return nullptr;
    }
    auto fail = [&](const std::string& why) -> std::unique_ptr<PosixSerialLine> {
        if (errorNumber) *errorNumber = errno;
        if (error) *error = why;
        ::close(fd);
        return nullptr;
    };
    if (!isatty(fd)) {
        errno = ENOTTY;
        return fail(Errno(device));
    }
    // The advisory lock keeps out our own programs (root ignores TIOCEXCL); TIOCEXCL keeps out others.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        errno = EBUSY;
        return fail(device + ": in use by another program");
    }
    if (ioctl(fd, TIOCEXCL) != 0) return fail(Errno(device));
    termios t{};
    if (tcgetattr(fd, &t) != 0) return fail(Errno(device));
    cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK);
    t.c_iflag |= IGNBRK;
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &t) != 0) return fail(Errno(device));
    std::unique_ptr<PosixSerialLine> line(new PosixSerialLine(fd, driver));
    line->AskForLowLatency(device);
    return line;
}

// Stop-and-wait pays the driver's holding time on every reply. A driver that refuses (a pseudo-terminal,
// some built-in ports) is no fault: the line works as it is.
void PosixSerialLine::AskForLowLatency(const std::string& device) {
    const std::optional<int> flags = driver_.GetFlags(fd_);
    if (flags && !(*flags & kLowLatencyFlag) && driver_.SetFlags(fd_, *flags | kLowLatencyFlag))
        oldFlags_ = flags;
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(device, ec);
    const std::string name = (ec ? std::filesystem::path(device) : real).filename().string();
    const std::optional<int> timer = driver_.LatencyTimerMs(name);
    if (timer && *timer > 1)
        latencyHint_ =
            Substitute(K52_EN("the adapter %1 holds received bytes for up to %2 ms, which slows every "
                              "reply; to lower it: echo 1 | sudo tee "
                              "/sys/bus/usb-serial/devices/%1/latency_timer"),
                       {name, std::to_string(*timer)});
}

PosixSerialLine::~PosixSerialLine() {
    Close();
}

bool PosixSerialLine::Apply(const LineSettings& s) {
    if (fd_ < 0) return false;
    std::optional<speed_t> speed = TermiosSpeed(s.speed);
    if (!speed || s.dataBits != 8 || s.parity || s.stopBits != 1) return false;
    termios t{};
    if (tcgetattr(fd_, &t) != 0) return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    if (s.ctsOutputFlow) t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (s.xonXoffOutput) t.c_iflag |= IXON;
    if (cfsetispeed(&t, *speed) != 0 || cfsetospeed(&t, *speed) != 0) return false;
    if (tcsetattr(fd_, TCSANOW, &t) != 0) return false;
    int bits = 0;
    if (ioctl(fd_, TIOCMGET, &bits) != 0) {
        // No modem lines (a pseudo-terminal): nothing to set.
        return errno == ENOTTY || errno == EINVAL;
    }
    bits = s.dtr ? (bits | TIOCM_DTR) : (bits & ~TIOCM_DTR);
    bits = s.rts ? (bits | TIOCM_RTS) : (bits & ~TIOCM_RTS);
    return ioctl(fd_, TIOCMSET, &bits) == 0;
}

bool PosixSerialLine::Write(const u8* data, std::size_t size) {
    if (fd_ < 0) return false;
    const std::int64_t deadline = MonotonicMs() + 50 + 5 * static_cast<std::int64_t>(size);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd_, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        std::int64_t left = deadline - MonotonicMs();
        if (left <= 0) return false;
        pollfd p{fd_, POLLOUT, 0};
        if (poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR) return false;
    }
    return true;
}

std::size_t PosixSerialLine::Read(u8* buffer, std::size_t capacity) {
    if (fd_ < 0 || capacity == 0) return 0;
    for (;;) {
        ssize_t n = ::read(fd_, buffer, capacity);
        if (n > 0) return static_cast<std::size_t>(n);
        if (n < 0 && errno == EINTR) continue;
        // With VMIN and VTIME at 0 an empty read returns 0. An error other than "nothing yet" means the
        // device went away (a hung-up line reads EIO), and poll() would report it readable forever.
        if (n < 0 && errno != EAGAIN) broken_ = true;
        return 0;
    }
}

bool PosixSerialLine::WaitForInput(std::int64_t timeoutMs) {
    if (fd_ < 0) return false;
    const std::int64_t deadline = MonotonicMs() + (timeoutMs > 0 ? timeoutMs : 0);
    if (broken_) {
        // Nothing will arrive; wait out the time rather than return at once into a caller's loop.
        SleepMs(timeoutMs);
        return false;
    }
    for (;;) {
        std::int64_t left = deadline - MonotonicMs();
        if (left < 0) left = 0;
        pollfd p{fd_, POLLIN, 0};
        int r = poll(&p, 1, static_cast<int>(left));
        if (r > 0) {
            int pending = 0;
            if ((p.revents & POLLIN) &&
                (!(p.revents & POLLHUP) || (ioctl(fd_, FIONREAD, &pending) == 0 && pending > 0)))
                return true;
            // Hung up or failed with nothing left to read: poll() would say so at once forever, so wait
            // out the time instead of returning into a caller's loop.
            broken_ = true;
            SleepMs(left);
            return false;
        }
        if (r == 0) return false;
        if (errno != EINTR) return false;
    }
}

void PosixSerialLine::DiscardInput() {
    if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

void PosixSerialLine::Close() {
    if (fd_ < 0) return;
    if (oldFlags_) driver_.SetFlags(fd_, *oldFlags_);
    oldFlags_.reset();
    // Leave the device openable again: the exclusive flag outlives this descriptor on a shared tty.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

std::unique_ptr<SerialLine> OpenDeviceLine(const std::string& device, int* errorNumber,
                                           std::string* latencyHint) {
    auto line = PosixSerialLine::Open(device, nullptr, errorNumber);
    if (line && latencyHint) *latencyHint = line->latencyHint();
    return line;
}

}  // namespace k52
