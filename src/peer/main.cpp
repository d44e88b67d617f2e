// k52peer: plays the terminal, and the infrared cradle in front of it, on pseudo-terminals. This file
// only wires the pieces: the command line, the pseudo-terminals and their loop, and the results.
#include <sys/prctl.h>

#include <csignal>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "peer/PeerCommandLine.h"
#include "peer/PeerResults.h"
#include "peer/PtyLoop.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) {
    gStop = 1;
}

void CatchSignals() {
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
    const k52::PeerCommand command = k52::ParsePeerCommandLine(argc, argv);
    std::cout << command.out;
    std::cerr << command.err;
    if (!command.play) return command.exitCode;
    const k52::PeerArguments& args = *command.play;
    // Paced replies are due to the microsecond; the kernel's default timer slack would blur that.
    if (args.pace || args.adapterLatencyMs > 0) prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

    std::vector<std::unique_ptr<k52::PtyTerminal>> terminals;
    for (int i = 0; i < args.count; ++i) {
        std::string error;
        auto pty = k52::PtyMaster::Open(&error);
        if (!pty) {
            std::cerr << "k52peer: " << error << "\n";
            return k52::kPeerExitIncomplete;
        }
        terminals.push_back(std::make_unique<k52::PtyTerminal>(std::move(pty), args.options, args.pace,
                                                               args.adapterLatencyMs * 1000));
    }
    for (const auto& t : terminals) std::cout << t->pty->path() << "\n";
    std::cout << std::flush;

    CatchSignals();
    std::string error;
    if (!k52::RunPtyLoop(terminals, gStop, &error)) std::cerr << "k52peer: " << error << "\n";

    bool ok = true;
    for (std::size_t i = 0; i < terminals.size(); ++i) {
        k52::PtyTerminal& t = *terminals[i];
        const k52::PeerResult result =
            k52::FinishTerminal(t.terminal.peer(), t.pty->path(), i, terminals.size(), args);
        std::cout << result.out << std::flush;
        std::cerr << result.err;
        ok = ok && result.ok;
        t.pty->Close();
    }
    return ok ? k52::kPeerExitDone : k52::kPeerExitIncomplete;
}
