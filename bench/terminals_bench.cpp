// The Terminals window's jobs against paced terminals: eight downloading at once against one alone (wall
// time), and the longest the window's thread went without handling an event while they ran.
//
//   terminals_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "BenchPeers.h"
#include "shell/TerminalsWindow.h"
#include "template/Defaults.h"

namespace {

using namespace k52;

// The terminals as adapters that no COMn names, so that more than six can be had.
struct Adapters : PortScanner {
    std::vector<DiscoveredPort> ports;
    std::vector<DiscoveredPort> Scan() override { return ports; }
};

struct Figures {
    double wall = 0;
    qint64 longestStallMs = 0;
    int done = 0;
};

Figures Download(int count, const ApplicationTemplate& t) {
    bench::Peers peers = bench::StartPeers({"--pace", "--count", std::to_string(count)}, count);
    Adapters scanner;
    for (const std::string& path : peers.paths) {
        DiscoveredPort p;
        p.device = path;
        p.description = "bench";
        p.transport = PortTransport::Usb;
        scanner.ports.push_back(p);
    }
    TerminalsServices services;
    services.scanner = &scanner;
    Figures f;
    {
        TerminalsWindow window(t, services, nullptr);
        window.show();
        window.CheckAll();
        // A timer due every millisecond: the gaps between its ticks are the thread's stalls.
        QElapsedTimer sinceTick;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { f.longestStallMs = std::max(f.longestStallMs, sinceTick.restart()); });
        QEventLoop loop;
        QObject::connect(&window, &TerminalsWindow::allEnded, &loop, &QEventLoop::quit);
        QElapsedTimer wall;
        wall.start();
        sinceTick.start();
        ticker.start(1);
        window.DownloadProgram();
        loop.exec();
        f.wall = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        f.done = window.rack().Summary().done;
    }
    bench::StopPeers(peers);
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const ApplicationTemplate t = StartupTemplate();  // COM1 at 115200 bit/s

    const Figures one = Download(1, t);
    const Figures eight = Download(8, t);
    std::printf("program download over paced k52peer terminals at 115200 bit/s\n");
    std::printf("  1 terminal : %6.2f s wall, %d done, longest GUI stall %lld ms\n", one.wall, one.done,
                static_cast<long long>(one.longestStallMs));
    std::printf("  8 terminals: %6.2f s wall, %d done, longest GUI stall %lld ms\n", eight.wall, eight.done,
                static_cast<long long>(eight.longestStallMs));
    std::printf("  8 against 1: %.2f x (goal at most 1.1 x); stall goal under 50 ms\n",
                eight.wall / one.wall);
    return 0;
}
