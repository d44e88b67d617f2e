// Terminals on pseudo-terminals: each master side opened raw, and the loop that plays them until their
// exchanges are over, their hosts have closed the lines, or the caller stops it.
#pragma once

#include <csignal>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "peer/PacedTerminal.h"

namespace k52 {

// The master side of a pseudo-terminal, raw and non-blocking, so nothing is echoed or translated until
// the host sets the line up. A pseudo-terminal has no modem lines; the speed the host chose is read back
// from it (on Linux, tcgetattr() on the master returns the settings of the slave side).
class PtyMaster : public PeerLineEnd {
  public:
    // Nullptr on failure, with the reason in `error`.
    static std::unique_ptr<PtyMaster> Open(std::string* error);
    ~PtyMaster() override;
    PtyMaster(const PtyMaster&) = delete;
    PtyMaster& operator=(const PtyMaster&) = delete;

    const std::string& path() const { return path_; }  // where the host opens the line
    int fd() const { return fd_; }
    std::uint32_t Speed() override;
    void Write(const u8* data, std::size_t size) override;
    void Close();

  private:
    explicit PtyMaster(int fd) : fd_(fd) {}
    int fd_;
    std::string path_;
};

struct PtyTerminal {
    PtyTerminal(std::unique_ptr<PtyMaster> master, const PeerOptions& options, bool pace,
                std::int64_t adapterLatencyUs)
        : pty(std::move(master)), terminal(options, *pty, pace, adapterLatencyUs) {}
    std::unique_ptr<PtyMaster> pty;
    PacedTerminal terminal;
};

// Plays every terminal until each has finished or `stop` is set. False when waiting failed, with the
// reason in `error`.
bool RunPtyLoop(std::vector<std::unique_ptr<PtyTerminal>>& terminals, const volatile std::sig_atomic_t& stop,
                std::string* error);

}  // namespace k52
