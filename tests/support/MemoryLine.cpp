// The in-memory line: host writes handed to the peer, the peer's bytes delivered when due.
#include "support/MemoryLine.h"

#include <algorithm>

namespace k52 {

std::vector<u8> MemoryLineLog::AllWritten() const {
    std::vector<u8> all;
    for (const Write& w : writes) all.insert(all.end(), w.bytes.begin(), w.bytes.end());
    return all;
}

MemoryLine::MemoryLine(VirtualClock& clock, LinePeer* peer, MemoryLineLog& log)
    : clock_(clock), peer_(peer), log_(log) {}

bool MemoryLine::Apply(const LineSettings& settings) {
    if (!open_ || refuseApply) return false;
    settings_ = settings;
    log_.applied.push_back({clock_.NowMs(), settings});
    return true;
}

bool MemoryLine::Write(const u8* data, std::size_t size) {
    if (!open_) return false;
    log_.writes.push_back({clock_.NowMs(), settings_, std::vector<u8>(data, data + size)});
    if (hangUpAfterWrites >= 0 && ++writes_ > hangUpAfterWrites) hungUp_ = true;
    if (failWrites || hungUp_) return false;
    if (peer_ != nullptr) {
        PeerLineState state{settings_.speed, true, settings_.dtr, settings_.rts};
        peer_->Receive(data, size, state, clock_.NowMs());
        Collect();
    }
    return true;
}

void MemoryLine::Collect() {
    for (PeerEmission& e : peer_->TakeOutput()) Deliver(e.dueMs, std::move(e.bytes));
}

void MemoryLine::Deliver(std::int64_t dueMs, std::vector<u8> bytes) {
    // Keep arrival order: bytes due at the same time as earlier ones come after them.
    auto at = std::upper_bound(inbound_.begin(), inbound_.end(), dueMs,
                               [](std::int64_t due, const Pending& p) { return due < p.dueMs; });
    std::vector<Pending> items;
    items.reserve(bytes.size());
    for (u8 b : bytes) items.push_back({dueMs, b});
    inbound_.insert(at, items.begin(), items.end());
}

std::size_t MemoryLine::Read(u8* buffer, std::size_t capacity) {
    std::size_t n = 0;
    if (hungUp_) return 0;
    const std::int64_t now = clock_.NowMs();
    while (n < capacity && !inbound_.empty() && inbound_.front().dueMs <= now) {
        buffer[n++] = inbound_.front().byte;
        inbound_.pop_front();
    }
    return n;
}

bool MemoryLine::WaitForInput(std::int64_t timeoutMs) {
    ++log_.waits;
    if (hungUp_) return false;  // as poll() reports POLLHUP at once
    const std::int64_t until = clock_.NowMs() + std::max<std::int64_t>(timeoutMs, 0);
    if (!inbound_.empty() && inbound_.front().dueMs <= until) {
        clock_.AdvanceTo(inbound_.front().dueMs);
        return true;
    }
    clock_.AdvanceTo(until);
    return false;
}

void MemoryLine::DiscardInput() {
    ++log_.discards;
    const std::int64_t now = clock_.NowMs();
    while (!inbound_.empty() && inbound_.front().dueMs <= now) inbound_.pop_front();
}

void MemoryLine::Close() {
    if (!open_) return;
    open_ = false;
    ++log_.closes;
}

std::unique_ptr<SerialLine> MemoryLineFactory::OpenPort(int comPort, std::string* error) {
    if (refuseOpen) {
        if (error) *error = ComPortName(comPort) + ": refused";
        return nullptr;
    }
    log.opened.push_back(comPort);
    auto line = std::make_unique<MemoryLine>(clock_, peer_, log);
    line->refuseApply = refuseApply;
    line->failWrites = failWrites;
    line->hangUpAfterWrites = hangUpAfterWrites;
    return line;
}

}  // namespace k52
