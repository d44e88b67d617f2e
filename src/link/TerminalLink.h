// The transfers with the terminal: program download, lookup file download and collected-data upload,
// with the infrared cradle's preparation. One TerminalLink holds the link's process-wide state (the line
// settings, the download image, the lookup file name); the desktop program keeps one for its whole run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "link/Clock.h"
#include "link/DownloadImage.h"
#include "link/SerialLine.h"
#include "link/TransferUi.h"
#include "template/Template.h"

namespace k52 {

// The user-facing texts (UTF-8).
namespace link_text {
inline constexpr char kErrorTitle[] = "錯誤";
inline constexpr char kPortOpenFailed[] = "連接埠無法打開!!";
inline constexpr char kIrSetupFailed[] = "設置紅外線裝置失敗!!";
inline constexpr char kPortSetupFailed[] = "設置連接埠失敗!!";
inline constexpr char kReceivePortOpenFailed[] = "無法打開通訊埠!!";
inline constexpr char kReceiveIrSetupFailed[] = "無法設定紅外線裝置!!";
inline constexpr char kCannotOpenFile[] = "無法開啟檔案!!";
inline constexpr char kTerminalNotReady[] = "終端機尚未就緒!!";
inline constexpr char kDownloadFailed[] = "下載失敗!!";
inline constexpr char kRetryQuestion[] = "下載失敗,再試一次嗎??";
inline constexpr char kDownloadDone[] = "下載完畢!!";
inline constexpr char kDownloadDoneTitle[] = "Download";
inline constexpr char kProgressTitle[] = "下載程式";
inline constexpr char kProgressText[] = "下載中...";
inline constexpr char kCreateFileFailed[] = "開啟 / 新建檔案失敗!!";
inline constexpr char kTimeOut[] = "逾時!!";
inline constexpr char kNoConnection[] = "通訊埠無法連通!!";
inline constexpr char kReceiveTitle[] = "接收資料";
inline constexpr char kNothingReceived[] = "沒有接收到任何資料!!";
// Formatted with the record count; the line break is part of the text.
std::string ReceiveDone(int count);
// Sound-behaviour messages of this system.
std::string BadPortSettings(int comPort, int baudRate);
std::string LookupRecordTooLong(long line);
std::string ReceiveInterrupted(int kept);
std::string DataFileWriteFailed(int kept);
}  // namespace link_text

// The protocol's bytes and sizes.
constexpr std::size_t kPacketBufferSize = 256;
constexpr std::size_t kReplyBufferSize = 16;
constexpr std::size_t kImagePacketData = 100;
constexpr std::size_t kImagePacketSize = 103;
constexpr int kImagePacketCount = 105;
constexpr std::size_t kMaxLookupRecordData = kPacketBufferSize - 3;  // 253
constexpr std::size_t kMaxRecordFrame = 255;
constexpr std::int64_t kReplyTimeoutMs = 3000;
constexpr std::int64_t kRecordWindowMs = 500;
constexpr std::int64_t kPauseMs = 100;
constexpr std::int64_t kIdleSliceMs = 50;

// Why the last command ended as it did, for callers that need more than its result code.
enum class LinkFailure {
    None,
    Cancelled,            // the user cancelled a file choice
    BadPortSettings,      // comPort or baudRate out of range (a damaged template)
    CannotOpenFile,       // lookup file unreadable, or data file not created
    LookupRecordTooLong,  // refused before the port was opened
    PortOpen,
    IrPreparation,
    LineSettings,
    TransferFailed,  // the last download attempt failed and the user did not retry
    NotReady,        // receive: the terminal never said it was ready
    NoData,          // receive: "OVER" before any record
    TimedOut,        // receive: the terminal stopped sending in the middle
    FileWrite,       // receive: the data file could not be written
};

struct LinkOutcome {
    LinkFailure failure = LinkFailure::None;
    int attempts = 0;         // download attempts run
    bool transferOk = false;  // download: the last attempt succeeded; receive: records stored, then "OVER"
    int recordsStored = 0;    // receive: records written to the data file
    bool fileKept = false;    // receive: the data file is still on disk
    std::string dataFile;     // receive: the path chosen
};

class TerminalLink {
  public:
    TerminalLink(ApplicationTemplate& tmpl, LineFactory& lines, Clock& clock, TransferUi& ui);
    ~TerminalLink();
    TerminalLink(const TerminalLink&) = delete;
    TerminalLink& operator=(const TerminalLink&) = delete;

