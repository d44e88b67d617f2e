// An in-memory line on a virtual clock, for tests: the host's writes reach a LinePeer at once and its
// answers arrive when due, so waits cost no real time and every run is the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "line/SerialLine.h"
#include "peer/LinePeer.h"
#include "support/VirtualClock.h"

namespace k52 {

// Everything the host did on the lines that a MemoryLineFactory opened.
struct MemoryLineLog {
    struct Write {
        std::int64_t atMs = 0;
        LineSettings settings;  // in force when written
        std::vector<u8> bytes;
    };
    struct Applied {
        std::int64_t atMs = 0;
        LineSettings settings;
    };
    std::vector<int> opened;  // port indices
    std::vector<Write> writes;
    std::vector<Applied> applied;
    int discards = 0;
    int closes = 0;
    int waits = 0;  // calls of WaitForInput

    std::vector<u8> AllWritten() const;
};

class MemoryLine : public SerialLine {
  public:
    MemoryLine(VirtualClock& clock, LinePeer* peer, MemoryLineLog& log);
    bool Apply(const LineSettings& settings) override;
    bool Write(const u8* data, std::size_t size) override;
    std::size_t Read(u8* buffer, std::size_t capacity) override;
    bool WaitForInput(std::int64_t timeoutMs) override;
    void DiscardInput() override;
    void Close() override;
    bool HungUp() const override { return hungUp_; }

    // Puts bytes on the line from the far end, arriving at `dueMs`.
    void Deliver(std::int64_t dueMs, std::vector<u8> bytes);

    bool refuseApply = false;
    bool failWrites = false;
    int hangUpAfterWrites = -1;  // the cable comes out after this many writes; -1 never

  private:
    struct Pending {
        std::int64_t dueMs;
        u8 byte;
    };
    void Collect();

    VirtualClock& clock_;
    LinePeer* peer_;
    MemoryLineLog& log_;
    LineSettings settings_{};
    std::deque<Pending> inbound_;  // ordered by due time
    bool open_ = true;
    bool hungUp_ = false;
    int writes_ = 0;
};

class MemoryLineFactory : public LineFactory {
  public:
    MemoryLineFactory(VirtualClock& clock, LinePeer* peer) : clock_(clock), peer_(peer) {}
    std::unique_ptr<SerialLine> OpenPort(int comPort, std::string* error = nullptr) override;

    MemoryLineLog log;
    bool refuseOpen = false;
    bool refuseApply = false;
    bool failWrites = false;
    int hangUpAfterWrites = -1;

  private:
    VirtualClock& clock_;
    LinePeer* peer_;
};

}  // namespace k52
