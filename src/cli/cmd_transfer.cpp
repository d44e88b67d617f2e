// download, download-lookup and receive: the desktop program's transfers from the command line.
#include <sys/stat.h>

#include <iostream>
#include <optional>

#include "cli/CliSupport.h"
#include "link/Clock.h"
#include "link/LookupData.h"
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
    bool FixedDevice() const override { return inner_.FixedDevice(); }
    std::string reason;

  private:
    PosixLineFactory inner_;
};

void ApplyPortArgs(const TransferOptions& a, ApplicationTemplate& t) {
    if (a.comPort) t.portSettings.comPort = static_cast<u8>(*a.comPort);
    if (a.baudRate) t.portSettings.baudRate = static_cast<u8>(*a.baudRate);
}

// One place maps how a transfer ended to the exit code, with a line that names the file and the reason.
int ExitFor(const TransferOutcome& o, const ExplainingFactory& lines, const std::string& file) {
    switch (o.failure) {
        case LinkFailure::None:
            return kExitOk;
        case LinkFailure::Cancelled:
            return kExitFailed;
        case LinkFailure::BadPortSettings:
            return kExitBadTemplate;
        case LinkFailure::CannotOpenFile:
            std::cerr << "k52cli: cannot " << (o.dataFile.empty() ? "read " : "write ") << file;
            if (!o.reason.empty()) std::cerr << ": " << o.reason;
            std::cerr << "\n";
            return kExitFile;
        case LinkFailure::LookupRecordTooLong:
        case LinkFailure::LookupNotConvertible:
            return kExitFile;
        case LinkFailure::FileWrite:
            std::cerr << "k52cli: cannot write " << file;
            if (!o.reason.empty()) std::cerr << ": " << o.reason;
            std::cerr << "\n";
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
        case LinkFailure::MaybeDuplicated:
            for (long line : o.duplicateLines)
                std::cerr << "k52cli: the terminal may hold line " << line << " of " << file
                          << " more than once\n";
            return kExitFailed;
        case LinkFailure::TransferFailed:
        case LinkFailure::NotReady:
        case LinkFailure::TimedOut:
        case LinkFailure::TooManyRefusals:
            return kExitFailed;
        case LinkFailure::LineLost:
            std::cerr << "k52cli: the device went away during the exchange (unplugged?)\n";
            return kExitPort;
    }
    return kExitFailed;
}

int RunDownloadCommand(const TransferOptions& a, ApplicationTemplate& t, Payload payload) {
    ApplyPortArgs(a, t);
    ExplainingFactory lines(a);
    MonotonicClock clock;
    CliTransferUi ui;
    ui.messages.yesAnswers = static_cast<int>(a.retries);
    ui.lookupFile = a.file;
    TerminalLink link(t, lines, clock, ui);
    link.setLookupEncoding(a.encoding);
    return ExitFor(link.RunDownload(a.ir ? Transport::Cradle : Transport::Direct, payload), lines, a.file);
}

}  // namespace

int CmdDownload(const TransferOptions& a) {
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(a.file, t); rc != kExitOk) return rc;
    return RunDownloadCommand(a, t, Payload::Program);
}

int CmdDownloadLookup(const TransferOptions& a) {
    ApplicationTemplate t = StartupTemplate();  // COM1 at 115200 unless told otherwise
    return RunDownloadCommand(a, t, Payload::Lookup);
}

int CmdReceive(const TransferOptions& a) {
    // An existing file is someone's data: replaced only when asked (the desktop's dialog asks).
    struct stat st {};
    if (!a.overwrite && stat(a.file.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        std::cerr << "k52cli: " << a.file << " exists; add --overwrite to replace it\n";
        return kExitFile;
    }
    ApplicationTemplate t = StartupTemplate();
    ApplyPortArgs(a, t);
    ExplainingFactory lines(a);
    MonotonicClock clock;
    CliTransferUi ui;
    ui.dataFile = a.file;
    TerminalLink link(t, lines, clock, ui);
    const TransferOutcome o = link.RunReceive(a.ir ? Transport::Cradle : Transport::Direct);
    std::cout << o.recordsStored << " records stored";
    if (o.fileKept) std::cout << " in " << a.file;
    std::cout << "\n";
    if (o.lastMayComeAgain)
        std::cerr << "k52cli: record " << o.recordsStored
                  << " may come again next time: the terminal may not have heard it was stored\n";
    return ExitFor(o, lines, a.file);
}

}  // namespace k52::cli
