// k52peer: plays the terminal, and the infrared cradle in front of it, on a pseudo-terminal.
//
// The line speed the host chose is read back from the pseudo-terminal: on Linux, tcgetattr() on the
// master side returns the settings of the slave side, which is where the host applies its speed. A
// pseudo-terminal has no modem lines, so the cradle cannot see RTS; it takes its own bytes (probe and
// speed commands) while the terminal is between exchanges.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/SerialLine.h"
#include "link/TerminalPeer.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) {
    gStop = 1;
}

constexpr int kExitDone = 0;
constexpr int kExitIncomplete = 1;
constexpr int kExitUsage = 2;
// After the exchange, wait this long for the host to close its side before leaving on our own.
constexpr std::int64_t kLingerMs = 10000;
constexpr int kHangupNapMs = 50;

const char kUsage[] =
    "usage: k52peer [--cradle-speed BPS] [--records FILE] [--image-out FILE] [--lookup-out FILE]\n"
    "               [--expect program|lookup] [--fault SPEC]...\n"
    "\n"
    "Creates a pseudo-terminal, prints its path as the first line, and plays a K52 terminal on it until\n"
    "the exchange ends (a program or lookup download, or an upload of the records) and the host closes\n"
    "the line, or until it is stopped (Ctrl+C). Then it prints what it received and verified.\n"
    "Point k52cli at the path with --device PATH, or set K52_COM1=PATH and use --port COM1.\n"
    "\n"
    "  --cradle-speed BPS   put an infrared cradle in front of the terminal that listens at BPS (9600,\n"
    "                       19200, 38400, 57600 or 115200): it echoes the probe byte only when the host's\n"
    "                       line runs at that speed, and relays at the speed the host switches it to\n"
    "  --records FILE       the collected records to upload, one per line (at most 251 bytes each)\n"
    "  --image-out FILE     write the 10500-byte program image once all 105 packets were verified\n"
    "  --lookup-out FILE    write the lookup records received, one per line ended by CR LF\n"
    "  --expect KIND        what the terminal is set to receive; by default it tells a program packet\n"
    "                       from a lookup record by their shape\n"
    "\n"
    "Exit status: 0 when an exchange ended and everything received verified, 1 otherwise, 2 bad usage.\n"
    "\n";

std::uint32_t SpeedOf(speed_t s) {
    switch (s) {
        case B9600:
            return 9600;
        case B19200:
            return 19200;
        case B38400:
            return 38400;
        case B57600:
            return 57600;
        case B115200:
            return 115200;
        default:
            return 0;
    }
}