    // The commands. RunDownload: 1 when at least one attempt ran (whatever its outcome), 0 when the user
    // cancelled the lookup file or the line settings were refused, -1 when a file, the port or the
    // infrared preparation failed. RunReceive: the records stored (above 0), 0 when cancelled or nothing
    // came, -1 when the exchange ended by time-out, -2 when the data file failed, -3 when the port failed.
    int RunDownload(bool irMode, bool lookupMode);
    int RunReceive(bool irMode);
    const LinkOutcome& outcome() const { return outcome_; }

    // Process-wide state.
    LineSettings& lineSettings() { return lineSettings_; }
    DownloadImageBuilder& imageBuilder() { return imageBuilder_; }
    std::string& lookupFileName() { return lookupFileName_; }

    // The steps, public so that they can be exercised one by one.
    int OpenDownloadPort(bool irMode);  // 1 ready; 0 line settings refused; -1 open or cradle failed
    int OpenReceivePort(bool irMode);   // 1 ready, else 0
    int PrepareIrTransceiver();
    int ProbeIrSpeed(std::uint32_t speed);
    void Pause100();
    int RunTransfer(bool lookupMode);
    int Handshake();
    void SendAndAwaitReply(const u8* data, std::size_t size);
    int SendPacket(std::size_t size);
    int SendDownloadImage();
    int ChooseLookupFile();
    int SendLookupFile();
    // Records stored (on "OVER"), 0 when the terminal never answered, -1 on time-out, -2 when writing the
    // data file failed.
    int ReceiveRecords();
    void ShowReceiveStatus(int mode, int count);  // 0 begin, 1 update, 2 end
    void ClosePort(bool discardInput);

    // The terminal's last reply, without its CR; the packet being sent.
    std::string_view reply() const {
        return {reinterpret_cast<const char*>(replyBuffer_.data()), replyLength_};
    }
    const std::array<u8, kPacketBufferSize>& packetBuffer() const { return packetBuffer_; }
    std::array<u8, kPacketBufferSize>& packetBuffer() { return packetBuffer_; }

  private:
    bool PortSettingsValid();
    void UseTerminalLine();
    bool Apply();
    void Write(const u8* data, std::size_t size);
    void Write(std::string_view text);
    // Waits until a byte can be read or the clock reaches `deadlineMs`, calling the idle hook meanwhile.
    bool WaitForInputUntil(std::int64_t deadlineMs);
    void SleepFor(std::int64_t ms);
    bool CheckLookupFile();
    bool WriteRecord(const u8* data, std::size_t size);
    void CloseDataFile(bool keep);

    ApplicationTemplate& tmpl_;
    LineFactory& lines_;
    Clock& clock_;
    TransferUi& ui_;

    LineSettings lineSettings_{};
    DownloadImageBuilder imageBuilder_;
    std::string lookupFileName_;

    std::unique_ptr<SerialLine> port_;
    int lookupFd_ = -1;
    int dataFd_ = -1;
    bool dataWriteFailed_ = false;
    bool dataIsRegular_ = false;
    bool statusShown_ = false;
    std::array<u8, kPacketBufferSize> packetBuffer_{};
    std::array<u8, kReplyBufferSize> replyBuffer_{};
    std::size_t replyLength_ = 0;
    LinkOutcome outcome_;
};

}  // namespace k52
