// k52peer: plays the terminal, and the infrared cradle in front of it, on a pseudo-terminal.
//
// The line speed the host chose is read back from the pseudo-terminal: on Linux, tcgetattr() on the
// master side returns the settings of the slave side, which is where the host applies its speed. A
// pseudo-terminal has no modem lines, so the cradle cannot see RTS; it takes its own bytes (probe and
// speed commands) while the terminal is between exchanges.
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/LinePacer.h"
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
constexpr std::int64_t kHangupNapUs = 50000;
constexpr unsigned kMaxCount = 64;

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
    bool pace = false;
    int count = 1;
    std::int64_t adapterLatencyMs = 0;  // 0: replies reach the host directly
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
    app.add_flag("--pace", args.pace,
                 "take as long as a real line: every byte sent or received\n"
                 "costs ten bit times at the speed the host set");
    app.add_option_function<std::string>(
           "--adapter-latency",
           [&args](const std::string& v) {
               const auto ms = k52::ParseUnsigned<unsigned>(v, 255);
               if (!ms || *ms < 1) throw CLI::ValidationError("--adapter-latency takes 1 to 255 (ms)");
               args.adapterLatencyMs = *ms;
           },
           "replies reach the host as through a USB serial adapter whose\n"
           "latency timer is MS ms: held until MS ms pass or 62 bytes gather")
        ->type_name("MS");
    app.add_option_function<std::string>(
           "--count",
           [&args](const std::string& v) {
               const auto n = k52::ParseUnsigned<unsigned>(v, kMaxCount);
               if (!n || *n < 1)
                   throw CLI::ValidationError("--count takes 1 to " + std::to_string(kMaxCount));
               args.count = static_cast<int>(*n);
           },
           "play N terminals, each on its own pseudo-terminal (paths printed\n"
           "one a line); output files get .1, .2, ... after their names")
        ->type_name("N");
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

std::int64_t NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One terminal on its pseudo-terminal: bytes from the host wait until their time on the line has passed,
// and replies leave once they would have gone through.
struct Terminal {
    struct Chunk {
        std::int64_t dueUs;
        std::vector<k52::u8> bytes;
        std::uint32_t speed;
    };
    explicit Terminal(const k52::PeerOptions& options) : peer(options) {}
    int master = -1;
    std::string path;
    k52::TerminalPeer peer;
    std::deque<Chunk> inbound, outbound;
    k52::LinePacer fromHost, toHost;
    std::optional<k52::AdapterHold> adapter;
    std::int64_t endedAtUs = -1;
    std::int64_t napUntilUs = 0;
    bool finished = false;
};

std::uint32_t LineSpeed(int master) {
    termios line{};
    return tcgetattr(master, &line) == 0 ? SpeedOf(cfgetospeed(&line)) : 0;
}