bool WriteAll(int fd, const k52::u8* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, 100);
            continue;
        }
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteFile(const std::string& path, const std::vector<k52::u8>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    k52::PeerOptions options;
    std::string imageOut, lookupOut;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
        if (a == "--help" || a == "-h") {
            std::cout << kUsage << k52::kPeerFaultHelp;
            return kExitDone;
        }
        const std::string* v = value();
        if (!v) {
            std::cerr << "k52peer: " << a << (a.rfind("--", 0) == 0 ? " needs a value\n" : ": unexpected\n")
                      << kUsage;
            return kExitUsage;
        }
        std::string error;
        if (a == "--cradle-speed") {
            char* end = nullptr;
            unsigned long bps = std::strtoul(v->c_str(), &end, 10);
            if (*end != '\0' || !k52::BaudRateOfSpeed(static_cast<std::uint32_t>(bps))) {
                std::cerr << "k52peer: --cradle-speed must be 9600, 19200, 38400, 57600 or 115200\n";
                return kExitUsage;
            }
            options.cradleSpeed = static_cast<std::uint32_t>(bps);
        } else if (a == "--records") {
            if (!k52::LoadPeerRecords(*v, options.records, &error)) {
                std::cerr << "k52peer: " << error << "\n";
                return kExitUsage;
            }
        } else if (a == "--image-out") {
            imageOut = *v;
        } else if (a == "--lookup-out") {
            lookupOut = *v;
        } else if (a == "--expect") {
            if (*v == "program")
                options.expect = k52::PeerExpect::Program;
            else if (*v == "lookup")
                options.expect = k52::PeerExpect::Lookup;
            else {
                std::cerr << "k52peer: --expect takes program or lookup\n";
                return kExitUsage;
            }
        } else if (a == "--fault") {
            auto fault = k52::ParsePeerFault(*v, &error);
            if (!fault) {
                std::cerr << "k52peer: " << error << "\n";
                return kExitUsage;
            }
            options.faults.push_back(*fault);
        } else {
            std::cerr << "k52peer: unknown option " << a << "\n" << kUsage;
            return kExitUsage;
        }
    }

    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("k52peer: cannot create a pseudo-terminal");
        return kExitIncomplete;
    }
    const char* slave = ptsname(master);
    if (slave == nullptr) {
        std::perror("k52peer: ptsname");
        return kExitIncomplete;
    }
    // Raw until the host sets the line up itself, so nothing is echoed or translated meanwhile.
    termios t{};
    if (tcgetattr(master, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(master, TCSANOW, &t);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    std::cout << slave << std::endl;

    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    k52::TerminalPeer peer(options);
    k52::MonotonicClock clock;
    std::deque<k52::PeerEmission> pending;
    std::int64_t endedAt = -1;
    while (!gStop) {
        const std::int64_t now = clock.NowMs();
        while (!pending.empty() && pending.front().dueMs <= now) {
            WriteAll(master, pending.front().bytes.data(), pending.front().bytes.size());
            pending.pop_front();
        }
        if (peer.ExchangeEnded() && pending.empty()) {
            if (endedAt < 0) endedAt = now;
            if (now - endedAt >= kLingerMs) break;
        } else {
            endedAt = -1;
        }
        std::int64_t timeout = -1;
        if (!pending.empty()) timeout = pending.front().dueMs - now;
        if (endedAt >= 0) timeout = std::max<std::int64_t>(0, endedAt + kLingerMs - now);
        pollfd p{master, POLLIN, 0};
        const int r = poll(&p, 1, static_cast<int>(timeout));
        if (r < 0) {
            if (errno == EINTR) continue;
            std::perror("k52peer: poll");
            break;
        }
        if (r == 0) continue;
        bool hungUp = (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        if (p.revents & POLLIN) {
            k52::u8 buffer[4096];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0 && !(n < 0 && (errno == EAGAIN || errno == EINTR))) hungUp = true;
            if (n > 0) {
                termios line{};
                k52::PeerLineState state;
                if (tcgetattr(master, &line) == 0) state.speed = SpeedOf(cfgetospeed(&line));
                peer.Receive(buffer, static_cast<std::size_t>(n), state, clock.NowMs());
                for (k52::PeerEmission& e : peer.TakeOutput()) pending.push_back(std::move(e));
                continue;
            }
        }
        if (hungUp) {
            // The host closed its side. Once the exchange is over that is the end; otherwise wait for
            // it to come back (a retry), napping instead of polling a hung-up line in a loop.
            if (peer.ExchangeEnded() && pending.empty()) break;
            pending.clear();
            poll(nullptr, 0, kHangupNapMs);
        }
    }

    const k52::PeerReport& report = peer.report();
    std::cout << report.Summary() << std::flush;
    bool ok = peer.ExchangeEnded() && report.errors.empty();
    if (!imageOut.empty() && report.imageComplete && !WriteFile(imageOut, report.image)) {
        std::cerr << "k52peer: cannot write " << imageOut << "\n";
        ok = false;
    }
    if (!lookupOut.empty() && report.lookupComplete) {
        std::vector<k52::u8> text;
        for (const auto& r : report.lookupRecords) {
            text.insert(text.end(), r.begin(), r.end());
            text.push_back('\r');
            text.push_back('\n');
        }
        if (!WriteFile(lookupOut, text)) {
            std::cerr << "k52peer: cannot write " << lookupOut << "\n";
            ok = false;
        }
    }
    ::close(master);
    return ok ? kExitDone : kExitIncomplete;
}
