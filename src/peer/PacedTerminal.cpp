// The emulated terminal's timing on its line: two queues, one a direction, moved when their bytes are due.
#include "peer/PacedTerminal.h"

#include <algorithm>

namespace k52 {
namespace {

// After the exchange, wait this long for the host to close its side before leaving on our own.
constexpr std::int64_t kLingerUs = 10000 * 1000;
constexpr std::int64_t kHangupNapUs = 50000;

}  // namespace

PacedTerminal::PacedTerminal(const PeerOptions& options, PeerLineEnd& line, bool pace,
                             std::int64_t adapterLatencyUs)
    : peer_(options), line_(line), pace_(pace) {
    if (adapterLatencyUs > 0) adapter_.emplace(adapterLatencyUs);
}

void PacedTerminal::FromHost(const u8* data, std::size_t size, std::int64_t nowUs) {
    const std::uint32_t speed = line_.Speed();
    if (pace_)
        inbound_.push_back({fromHost_.Pass(nowUs, size, speed), {data, data + size}, speed});
    else
        Deliver(data, size, speed, nowUs);
}

void PacedTerminal::Deliver(const u8* data, std::size_t size, std::uint32_t speed, std::int64_t atUs) {
    PeerLineState state;
    state.speed = speed;
    peer_.Receive(data, size, state, atUs / 1000);
    for (PeerEmission& e : peer_.TakeOutput()) {
        const std::int64_t dueUs = std::max(atUs, e.dueMs * 1000);
        const std::uint32_t lineSpeed = pace_ ? line_.Speed() : 0;
        const std::int64_t readyUs = pace_ ? toHost_.Pass(dueUs, e.bytes.size(), lineSpeed) : dueUs;
        if (adapter_)
            ThroughAdapter(std::move(e.bytes), readyUs, lineSpeed);
        else
            outbound_.push_back({readyUs, std::move(e.bytes), lineSpeed});
    }
}

void PacedTerminal::ThroughAdapter(std::vector<u8> bytes, std::int64_t readyUs, std::uint32_t lineSpeed) {
    std::size_t from = 0;
    for (const AdapterHold::Piece& p : adapter_->Pass(readyUs, bytes.size(), lineSpeed)) {
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(from);
        outbound_.push_back({p.atUs, {first, first + static_cast<std::ptrdiff_t>(p.bytes)}, lineSpeed});
        from += p.bytes;
    }
    // A filled packet takes the bytes held before it along.
    for (std::size_t i = outbound_.size(); i-- > 1;)
        outbound_[i - 1].dueUs = std::min(outbound_[i - 1].dueUs, outbound_[i].dueUs);
}

bool PacedTerminal::Quiet() const {
    return peer_.ExchangeEnded() && outbound_.empty() && inbound_.empty();
}

void PacedTerminal::HostHungUp(std::int64_t nowUs) {
    if (Quiet()) {
        finished_ = true;
        return;
    }
    inbound_.clear();
    outbound_.clear();
    if (adapter_) adapter_->Drop();
    napUntilUs_ = nowUs + kHangupNapUs;
}

std::int64_t PacedTerminal::Service(std::int64_t nowUs) {
    while (!inbound_.empty() && inbound_.front().dueUs <= nowUs) {
        Chunk c = std::move(inbound_.front());
        inbound_.pop_front();
        Deliver(c.bytes.data(), c.bytes.size(), c.speed, c.dueUs);
    }
    while (!outbound_.empty() && outbound_.front().dueUs <= nowUs) {
        line_.Write(outbound_.front().bytes.data(), outbound_.front().bytes.size());
        outbound_.pop_front();
    }
    std::int64_t next = INT64_MAX;
    if (Quiet()) {
        if (endedAtUs_ < 0) endedAtUs_ = nowUs;
        if (nowUs - endedAtUs_ >= kLingerUs) finished_ = true;
        next = endedAtUs_ + kLingerUs;
    } else {
        endedAtUs_ = -1;
    }
    if (!inbound_.empty()) next = std::min(next, inbound_.front().dueUs);
    if (!outbound_.empty()) next = std::min(next, outbound_.front().dueUs);
    if (napUntilUs_ > nowUs) next = std::min(next, napUntilUs_);
    return next;
}

}  // namespace k52
