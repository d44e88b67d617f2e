#include "link/TerminalLink.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "link/Protocol.h"

namespace k52 {

namespace link_text {

std::string ReceiveDone(int count) {
    return "完成 : 共接收 " + std::to_string(count) + " 筆資料. \n立即瀏覽接收到的資料嗎??";
}

std::string BadPortSettings(int comPort, int baudRate) {
    return "傳輸埠設定無效 (連接埠代碼 " + std::to_string(comPort) + ", 速率代碼 " +
           std::to_string(baudRate) + "), 請重新設定傳輸埠!!";
}

std::string LookupRecordTooLong(long line) {
    return "檔案第 " + std::to_string(line) + " 行的資料超過 253 個位元組, 無法下載!!";
}

std::string ReceiveInterrupted(int kept) {
    return "接收中斷, 已接收的 " + std::to_string(kept) + " 筆資料已保存在檔案中.";
}

std::string DataFileWriteFailed(int kept) {
    if (kept <= 0) return "寫入檔案失敗!!";
    return "寫入檔案失敗!! 先前接收的 " + std::to_string(kept) + " 筆資料已保存在檔案中.";
}

}  // namespace link_text

namespace {

using namespace link_text;

constexpr std::uint32_t kProbeSpeeds[] = {9600, 115200, 38400, 57600, 19200};
constexpr std::uint32_t kIrPrepareSpeed = 38400;
constexpr int kHandshakeTries = 3;
constexpr int kPacketSends = 4;
constexpr std::size_t kReplyStop = 10;
constexpr std::size_t kRequestReplyKeep = 10;
constexpr int kSilentRequestsBeforeGivingUp = 3;
constexpr int kWrongRequestsBeforeGivingUp = 5;
constexpr int kEmptyWindowsBeforeGivingUp = 10;
constexpr std::size_t kLookupReadChunk = 128;

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

TerminalLink::TerminalLink(ApplicationTemplate& tmpl, LineFactory& lines, Clock& clock, TransferUi& ui)
    : tmpl_(tmpl), lines_(lines), clock_(clock), ui_(ui) {}

TerminalLink::~TerminalLink() {
    ClosePort(false);
    CloseFd(lookupFd_);
    CloseFd(dataFd_);
}

// ---- Line and time ----

bool TerminalLink::PortSettingsValid() {
    const PortSettings& p = tmpl_.portSettings;
    if (p.comPort < kComPortCount && p.baudRate < kBaudRateCount) return true;
    ui_.ShowMessage(BadPortSettings(p.comPort, p.baudRate), kErrorTitle, MessageIcon::Exclamation,
                    MessageButtons::Ok);
    outcome_.failure = LinkFailure::BadPortSettings;
    return false;
}

bool TerminalLink::Apply() {
    return port_ && port_->Apply(lineSettings_);
}

void TerminalLink::Write(const u8* data, std::size_t size) {
    if (port_) port_->Write(data, size);
}

void TerminalLink::Write(std::string_view text) {
    Write(reinterpret_cast<const u8*>(text.data()), text.size());
}

bool TerminalLink::WaitForInputUntil(std::int64_t deadlineMs) {
    for (;;) {
        const std::int64_t now = clock_.NowMs();
        if (now >= deadlineMs || !port_) return false;
        if (port_->WaitForInput(std::min(deadlineMs - now, kIdleSliceMs))) return true;
        ui_.Idle();
    }
}

void TerminalLink::SleepFor(std::int64_t ms) {
    const std::int64_t until = clock_.NowMs() + ms;
    for (std::int64_t now = clock_.NowMs(); now < until; now = clock_.NowMs()) {
        clock_.SleepUntil(std::min(until, now + kIdleSliceMs));
        ui_.Idle();
    }
}

void TerminalLink::Pause100() {
    SleepFor(kPauseMs);
}

void TerminalLink::ClosePort(bool discardInput) {
    if (!port_) return;
    if (discardInput) port_->DiscardInput();
    port_->Close();
    port_.reset();
}

// ---- Opening the port and the infrared cradle ----

// The terminal talks 8N1 at the template's speed.
void TerminalLink::UseTerminalLine() {
    if (auto speed = SpeedOfBaudRate(tmpl_.portSettings.baudRate)) lineSettings_.speed = *speed;
    lineSettings_.dataBits = 8;
    lineSettings_.parity = false;
    lineSettings_.stopBits = 1;
}

int TerminalLink::OpenDownloadPort(bool irMode) {
    port_ = lines_.OpenPort(tmpl_.portSettings.comPort);
    if (!port_) {
        ui_.ShowMessage(kPortOpenFailed, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        outcome_.failure = LinkFailure::PortOpen;
        return -1;
    }
    // The driver's queue sizes are the host's business here.
    UseTerminalLine();
    if (irMode && !PrepareIrTransceiver()) {
        ui_.ShowMessage(kIrSetupFailed, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        ClosePort(false);
        outcome_.failure = LinkFailure::IrPreparation;
        return -1;
    }
    if (!Apply()) {
        ui_.ShowMessage(kPortSetupFailed, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        ClosePort(false);
        outcome_.failure = LinkFailure::LineSettings;
        return 0;
    }
    return 1;
}

int TerminalLink::OpenReceivePort(bool irMode) {
    port_ = lines_.OpenPort(tmpl_.portSettings.comPort);
    if (!port_) {
        ui_.ShowMessage(kReceivePortOpenFailed, kErrorTitle, MessageIcon::None, MessageButtons::Ok);
        outcome_.failure = LinkFailure::PortOpen;
        return 0;
    }
    if (irMode && !PrepareIrTransceiver()) {
        ClosePort(false);
        ui_.ShowMessage(kReceiveIrSetupFailed, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        outcome_.failure = LinkFailure::IrPreparation;
        return 0;
    }
    UseTerminalLine();
    if (!Apply()) {
        ClosePort(false);
        outcome_.failure = LinkFailure::LineSettings;
        return 0;
    }
    return 1;
}

int TerminalLink::PrepareIrTransceiver() {
    lineSettings_.speed = kIrPrepareSpeed;
    lineSettings_.dataBits = 8;
    lineSettings_.parity = false;
    lineSettings_.stopBits = 1;
    lineSettings_.dtr = true;
    lineSettings_.rts = true;
    Apply();
    Pause100();
    bool found = false;
    for (std::uint32_t speed : kProbeSpeeds) {
        if (ProbeIrSpeed(speed)) {
            found = true;
            break;
        }
    }
    if (!found) return 0;
    // With RTS off the cradle listens to commands: attention, the speed, quit.
    lineSettings_.rts = false;
    Apply();
    Pause100();
    const u8 attention = kCradleAttention;
    Write(&attention, 1);
    Pause100();
    const int baudRate = tmpl_.portSettings.baudRate;
    const u8 command = CradleSpeedCommand(baudRate);
    if (auto speed = SpeedOfBaudRate(baudRate)) lineSettings_.speed = *speed;
    Write(&command, 1);
    Pause100();
    const u8 quit = kCradleQuit;
    Write(&quit, 1);
    Pause100();
    lineSettings_.rts = true;
    Apply();
    Pause100();
    lineSettings_.parity = false;
    lineSettings_.dataBits = 8;
    lineSettings_.ctsOutputFlow = false;
    lineSettings_.xonXoffOutput = false;
    return 1;
}

int TerminalLink::ProbeIrSpeed(std::uint32_t speed) {
    lineSettings_.speed = speed;
    lineSettings_.rts = false;
    Apply();
    Pause100();
    const u8 probe = kCradleProbe;
    Write(&probe, 1);
    Pause100();
    int result = 0;
    const std::int64_t deadline = clock_.NowMs() + kPauseMs;
    for (;;) {
        u8 b = 0;
        if (port_ && port_->Read(&b, 1) == 1) {
            result = b == kCradleProbe ? 1 : 0;
            break;
        }
        if (clock_.NowMs() >= deadline) break;
        WaitForInputUntil(deadline);
    }
    lineSettings_.rts = true;
    Apply();
    Pause100();
    return result;
}

// ---- Download ----

int TerminalLink::RunDownload(bool irMode, bool lookupMode) {
    outcome_ = {};
    if (!PortSettingsValid()) return -1;
    if (lookupMode) {
        if (!ChooseLookupFile()) {
            outcome_.failure = LinkFailure::Cancelled;
            return 0;
        }
        lookupFd_ = ::open(lookupFileName_.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (lookupFd_ >= 0 && (fstat(lookupFd_, &st) != 0 || S_ISDIR(st.st_mode))) CloseFd(lookupFd_);
        if (lookupFd_ < 0) {
            ui_.ShowMessage(kCannotOpenFile, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
            outcome_.failure = LinkFailure::CannotOpenFile;
            return -1;
        }
        if (!CheckLookupFile()) {
            CloseFd(lookupFd_);
            return -1;
        }
    }
    if (int opened = OpenDownloadPort(irMode); opened != 1) {
        CloseFd(lookupFd_);
        return opened;
    }
    for (;;) {
        ++outcome_.attempts;
        if (RunTransfer(lookupMode)) {
            outcome_.transferOk = true;
            outcome_.failure = LinkFailure::None;
            break;
        }
        outcome_.failure = LinkFailure::TransferFailed;
        if (ui_.AskRetry(kRetryQuestion, kErrorTitle) != MessageAnswer::Yes) break;
    }
    CloseFd(lookupFd_);
    ClosePort(true);
    return 1;
}

int TerminalLink::RunTransfer(bool lookupMode) {
    // The transfer time-outs are the line's own: reads return at once, writes are bounded by their size.
    if (!Handshake()) return 0;
    ui_.BeginProgress(kProgressTitle, kProgressText);
    const int ok = lookupMode ? SendLookupFile() : SendDownloadImage();
    ui_.EndProgress();
    if (ok) ui_.ShowMessage(kDownloadDone, kDownloadDoneTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    return ok;
}

int TerminalLink::Handshake() {
    static const u8 kHandshake[] = {'V', 'A', 'R', 'N', 'E', 'L', kCr};
    for (int i = 0; i < kHandshakeTries; ++i) {
        SendAndAwaitReply(kHandshake, sizeof kHandshake);
        if (reply() == "ACK") return 1;
    }
    ui_.ShowMessage(kTerminalNotReady, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    return 0;
}

void TerminalLink::SendAndAwaitReply(const u8* data, std::size_t size) {
    Write(data, size);
    replyLength_ = 0;
    const std::int64_t deadline = clock_.NowMs() + kReplyTimeoutMs;
    for (;;) {
        u8 chunk[3];
        const std::size_t n = port_ ? port_->Read(chunk, sizeof chunk) : 0;
        for (std::size_t i = 0; i < n && replyLength_ < replyBuffer_.size(); ++i)
            replyBuffer_[replyLength_++] = chunk[i];
        if (replyLength_ >= kReplyStop) break;
        if (n > 0 && chunk[n - 1] == kCr) break;
        if (clock_.NowMs() >= deadline) break;
        if (n == 0) WaitForInputUntil(deadline);
    }
    if (replyLength_ > 0 && replyBuffer_[replyLength_ - 1] == kCr) --replyLength_;
}

int TerminalLink::SendPacket(std::size_t size) {
    size = std::min(size, packetBuffer_.size());
    for (int i = 0; i < kPacketSends; ++i) {
        SendAndAwaitReply(packetBuffer_.data(), size);
        if (reply() == "ACK") return 1;
    }
    ui_.ShowMessage(kDownloadFailed, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    return 0;
}

int TerminalLink::SendDownloadImage() {
    imageBuilder_.BuildDownloadImage(tmpl_);
    const DownloadImage& image = imageBuilder_.image();
    for (int n = 0; n < kImagePacketCount; ++n) {
        const u8* data = image.data() + kImagePacketData * static_cast<std::size_t>(n);
        std::copy(data, data + kImagePacketData, packetBuffer_.begin());
        const std::uint16_t sum = Sum16(data, kImagePacketData);
        packetBuffer_[100] = static_cast<u8>(sum >> 8);
        packetBuffer_[101] = static_cast<u8>(sum & 0xFF);
        packetBuffer_[102] = static_cast<u8>(n);
        if (!SendPacket(kImagePacketSize)) return 0;
        ui_.SetProgress(std::min(n + 5, 100));
    }
    ui_.SetProgress(100);
    return 1;
}

// ---- Lookup file ----

int TerminalLink::ChooseLookupFile() {
    std::optional<std::string> path = ui_.ChooseLookupFile(lookupFileName_);
    if (!path) return 0;
    lookupFileName_ = *path;
    return 1;
}

bool TerminalLink::CheckLookupFile() {
    if (lseek(lookupFd_, 0, SEEK_SET) != 0) {
        ui_.ShowMessage(kCannotOpenFile, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        outcome_.failure = LinkFailure::CannotOpenFile;
        return false;
    }
    long line = 1;
    std::size_t length = 0;
    u8 buffer[4096];
    for (;;) {
        const ssize_t n = ::read(lookupFd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ui_.ShowMessage(kCannotOpenFile, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
            outcome_.failure = LinkFailure::CannotOpenFile;
            return false;
        }
        if (n == 0) break;
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == kCr) {
                ++line;
                length = 0;
            } else if (buffer[i] != kLf && ++length > kMaxLookupRecordData) {
                ui_.ShowMessage(LookupRecordTooLong(line), kErrorTitle, MessageIcon::Exclamation,
                                MessageButtons::Ok);
                outcome_.failure = LinkFailure::LookupRecordTooLong;
                return false;
            }
        }
    }
    return true;
}

int TerminalLink::SendLookupFile() {
    struct stat st {};
    if (lookupFd_ < 0 || lseek(lookupFd_, 0, SEEK_SET) != 0 || fstat(lookupFd_, &st) != 0) return 0;
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    std::size_t d = 0;
    std::uint32_t sum = 0;
    std::uint64_t bytesRead = 0;
    long line = 1;
    auto sendRecord = [&]() {
        packetBuffer_[d] = AvoidCr(static_cast<u8>((sum >> 8) & 0xFF));
        packetBuffer_[d + 1] = AvoidCr(static_cast<u8>(sum & 0xFF));
        packetBuffer_[d + 2] = kCr;
        const int ok = SendPacket(d + 3);
        d = 0;
        sum = 0;
        return ok;
    };
    while (bytesRead < size) {
        u8 chunk[kLookupReadChunk];
        const ssize_t n = ::read(lookupFd_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytesRead += static_cast<std::uint64_t>(n);
        for (ssize_t i = 0; i < n; ++i) {
            const u8 b = chunk[i];
            if (b == kCr) {
                if (!sendRecord()) return 0;
                ++line;
            } else if (b != kLf) {
                if (d >= kMaxLookupRecordData) {
                    // The file grew a long record since it was checked.
                    ui_.ShowMessage(LookupRecordTooLong(line), kErrorTitle, MessageIcon::Exclamation,
                                    MessageButtons::Ok);
                    return 0;
                }
                packetBuffer_[d++] = b;
                sum += b;
            }
        }
        ui_.SetProgress(static_cast<int>(std::min<std::uint64_t>(bytesRead * 100 / size, 100)));
    }
    if (d > 0 && !sendRecord()) return 0;
    ui_.SetProgress(100);
    std::memcpy(packetBuffer_.data(), "OVER\r", 5);
    return SendPacket(5);
}

// ---- Receive ----

int TerminalLink::RunReceive(bool irMode) {
    outcome_ = {};
    dataWriteFailed_ = false;
    if (!PortSettingsValid()) return -3;
    std::optional<std::string> path = ui_.ChooseDataFile();
    if (!path) {
        outcome_.failure = LinkFailure::Cancelled;
        return 0;
    }
    outcome_.dataFile = *path;
    dataFd_ = ::open(path->c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    struct stat st {};
    dataIsRegular_ = dataFd_ >= 0 && fstat(dataFd_, &st) == 0 && S_ISREG(st.st_mode);
    // Not shared while we write it; emptied only once it is ours.
    if (dataFd_ >= 0 &&
        (flock(dataFd_, LOCK_EX | LOCK_NB) != 0 || (dataIsRegular_ && ftruncate(dataFd_, 0) != 0)))
        CloseFd(dataFd_);
    if (dataFd_ < 0) {
        ui_.ShowMessage(kCreateFileFailed, kErrorTitle, MessageIcon::None, MessageButtons::Ok);
        outcome_.failure = LinkFailure::CannotOpenFile;
        return -2;
    }
    if (!OpenReceivePort(irMode)) {
        CloseDataFile(true);
        outcome_.fileKept = true;
        return -3;
    }
    const int n = ReceiveRecords();
    ClosePort(false);
    const int stored = outcome_.recordsStored;
    CloseDataFile(stored > 0);
    outcome_.fileKept = stored > 0;
    if (dataWriteFailed_) {
        ui_.ShowMessage(DataFileWriteFailed(stored), kErrorTitle, MessageIcon::Exclamation,
                        MessageButtons::Ok);
        outcome_.failure = LinkFailure::FileWrite;
        return n > 0 ? -2 : n;
    }
    if (n > 0) {
        outcome_.transferOk = true;
        if (ui_.ShowMessage(ReceiveDone(n), kReceiveTitle, MessageIcon::None, MessageButtons::YesNo) ==
            MessageAnswer::Yes)
            ui_.OpenForViewing(*path);
        return n;
    }
    if (n == 0) {
        ui_.ShowMessage(kNothingReceived, kReceiveTitle, MessageIcon::None, MessageButtons::Ok);
        return 0;
    }
    // Records already acknowledged are the terminal's to forget: they stay in the file.
    if (stored > 0)
        ui_.ShowMessage(ReceiveInterrupted(stored), kReceiveTitle, MessageIcon::Exclamation,
                        MessageButtons::Ok);
    return n;
}

int TerminalLink::ReceiveRecords() {
    // Request phase.
    for (int c = 0;; ++c) {
        Write("READ\r");
        u8 kept[kRequestReplyKeep];
        std::size_t keptLength = 0;
        bool gotCr = false;
        const std::int64_t deadline = clock_.NowMs() + kReplyTimeoutMs;
        for (;;) {
            u8 b = 0;
            const std::size_t n = port_ ? port_->Read(&b, 1) : 0;
            if (n == 1 && keptLength < kRequestReplyKeep) {
                kept[keptLength++] = b;
                if (b == kCr) {
                    gotCr = true;
                    break;
                }
            }
            if (clock_.NowMs() >= deadline) break;
            if (n == 0) WaitForInputUntil(deadline);
        }
        if (!gotCr && c >= kSilentRequestsBeforeGivingUp) {
            ui_.ShowMessage(kTimeOut, kErrorTitle, MessageIcon::None, MessageButtons::Ok);
            outcome_.failure = LinkFailure::NotReady;
            return 0;
        }
        if (keptLength == 4 && std::memcmp(kept, "ACK\r", 4) == 0) break;
        if (c >= kWrongRequestsBeforeGivingUp) {
            ui_.ShowMessage(kNoConnection, kErrorTitle, MessageIcon::None, MessageButtons::Ok);
            outcome_.failure = LinkFailure::NotReady;
            return 0;
        }
    }

    // Record phase.
    int emptyWindows = 0;
    int expected = 0;
    int stored = 0;
    ShowReceiveStatus(0, 0);
    u8 frame[kMaxRecordFrame];
    for (;;) {
        std::size_t length = 0;
        bool complete = false;
        bool overlong = false;
        const std::int64_t deadline = clock_.NowMs() + kRecordWindowMs;
        for (;;) {
            u8 b = 0;
            const std::size_t n = port_ ? port_->Read(&b, 1) : 0;
            if (clock_.NowMs() >= deadline) break;
            if (n == 0) {
                WaitForInputUntil(deadline);
                continue;
            }
            if (length < sizeof frame)
                frame[length++] = b;
            else
                overlong = true;
            if (b == kCr) {
                complete = true;
                break;
            }
        }
        if (!complete) {
            if (emptyWindows >= kEmptyWindowsBeforeGivingUp) {
                ShowReceiveStatus(2, stored);
                ui_.ShowMessage(kTimeOut, kErrorTitle, MessageIcon::None, MessageButtons::Ok);
                outcome_.failure = LinkFailure::TimedOut;
                return -1;
            }
            ++emptyWindows;
            Write("NAK\r");
            continue;
        }
        emptyWindows = 0;
        if (!overlong && length == 5 && std::memcmp(frame, "OVER\r", 5) == 0) {
            ShowReceiveStatus(2, stored);
            if (stored == 0) outcome_.failure = LinkFailure::NoData;
            return stored;
        }
        // A frame beyond 255 bytes cannot be a record: refuse it rather than store a cut one.
        if (overlong || length < 4) {
            Write("NAK\r");
            continue;
        }
        if (frame[0] != expected) {
            // The previous record again: our acknowledgement was lost on the way.
            Write(frame[0] == (expected + 9) % 10 ? "ACK\r" : "NAK\r");
            continue;
        }
        const std::uint16_t sum = Sum16(frame, length - 3);
        if (frame[length - 3] != AvoidCr(static_cast<u8>(sum & 0xFF)) ||
            frame[length - 2] != AvoidCr(static_cast<u8>(sum >> 8))) {
            Write("NAK\r");
            continue;
        }
        // On disk before the terminal hears "ACK" and forgets the record.
        if (!WriteRecord(frame + 1, length - 4)) {
            Write("NAK\r");
            ShowReceiveStatus(2, stored);
            outcome_.failure = LinkFailure::FileWrite;
            return -2;
        }
        ++stored;
        outcome_.recordsStored = stored;
        expected = (expected + 1) % 10;
        ShowReceiveStatus(1, stored);
        Write("ACK\r");
    }
}

bool TerminalLink::WriteRecord(const u8* data, std::size_t size) {
    u8 line[kMaxRecordFrame + 2];
    std::copy(data, data + size, line);
    line[size] = kCr;
    line[size + 1] = kLf;
    std::size_t done = 0;
    while (done < size + 2) {
        const ssize_t n = dataFd_ >= 0 ? ::write(dataFd_, line + done, size + 2 - done) : -1;
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            dataWriteFailed_ = true;
            // Leave the file as it was before this record.
            if (dataFd_ >= 0 && done > 0) {
                off_t end = lseek(dataFd_, 0, SEEK_CUR);
                if (end >= static_cast<off_t>(done) &&
                    ftruncate(dataFd_, end - static_cast<off_t>(done)) == 0)
                    lseek(dataFd_, end - static_cast<off_t>(done), SEEK_SET);
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void TerminalLink::CloseDataFile(bool keep) {
    if (dataFd_ < 0) return;
    if (keep && fsync(dataFd_) != 0 && errno != EINVAL && errno != EROFS) dataWriteFailed_ = true;
    CloseFd(dataFd_);
    // Only a file we made is ours to delete, never a device that was named as the output.
    if (!keep && dataIsRegular_) ::unlink(outcome_.dataFile.c_str());
}

void TerminalLink::ShowReceiveStatus(int mode, int count) {
    switch (mode) {
        case 0:
            ui_.BeginReceiveStatus();
            statusShown_ = true;
            break;
        case 1:
            if (statusShown_) ui_.UpdateReceiveStatus(count);
            break;
        default:
            if (statusShown_) ui_.EndReceiveStatus();
            statusShown_ = false;
            break;
    }
}

}  // namespace k52