// Opens a pseudo-terminal in raw mode, so nothing is echoed or translated until the host sets it up.
bool OpenPty(Terminal& t) {
    t.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (t.master < 0 || grantpt(t.master) != 0 || unlockpt(t.master) != 0) {
        std::perror("k52peer: cannot create a pseudo-terminal");
        return false;
    }
    const char* slave = ptsname(t.master);
    if (slave == nullptr) {
        std::perror("k52peer: ptsname");
        return false;
    }
    t.path = slave;
    termios raw{};
    if (tcgetattr(t.master, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(t.master, TCSANOW, &raw);
    }
    fcntl(t.master, F_SETFL, fcntl(t.master, F_GETFL) | O_NONBLOCK);
    return true;
}

void Deliver(Terminal& t, const k52::u8* data, std::size_t size, std::uint32_t speed, std::int64_t atUs,
             bool pace) {
    k52::PeerLineState state;
    state.speed = speed;
    t.peer.Receive(data, size, state, atUs / 1000);
    for (k52::PeerEmission& e : t.peer.TakeOutput()) {
        const std::int64_t dueUs = std::max(atUs, e.dueMs * 1000);
        const std::uint32_t lineSpeed = pace ? LineSpeed(t.master) : 0;
        const std::int64_t readyUs = pace ? t.toHost.Pass(dueUs, e.bytes.size(), lineSpeed) : dueUs;
        if (!t.adapter) {
            t.outbound.push_back({readyUs, std::move(e.bytes), lineSpeed});
            continue;
        }
        std::size_t from = 0;
        for (const k52::AdapterHold::Piece& p : t.adapter->Pass(readyUs, e.bytes.size(), lineSpeed)) {
            const auto first = e.bytes.begin() + static_cast<std::ptrdiff_t>(from);
            t.outbound.push_back({p.atUs, {first, first + static_cast<std::ptrdiff_t>(p.bytes)}, lineSpeed});
            from += p.bytes;
        }
        // A filled packet takes the bytes held before it along.
        for (std::size_t i = t.outbound.size(); i-- > 1;)
            t.outbound[i - 1].dueUs = std::min(t.outbound[i - 1].dueUs, t.outbound[i].dueUs);
    }
}

// Moves what is due; returns when this terminal next needs attention (INT64_MAX: only on input).
std::int64_t Service(Terminal& t, std::int64_t nowUs, bool pace) {
    while (!t.inbound.empty() && t.inbound.front().dueUs <= nowUs) {
        Terminal::Chunk c = std::move(t.inbound.front());
        t.inbound.pop_front();
        Deliver(t, c.bytes.data(), c.bytes.size(), c.speed, c.dueUs, pace);
    }
    while (!t.outbound.empty() && t.outbound.front().dueUs <= nowUs) {
        WriteAll(t.master, t.outbound.front().bytes.data(), t.outbound.front().bytes.size());
        t.outbound.pop_front();
    }
    std::int64_t next = INT64_MAX;
    if (t.peer.ExchangeEnded() && t.outbound.empty() && t.inbound.empty()) {
        if (t.endedAtUs < 0) t.endedAtUs = nowUs;
        if (nowUs - t.endedAtUs >= kLingerMs * 1000) t.finished = true;
        next = t.endedAtUs + kLingerMs * 1000;
    } else {
        t.endedAtUs = -1;
    }
    if (!t.inbound.empty()) next = std::min(next, t.inbound.front().dueUs);
    if (!t.outbound.empty()) next = std::min(next, t.outbound.front().dueUs);
    if (t.napUntilUs > nowUs) next = std::min(next, t.napUntilUs);
    return next;
}

// Reads what the host wrote, or notices that it closed its side.
void ReadHost(Terminal& t, short revents, std::int64_t nowUs, bool pace) {
    bool hungUp = (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    if (revents & POLLIN) {
        k52::u8 buffer[4096];
        const ssize_t n = ::read(t.master, buffer, sizeof buffer);
        if (n <= 0 && !(n < 0 && (errno == EAGAIN || errno == EINTR))) hungUp = true;
        if (n > 0) {
            const auto size = static_cast<std::size_t>(n);
            const std::uint32_t speed = LineSpeed(t.master);
            if (pace)
                t.inbound.push_back({t.fromHost.Pass(nowUs, size, speed), {buffer, buffer + size}, speed});
            else
                Deliver(t, buffer, size, speed, nowUs, false);
            return;
        }
    }
    if (!hungUp) return;
    // The host closed its side. Once the exchange is over that is the end; otherwise wait for it to
    // come back (a retry), napping instead of polling a hung-up line in a loop.
    if (t.peer.ExchangeEnded() && t.outbound.empty() && t.inbound.empty()) {
        t.finished = true;
        return;
    }
    t.inbound.clear();
    t.outbound.clear();
    if (t.adapter) t.adapter->Drop();
    t.napUntilUs = nowUs + kHangupNapUs;
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
    // Paced replies are due to the microsecond; the kernel's default timer slack would blur that.
    if (args.pace || args.adapterLatencyMs > 0) prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

    std::vector<std::unique_ptr<Terminal>> terminals;
    for (int i = 0; i < args.count; ++i) {
        terminals.push_back(std::make_unique<Terminal>(args.options));
        if (args.adapterLatencyMs > 0) terminals.back()->adapter.emplace(args.adapterLatencyMs * 1000);
        if (!OpenPty(*terminals.back())) return kExitIncomplete;
    }
    for (const auto& t : terminals) std::cout << t->path << "\n";
    std::cout << std::flush;

    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::vector<pollfd> fds;
    std::vector<Terminal*> polled;
    while (!gStop) {
        std::int64_t nowUs = NowUs();
        std::int64_t next = INT64_MAX;
        fds.clear();
        polled.clear();
        for (const auto& t : terminals) {
            if (t->finished) continue;
            next = std::min(next, Service(*t, nowUs, args.pace));
            if (t->finished || t->napUntilUs > nowUs) continue;
            fds.push_back({t->master, POLLIN, 0});
            polled.push_back(t.get());
        }
        if (std::all_of(terminals.begin(), terminals.end(), [](const auto& t) { return t->finished; })) break;
        timespec wait{};
        const std::int64_t waitUs = std::max<std::int64_t>(0, next - nowUs);
        wait.tv_sec = static_cast<time_t>(waitUs / 1000000);
        wait.tv_nsec = static_cast<long>(waitUs % 1000000) * 1000;
        const int r = ppoll(fds.data(), fds.size(), next == INT64_MAX ? nullptr : &wait, nullptr);
        if (r < 0) {
            if (errno == EINTR) continue;
            std::perror("k52peer: poll");
            break;
        }
        nowUs = NowUs();
        for (std::size_t i = 0; i < fds.size() && r > 0; ++i)
            if (fds[i].revents != 0) ReadHost(*polled[i], fds[i].revents, nowUs, args.pace);
    }

    bool ok = true;
    for (std::size_t i = 0; i < terminals.size(); ++i) {
        const Terminal& t = *terminals[i];
        const std::string suffix = terminals.size() > 1 ? "." + std::to_string(i + 1) : "";
        const k52::PeerReport& report = t.peer.report();
        if (terminals.size() > 1) std::cout << t.path << ":\n";
        std::cout << report.Summary() << std::flush;
        ok = ok && t.peer.ExchangeEnded() && report.errors.empty();
        if (!args.imageOut.empty() && report.imageComplete &&
            !WriteFile(args.imageOut + suffix, report.image)) {
            std::cerr << "k52peer: cannot write " << args.imageOut << suffix << "\n";
            ok = false;
        }
        if (!args.lookupOut.empty() && report.lookupComplete) {
            std::vector<k52::u8> text;
            for (const auto& r : report.lookupRecords) {
                text.insert(text.end(), r.begin(), r.end());
                text.push_back('\r');
                text.push_back('\n');
            }
            if (!WriteFile(args.lookupOut + suffix, text)) {
                std::cerr << "k52peer: cannot write " << args.lookupOut << suffix << "\n";
                ok = false;
            }
        }
        ::close(t.master);
    }
    return ok ? kExitDone : kExitIncomplete;
}
