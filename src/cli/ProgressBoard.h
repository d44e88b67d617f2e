// k52cli's live view of its transfers on standard error: one redrawn line per terminal on a terminal
// screen, one plain line per phase change elsewhere, or nothing; message lines go above it either way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/ProgressThrottle.h"
#include "transfer/TransferProgress.h"

namespace k52::cli {

enum class ProgressMode {
    Live,   // a screen: lines redrawn in place, at most ten times a second
    Plain,  // a file or pipe: a line when a phase changes, no control characters
    Quiet,  // messages only
};

// A screen's lines are redrawn at most this often.
inline constexpr std::int64_t kRedrawMs = 100;

class ProgressBoard {
  public:
    using NowMs = std::function<std::int64_t()>;
    // One row per device, in this order. `prefixMessages` puts "DEVICE: " before message lines.
    ProgressBoard(std::ostream& out, ProgressMode mode, std::vector<std::string> devices, bool prefixMessages,
                  NowMs now);

    // Safe to call from each terminal's thread.
    void Update(std::size_t row, const TransferProgress& progress, std::string_view why = {});
    // Redraws what changed once the redraw is due; called while transfers wait.
    void Tick();
    // A message box's line ("TITLE: TEXT"), shown in every mode.
    void Message(std::size_t row, std::string_view line);
    // Draws the last state of every row, so the screen ends showing how each transfer ended.
    void Finish();
    // Live lines longer than this are cut, so that none wraps and the redraw stays in place (0: no limit).
    void setWidth(std::size_t columns) { width_ = columns; }

  private:
    // The line for a row as drawn live (without control characters).
    std::string LiveText(std::size_t row, std::int64_t nowMs) const;
    struct Row {
        std::string device;
        bool started = false;
        TransferProgress progress;
        std::string why;
        std::int64_t startMs = 0;
        std::int64_t endMs = -1;
    };
    void Redraw(std::int64_t nowMs);
    void EraseLive();

    std::ostream& out_;
    const ProgressMode mode_;
    const bool prefixMessages_;
    NowMs now_;
    std::mutex mutex_;
    std::vector<Row> rows_;
    std::size_t drawnLines_ = 0;
    ProgressThrottle redraw_{kRedrawMs};
    bool drawnOnce_ = false;
    bool dirty_ = false;
    std::size_t width_ = 0;
};

// The phase in words, in the user's language: "handshake", "sending packet 57/105", "receiving: 3 records",
// "failed: no-reply" (the failure code `why` in words too).
std::string PhaseText(const TransferProgress& progress, std::string_view why = {});

}  // namespace k52::cli
