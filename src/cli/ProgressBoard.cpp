// Drawing the transfers' progress lines, in the user's language: throttled redraws in place, or plain lines.
#include "cli/ProgressBoard.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "cli/CliSupport.h"
#include "i18n/Translate.h"
#include "util/Printable.h"

namespace k52::cli {
namespace {

constexpr int kBarWidth = 20;
// Back to the start of the first live line, then clear from there to the end of the screen.
constexpr char kCursorUp[] = "\x1b[";
constexpr char kEraseBelow[] = "\x1b[J";

std::string Rate(std::int64_t bytes, std::int64_t ms) {
    char text[32];
    const double perSecond = ms > 0 ? static_cast<double>(bytes) * 1000.0 / static_cast<double>(ms) : 0.0;
    if (perSecond >= 1000)
        std::snprintf(text, sizeof text, "%.1f kB/s", perSecond / 1000);
    else
        std::snprintf(text, sizeof text, "%.0f B/s", perSecond);
    return text;
}

}  // namespace

std::string PhaseText(const TransferProgress& p, std::string_view why) {
    const std::string done = std::to_string(p.done), total = std::to_string(p.total);
    switch (p.phase) {
        case TransferPhase::CradleProbe:
            return Localize("cradle probe");
        case TransferPhase::Handshake:
            return Localize("handshake");
        case TransferPhase::SendingPacket:
            return Localize("sending packet %1/%2", {done, total});
        case TransferPhase::SendingRecord:
            return Localize("sending record %1/%2", {done, total});
        case TransferPhase::Receiving:
            return p.done == 1 ? Localize("receiving: %1 record", {done})
                               : Localize("receiving: %1 records", {done});
        case TransferPhase::Closing:
            return Localize("closing the port");
        case TransferPhase::Done:
            return Localize("done");
        case TransferPhase::Failed:
            return why.empty() ? Localize("failed") : Localize("failed: %1", {Localize(why)});
    }
    return "";
}

ProgressBoard::ProgressBoard(std::ostream& out, ProgressMode mode, std::vector<std::string> devices,
                             bool prefixMessages, NowMs now)
    : out_(out), mode_(mode), prefixMessages_(prefixMessages), now_(std::move(now)) {
    // A device name may hold a newline or bytes that are no UTF-8: shown escaped, a line stays a line.
    for (std::string& d : devices) rows_.push_back({PrintableBytes(d), false, {}, {}, 0, -1});
}

std::string ProgressBoard::LiveText(std::size_t row, std::int64_t nowMs) const {
    const Row& r = rows_[row];
    if (!r.started) return r.device + "  " + Localize("waiting");
    std::string line = r.device + "  " + PhaseText(r.progress, r.why);
    if (r.progress.total > 0) {
        const int percent = static_cast<int>(
            std::min<std::int64_t>(100, std::int64_t{r.progress.done} * 100 / r.progress.total));
        const int filled = percent * kBarWidth / 100;
        line += "  [" + std::string(static_cast<std::size_t>(filled), '#') +
                std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] " +
                std::to_string(percent) + "%";
    }
    const std::int64_t until = r.endMs >= 0 ? r.endMs : nowMs;
    line += "  " + Rate(r.progress.bytesSent + r.progress.bytesReceived, until - r.startMs);
    return line;
}

void ProgressBoard::Update(std::size_t row, const TransferProgress& progress, std::string_view why) {
    if (mode_ == ProgressMode::Quiet || row >= rows_.size()) return;
    std::lock_guard<std::mutex> lock(mutex_);
    const std::int64_t now = now_();
    Row& r = rows_[row];
    const bool phaseChanged = !r.started || r.progress.phase != progress.phase;
    if (!r.started) r.startMs = now;
    r.started = true;
    r.progress = progress;
    r.why = why;
    const bool ended = progress.phase == TransferPhase::Done || progress.phase == TransferPhase::Failed;
    if (ended) r.endMs = now;
    if (mode_ == ProgressMode::Plain) {
        if (phaseChanged) {
            out_ << r.device << ": " << PhaseText(progress, why);
            if (ended)
                out_ << Localize(" (%1 bytes)",
                                 {std::to_string(progress.bytesSent + progress.bytesReceived)});
            out_ << "\n" << std::flush;
        }
        return;
    }
    dirty_ = true;
    if (redraw_.Due(now)) Redraw(now);
}

void ProgressBoard::Tick() {
    if (mode_ != ProgressMode::Live) return;
    std::lock_guard<std::mutex> lock(mutex_);
    const std::int64_t now = now_();
    if (dirty_ && redraw_.Due(now)) Redraw(now);
}

void ProgressBoard::Message(std::size_t row, std::string_view line) {
    std::lock_guard<std::mutex> lock(mutex_);
    EraseLive();
    if (prefixMessages_ && row < rows_.size()) out_ << rows_[row].device << ": ";
    out_ << line << "\n";
    if (drawnOnce_) Redraw(now_());
    out_ << std::flush;
}

void ProgressBoard::Finish() {
    if (mode_ != ProgressMode::Live) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (drawnOnce_) Redraw(now_());
}

void ProgressBoard::EraseLive() {
    if (mode_ != ProgressMode::Live || drawnLines_ == 0) return;
    out_ << "\r" << kCursorUp << drawnLines_ << "A" << kEraseBelow;
    drawnLines_ = 0;
}

void ProgressBoard::Redraw(std::int64_t nowMs) {
    EraseLive();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        std::string line = LiveText(i, nowMs);
        if (width_ > 1) line = CutToWidth(line, width_ - 1);
        out_ << line << "\n";
    }
    out_ << std::flush;
    drawnLines_ = rows_.size();
    drawnOnce_ = true;
    redraw_.Mark(nowMs);
    dirty_ = false;
}

}  // namespace k52::cli
