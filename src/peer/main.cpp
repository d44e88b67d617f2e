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
#include <CLI/CLI.hpp>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/SerialLine.h"
#include "link/TerminalPeer.h"
#include "util/LineSpeeds.h"
#include "util/Parse.h"

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

const char kDescription[] =
    "k52peer: creates a pseudo-terminal, prints its path as the first line, and plays a K52 terminal on it\n"
    "until the exchange ends (a program or lookup download, or an upload of the records) and the host\n"
    "closes the line, or until it is stopped (Ctrl+C). Then it prints what it received and verified.\n"
    "Point k52cli at the path with --device PATH, or set K52_COM1=PATH and use --port COM1.";

const char kExitHelp[] =
    "Exit status: 0 when an exchange ended and everything received verified, 1 otherwise, 2 bad usage.\n";

struct Arguments {
    k52::PeerOptions options;
    std::string imageOut;
    std::string lookupOut;
};

// Fills `args` from the command line; returns the exit code when the program should stop here (help or
// bad usage).
std::optional<int> ParseArguments(int argc, char** argv, Arguments& args) {
    CLI::App app(kDescription, "k52peer");
    app.footer(std::string(kExitHelp) + "\n" + k52::kPeerFaultHelp);
    std::string records;
    std::vector<std::string> faults;
    app.add_option_function<std::string>(
           "--cradle-speed",
           [&args](const std::string& v) {
               const auto bps = k52::ParseUnsigned<std::uint32_t>(v);
               if (!bps || !k52::BaudRateOfSpeed(*bps))
                   throw CLI::ValidationError("--cradle-speed must be 9600, 19200, 38400, 57600 or 115200");
               args.options.cradleSpeed = *bps;
           },
           "an infrared cradle in front of the terminal, listening at BPS:\n"
           "it echoes the probe byte only when the host's line runs at\n"
           "that speed, and relays at the speed the host switches it to")
        ->type_name("BPS");
    app.add_option("--records", records,
                   "the collected records to upload, one per line (at most 251 bytes each)")
        ->type_name("FILE");
    app.add_option("--image-out", args.imageOut,
                   "write the 10500-byte program image once all 105 packets were verified")
        ->type_name("FILE");
    app.add_option("--lookup-out", args.lookupOut,
                   "write the lookup records received, one per line ended by CR LF")
        ->type_name("FILE");
    app.add_option_function<std::string>(
           "--expect",
           [&args](const std::string& v) {
               if (v == "program")
                   args.options.expect = k52::PeerExpect::Program;
               else if (v == "lookup")
                   args.options.expect = k52::PeerExpect::Lookup;
               else
                   throw CLI::ValidationError("--expect takes program or lookup");
           },
           "what the terminal is set to receive (program or lookup); by\n"
           "default it tells a program packet from a lookup record by\n"
           "their shape")
        ->type_name("KIND");
    app.add_option("--fault", faults, "a fault to play, as often as needed (see below)")
        ->type_name("SPEC")
        ->allow_extra_args(false);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return kExitDone;
    } catch (const CLI::ParseError& e) {
        std::cerr << "k52peer: " << e.what() << "\nRun 'k52peer --help' for the options and faults.\n";
        return kExitUsage;
    }
    std::string error;
    if (app.count("--records") > 0 && !k52::LoadPeerRecords(records, args.options.records, &error)) {
        std::cerr << "k52peer: " << error << "\n";
        return kExitUsage;
    }
    for (const std::string& text : faults) {
        auto fault = k52::ParsePeerFault(text, &error);
        if (!fault) {
            std::cerr << "k52peer: " << error << "\n";
            return kExitUsage;
        }
        args.options.faults.push_back(*fault);
    }
    return std::nullopt;
}

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
    Arguments args;
    if (const auto stop = ParseArguments(argc, argv, args)) return *stop;
    const k52::PeerOptions& options = args.options;
    const std::string& imageOut = args.imageOut;
    const std::string& lookupOut = args.lookupOut;

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
