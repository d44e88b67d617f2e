// Minimal hosts written in the plain style of a C program: no buffering layer, no time-outs, no
// retries. Whatever the engine does beyond this is its own overhead.
#include "FloorHosts.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <ctime>

namespace k52::bench {

namespace {

double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

speed_t Baud(std::uint32_t speed) {
    switch (speed) {
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        default:
            return B115200;
    }
}

// Raw 8N1; a read blocks until `minimum` bytes are there.
int OpenRaw(const char* device, std::uint32_t speed, int minimum) {
    const int fd = open(device, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, Baud(speed));
    cfsetospeed(&t, Baud(speed));
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = static_cast<cc_t>(minimum);
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// One write, then one read of the four-byte reply (a second only if the reply came in pieces). With
// `discardFirst`, as the engine does before each send: what waits is read and dropped, the rest
// discarded, and the reply is awaited in poll() since the reads then return at once.
bool Exchange(int fd, const void* data, std::size_t size, bool discardFirst, long* bytes) {
    if (discardFirst) {
        char stale[256];
        while (read(fd, stale, sizeof stale) > 0) {
        }
        tcflush(fd, TCIFLUSH);
    }
    if (write(fd, data, size) != static_cast<ssize_t>(size)) return false;
    char reply[4];
    std::size_t got = 0;
    while (got < sizeof reply) {
        pollfd ready{fd, POLLIN, 0};
        if (discardFirst && poll(&ready, 1, -1) != 1) return false;
        const ssize_t n = read(fd, reply + got, sizeof reply - got);
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    *bytes += static_cast<long>(size + sizeof reply);
    return std::memcmp(reply, "ACK\r", 4) == 0;
}

}  // namespace

FloorRun FloorDownload(const char* device, std::uint32_t speed, const unsigned char* packets, int count,
                       std::size_t size, bool discardFirst) {
    FloorRun run;
    const double start = Now();
    const int fd = OpenRaw(device, speed, discardFirst ? 0 : 4);
    if (fd < 0) return run;
    run.opened = Now() - start;
    bool ok = Exchange(fd, "VARNEL\r", 7, discardFirst, &run.bytes);
    run.greeted = Now() - start;
    for (int i = 0; ok && i < count; ++i)
        ok = Exchange(fd, packets + static_cast<std::size_t>(i) * size, size, discardFirst, &run.bytes);
    run.wall = Now() - start;
    run.ok = ok;
    close(fd);
    return run;
}

FloorRun FloorReceive(const char* device, std::uint32_t speed, const char* file) {
    FloorRun run;
    const double start = Now();
    const int fd = OpenRaw(device, speed, 1);
    const int out = open(file, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || out < 0 || !Exchange(fd, "READ\r", 5, false, &run.bytes)) {
        if (fd >= 0) close(fd);
        if (out >= 0) close(out);
        return run;
    }
    unsigned char buffer[1024];
    std::size_t have = 0;
    for (;;) {
        // Frames end with CR; a read may bring the end of one frame and the start of the next.
        unsigned char* cr = static_cast<unsigned char*>(std::memchr(buffer, '\r', have));
        if (cr == nullptr) {
            if (have == sizeof buffer) break;
            const ssize_t n = read(fd, buffer + have, sizeof buffer - have);
            if (n <= 0) break;
            have += static_cast<std::size_t>(n);
            run.bytes += n;
            continue;
        }
        const std::size_t length = static_cast<std::size_t>(cr - buffer) + 1;
        if (length == 5 && std::memcmp(buffer, "OVER\r", 5) == 0) {
            run.ok = true;
            break;
        }
        if (length < 4) break;
        // Sequence byte, data, two checksum bytes, CR: the data and CR LF go to the file.
        unsigned char line[300];
        const std::size_t data = length - 4;
        std::memcpy(line, buffer + 1, data);
        line[data] = '\r';
        line[data + 1] = '\n';
        if (write(out, line, data + 2) != static_cast<ssize_t>(data + 2) || fdatasync(out) != 0) break;
        if (write(fd, "ACK\r", 4) != 4) break;
        run.bytes += 4;
        std::memmove(buffer, buffer + length, have - length);
        have -= length;
    }
    run.wall = Now() - start;
    close(fd);
    close(out);
    return run;
}

}  // namespace k52::bench
