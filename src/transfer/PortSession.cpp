// The port, its line settings and the infrared cradle for one command.
#include "transfer/PortSession.h"

#include <algorithm>
#include <cstring>

#include "protocol/LineSpeeds.h"
#include "protocol/Protocol.h"

namespace k52 {

namespace {
constexpr std::uint32_t kProbeSpeeds[] = {9600, 115200, 38400, 57600, 19200};
constexpr std::uint32_t kIrPrepareSpeed = 38400;
}  // namespace

PortSession::PortSession(LineSettings& settings, LineFactory& lines, Clock& clock, TransferObserver& observer,
                         TransferProgress& progress, const StopFlag* stop, std::int64_t waitSliceMs)
    : settings_(settings),
      lines_(lines),
      clock_(clock),
      observer_(observer),
      progress_(progress),
      stop_(stop),
      waitSliceMs_(waitSliceMs) {}

PortSession::~PortSession() {
    Close(false);
}

bool PortSession::Open(int comPort, std::string* reason) {
    device_ = lines_.DeviceName(comPort);
    port_ = lines_.OpenPort(comPort, reason);
    return port_ != nullptr;
}

void PortSession::UseTerminalLine(int baudRate) {
    if (auto speed = SpeedOfBaudRate(baudRate)) settings_.speed = *speed;
    settings_.dataBits = 8;
    settings_.parity = false;
    settings_.stopBits = 1;
}

bool PortSession::Apply() {
    return port_ && port_->Apply(settings_);
}

void PortSession::Close(bool discardInput) {
    if (!port_) return;
    if (discardInput) DiscardInput();
    nextByte_ = readEnd_ = 0;
    port_->Close();
    port_.reset();
}

void PortSession::Write(const u8* data, std::size_t size) {
    if (!port_) return;
    port_->Write(data, size);
    progress_.bytesSent += static_cast<std::int64_t>(size);
}

void PortSession::Write(std::string_view text) {
    Write(reinterpret_cast<const u8*>(text.data()), text.size());
}

std::size_t PortSession::Read(u8* buffer, std::size_t capacity) {
    if (!port_ || capacity == 0) return 0;
    if (nextByte_ == readEnd_) {
        nextByte_ = 0;
        readEnd_ = port_->Read(readAhead_.data(), readAhead_.size());
    }
    const std::size_t n = std::min(capacity, readEnd_ - nextByte_);
    if (n > 0) std::memcpy(buffer, readAhead_.data() + nextByte_, n);
    nextByte_ += n;
    progress_.bytesReceived += static_cast<std::int64_t>(n);
    return n;
}

void PortSession::Report(TransferPhase phase, int done, int total, int percent) {
    progress_.phase = phase;
    progress_.done = done;
    progress_.total = total;
    progress_.percent = percent;
    observer_.OnProgress(progress_);
}

void PortSession::Tell(Notice notice) {
    if (notice.device.empty()) notice.device = device_;
    observer_.OnNotice(notice);
}

bool PortSession::WaitForInputUntil(std::int64_t deadlineMs) {
    for (;;) {
        const std::int64_t now = clock_.NowMs();
        if (now >= deadlineMs || !port_ || HungUp() || StopRequested()) return false;
        if (nextByte_ < readEnd_) return true;
        if (port_->WaitForInput(std::min(deadlineMs - now, waitSliceMs_))) return true;
    }
}

void PortSession::SleepFor(std::int64_t ms) {
    SleepUnlessStopped(clock_, ms, stop_, waitSliceMs_);
}

void PortSession::DiscardInput() {
    nextByte_ = readEnd_ = 0;
    if (port_) port_->DiscardInput();
}

bool PortSession::PrepareCradle(int baudRate) {
    Report(TransferPhase::CradleProbe);
    settings_.speed = kIrPrepareSpeed;
    settings_.dataBits = 8;
    settings_.parity = false;
    settings_.stopBits = 1;
    settings_.dtr = true;
    settings_.rts = true;
    Apply();
    SleepFor(kPauseMs);
    if (std::none_of(std::begin(kProbeSpeeds), std::end(kProbeSpeeds),
                     [&](std::uint32_t speed) { return ProbeCradle(speed); }))
        return false;
    // With RTS off the cradle listens to commands: attention, the speed, quit.
    settings_.rts = false;
    Apply();
    SleepFor(kPauseMs);
    const u8 attention = kCradleAttention;
    Write(&attention, 1);
    SleepFor(kPauseMs);
    const u8 command = CradleSpeedCommand(baudRate);
    if (auto speed = SpeedOfBaudRate(baudRate)) settings_.speed = *speed;
    Write(&command, 1);
    SleepFor(kPauseMs);
    const u8 quit = kCradleQuit;
    Write(&quit, 1);
    SleepFor(kPauseMs);
    settings_.rts = true;
    Apply();
    SleepFor(kPauseMs);
    settings_.parity = false;
    settings_.dataBits = 8;
    settings_.ctsOutputFlow = false;
    settings_.xonXoffOutput = false;
    return true;
}

bool PortSession::ProbeCradle(std::uint32_t speed) {
    settings_.speed = speed;
    settings_.rts = false;
    Apply();
    SleepFor(kPauseMs);
    const u8 probe = kCradleProbe;
    Write(&probe, 1);
    SleepFor(kPauseMs);
    bool echoed = false;
    const std::int64_t deadline = clock_.NowMs() + kPauseMs;
    for (;;) {
        // The first byte decides.
        u8 b = 0;
        if (Read(&b, 1) == 1) {
            echoed = b == kCradleProbe;
            break;
        }
        if (clock_.NowMs() >= deadline) break;
        WaitForInputUntil(deadline);
    }
    settings_.rts = true;
    Apply();
    SleepFor(kPauseMs);
    return echoed;
}

}  // namespace k52
