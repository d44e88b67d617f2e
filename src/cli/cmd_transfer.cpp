// download, download-lookup and receive: the desktop program's transfers from the command line.
#include <iostream>
#include <optional>

#include "cli/CliSupport.h"
#include "link/Clock.h"
#include "link/SerialLine.h"
#include "link/TerminalLink.h"

namespace k52::cli {
namespace {

// Message boxes and questions on standard error; the file choices are the command's arguments.
class CliTransferUi : public TransferUi {
  public:
    StderrMessages messages;
    std::string lookupFile;
    std::string dataFile;

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override {
        return messages.ShowMessage(text, title, icon, buttons);
    }
    void BeginProgress(std::string_view, std::string_view) override {}
    void SetProgress(int) override {}
    void EndProgress() override {}
    void BeginReceiveStatus() override {}
    void UpdateReceiveStatus(int) override {}
    void EndReceiveStatus() override {}
    std::optional<std::string> ChooseLookupFile(const std::string&) override { return lookupFile; }
    std::optional<std::string> ChooseDataFile() override { return dataFile; }
    void OpenForViewing(const std::string&) override {}
};

// Keeps the reason a port would not open, for a line after the message box text.
class ExplainingFactory : public LineFactory {
  public:
    explicit ExplainingFactory(const TransferOptions& a)
        : inner_(a.device ? PosixLineFactory(*a.device) : PosixLineFactory()) {}
    std::unique_ptr<SerialLine> OpenPort(int comPort, std::string* error) override {
        auto line = inner_.OpenPort(comPort, &reason);
        if (error) *error = reason;
        return line;
    }
    std::string reason;

  private:
    PosixLineFactory inner_;
};

void ApplyPortArgs(const TransferOptions& a, ApplicationTemplate& t) {
    if (a.comPort) t.portSettings.comPort = static_cast<u8>(*a.comPort);
    if (a.baudRate) t.portSettings.baudRate = static_cast<u8>(*a.baudRate);
}

int ExitForFailure(const LinkOutcome& o, const ExplainingFactory& lines) {
    switch (o.failure) {
        case LinkFailure::None:
            return kExitOk;
        case LinkFailure::BadPortSettings:
            return kExitBadTemplate;
        case LinkFailure::CannotOpenFile:
        case LinkFailure::LookupRecordTooLong:
        case LinkFailure::FileWrite:
            return kExitFile;
        case LinkFailure::PortOpen:
            if (!lines.reason.empty()) std::cerr << "k52cli: " << lines.reason << "\n";
            return kExitPort;
        case LinkFailure::IrPreparation:
            return kExitPort;
        case LinkFailure::LineSettings:
            // The desktop's receive command ends silently here; a script still deserves a reason.
            std::cerr << "k52cli: the device refused the line settings (speed, 8N1)\n";
            return kExitPort;
        default:
            return kExitFailed;
    }
}

int RunDownloadCommand(const TransferOptions& a, ApplicationTemplate& t, bool lookupMode) {
    ApplyPortArgs(a, t);
    ExplainingFactory lines(a);
    MonotonicClock clock;
    CliTransferUi ui;
    ui.messages.yesAnswers = static_cast<int>(a.retries);
    ui.lookupFile = a.file;
    TerminalLink link(t, lines, clock, ui);
    const int result = link.RunDownload(a.ir, lookupMode);
    if (result == 1) return link.outcome().transferOk ? kExitOk : kExitFailed;
    return ExitForFailure(link.outcome(), lines);
}

}  // namespace

int CmdDownload(const TransferOptions& a) {
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(a.file, t); rc != kExitOk) return rc;
    return RunDownloadCommand(a, t, false);
}

int CmdDownloadLookup(const TransferOptions& a) {
    ApplicationTemplate t = StartupTemplate();  // COM1 at 115200 unless told otherwise
    return RunDownloadCommand(a, t, true);
}

int CmdReceive(const TransferOptions& a) {
    ApplicationTemplate t = StartupTemplate();
    ApplyPortArgs(a, t);
    ExplainingFactory lines(a);
    MonotonicClock clock;
    CliTransferUi ui;
    ui.dataFile = a.file;
    TerminalLink link(t, lines, clock, ui);
    const int result = link.RunReceive(a.ir);
    const LinkOutcome& o = link.outcome();
    std::cout << o.recordsStored << " records stored";
    if (o.fileKept && o.recordsStored > 0) std::cout << " in " << a.file;
    std::cout << "\n";
    if (result > 0) return kExitOk;
    if (result == -2) return kExitFile;
    if (result == -3) return ExitForFailure(o, lines);
    return kExitFailed;
}

}  // namespace k52::cli
