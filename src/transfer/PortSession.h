// One command's time on the serial port: opening it, the terminal's line settings, the infrared
// cradle's preparation and probe, and the reads, writes and waits the transfers build on.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "line/Clock.h"
#include "line/SerialLine.h"
#include "transfer/TransferObserver.h"
#include "transfer/TransferRequest.h"

namespace k52 {

constexpr std::int64_t kPauseMs = 100;
// Every wait is cut into slices this long, so that a stop is noticed at once.
constexpr std::int64_t kWaitSliceMs = 50;

class PortSession {
  public:
    // `settings` is the process-wide line record; it outlives the session. `progress` keeps where the
    // transfer stands (with the bytes this session moved) for whoever reports its end. Once `stop` is
    // set, waits and pauses end at once.
    PortSession(LineSettings& settings, LineFactory& lines, Clock& clock, TransferObserver& observer,
                TransferProgress& progress, const StopFlag* stop = nullptr,
                std::int64_t waitSliceMs = kWaitSliceMs);
    ~PortSession();
    PortSession(const PortSession&) = delete;
    PortSession& operator=(const PortSession&) = delete;

    // Opens the port; false with the system's reason (permission, busy, not connected) in `reason`.
    bool Open(int comPort, std::string* reason);
    // The device the port opened (or would have), as a person knows it.
    const std::string& device() const { return device_; }
    // The terminal talks 8N1 at the speed of `baudRate` (left alone when out of range).
    void UseTerminalLine(int baudRate);
    bool Apply();
    // Finds the cradle at one of the probe speeds and switches it to `baudRate`; false when none answered.
    bool PrepareCradle(int baudRate);
    void Close(bool discardInput);

    void Write(const u8* data, std::size_t size);
    void Write(std::string_view text);
    // What has arrived, at once; possibly nothing.
    std::size_t Read(u8* buffer, std::size_t capacity);
    // Waits until a byte can be read or the clock reaches `deadlineMs`.
    bool WaitForInputUntil(std::int64_t deadlineMs);
    // The device went away during the exchange and everything it sent has been read: every wait from now
    // on would be for nothing.
    bool HungUp() const { return port_ && nextByte_ == readEnd_ && port_->HungUp(); }
    // The front end asked the transfer to end at its next safe point.
    bool StopRequested() const { return stop_ && stop_->load(); }
    void SleepFor(std::int64_t ms);
    void DiscardInput();
    std::int64_t NowMs() { return clock_.NowMs(); }
    // Tells the observer where the transfer stands now; `percent` is the progress bar while sending.
    void Report(TransferPhase phase, int done = 0, int total = 0, int percent = -1);
    void Tell(Notice notice);

  private:
    bool ProbeCradle(std::uint32_t speed);

    LineSettings& settings_;
    LineFactory& lines_;
    Clock& clock_;
    TransferObserver& observer_;
    TransferProgress& progress_;
    std::string device_;
    const StopFlag* stop_;
    std::int64_t waitSliceMs_;
    std::unique_ptr<SerialLine> port_;
    // What the line had ready beyond the bytes asked for: the protocols read a byte at a time, and one
    // system call per byte would add to every reply's turnaround.
    std::array<u8, 512> readAhead_{};
    std::size_t nextByte_ = 0, readEnd_ = 0;  // the next byte to hand out, and the end of what was read
};

}  // namespace k52
