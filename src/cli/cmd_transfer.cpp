// download, download-lookup and receive: the desktop program's transfers from the command line.
#include <sys/stat.h>

#include <cstdlib>
#include <iostream>
#include <optional>

#include "cli/CliSupport.h"
#include "link/Clock.h"
#include "link/SerialLine.h"
#include "link/TerminalLink.h"

namespace k52::cli {
namespace {

struct TransferArgs {
    std::string file;
    std::optional<std::string> device;
    std::optional<int> comPort;
    bool ir = false;
    std::optional<int> baudRate;
    int retries = 0;
    bool overwrite = false;
};

std::optional<int> ParseCount(const std::string& s) {
    if (s.empty() || s.size() > 6 || s.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::atoi(s.c_str());
}

// Returns nullopt after printing the usage line.
std::optional<TransferArgs> Parse(const Args& args, bool withRetries, bool withOverwrite, const char* usage) {
    TransferArgs t;
    bool haveFile = false;
    auto bad = [&](const std::string& why) -> std::optional<TransferArgs> {
        if (!why.empty()) std::cerr << "k52cli: " << why << "\n";
        std::cerr << "usage: k52cli " << usage << "\n";
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        if (a == "--ir") {
            t.ir = true;
        } else if (a == "--device") {
            auto v = value();
            if (!v || v->empty()) return bad("--device needs a path");
            t.device = *v;
        } else if (a == "--port") {
            auto v = value();
            if (!v || v->size() != 4 || (v->compare(0, 3, "COM") != 0 && v->compare(0, 3, "com") != 0) ||
                (*v)[3] < '1' || (*v)[3] > '6')
                return bad("--port takes COM1 to COM6");
            t.comPort = (*v)[3] - '1';
        } else if (a == "--speed") {
            auto v = value();
            auto bps = v ? ParseCount(*v) : std::nullopt;
            auto rate = bps ? BaudRateOfSpeed(static_cast<std::uint32_t>(*bps)) : std::nullopt;
            if (!rate) return bad("--speed takes 9600, 19200, 38400, 57600 or 115200");
            t.baudRate = *rate;
        } else if (a == "--retries" && withRetries) {
            auto v = value();
            auto n = v ? ParseCount(*v) : std::nullopt;
            if (!n) return bad("--retries takes a number");
            t.retries = *n;
        } else if (a == "--overwrite" && withOverwrite) {
            t.overwrite = true;
        } else if (!haveFile && !a.empty() && a[0] != '-') {
            t.file = a;
            haveFile = true;
        } else {
            return bad("unexpected argument '" + a + "'");
        }
    }
    if (!haveFile) return bad("");
    if (t.device.has_value() == t.comPort.has_value()) return bad("give either --device PATH or --port COMn");
    return t;
}

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
    explicit ExplainingFactory(const TransferArgs& a)
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

void ApplyPortArgs(const TransferArgs& a, ApplicationTemplate& t) {
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
                std::cerr << "k52cli: the terminal may hold line " << line << " of " << file << " more than once\n";
            return kExitFailed;
        case LinkFailure::TransferFailed:
        case LinkFailure::NotReady:
        case LinkFailure::TimedOut:
        case LinkFailure::TooManyRefusals:
            return kExitFailed;
    }
    return kExitFailed;
}

int RunDownloadCommand(const TransferArgs& a, ApplicationTemplate& t, Payload payload) {
    ApplyPortArgs(a, t);
    ExplainingFactory lines(a);
    MonotonicClock clock;
    CliTransferUi ui;
    ui.messages.yesAnswers = a.retries;
    ui.lookupFile = a.file;
    TerminalLink link(t, lines, clock, ui);
    return ExitFor(link.RunDownload(a.ir ? Transport::Cradle : Transport::Direct, payload), lines, a.file);
}

const char kDownloadUsage[] =
    "download FILE (--device PATH | --port COMn) [--ir] [--speed BPS] [--retries N]";
const char kLookupUsage[] =
    "download-lookup DATA (--device PATH | --port COMn) [--ir] [--speed BPS] [--retries N]";
const char kReceiveUsage[] = "receive OUT (--device PATH | --port COMn) [--ir] [--speed BPS] [--overwrite]";

}  // namespace

int CmdDownload(const Args& args) {
    auto a = Parse(args, true, false, kDownloadUsage);
    if (!a) return kExitUsage;
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(a->file, t); rc != kExitOk) return rc;
    return RunDownloadCommand(*a, t, Payload::Program);
}

int CmdDownloadLookup(const Args& args) {
    auto a = Parse(args, true, false, kLookupUsage);
    if (!a) return kExitUsage;
    ApplicationTemplate t = StartupTemplate();  // COM1 at 115200 unless told otherwise
    return RunDownloadCommand(*a, t, Payload::Lookup);
}

int CmdReceive(const Args& args) {
    auto a = Parse(args, false, true, kReceiveUsage);
    if (!a) return kExitUsage;
    // An existing file is someone's data: replaced only when asked (the desktop's dialog asks).
    struct stat st {};
    if (!a->overwrite && stat(a->file.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        std::cerr << "k52cli: " << a->file << " exists; add --overwrite to replace it\n";
        return kExitFile;
    }
    ApplicationTemplate t = StartupTemplate();
    ApplyPortArgs(*a, t);
    ExplainingFactory lines(*a);
    MonotonicClock clock;
    CliTransferUi ui;
    ui.dataFile = a->file;
    TerminalLink link(t, lines, clock, ui);
    const TransferOutcome o = link.RunReceive(a->ir ? Transport::Cradle : Transport::Direct);
    std::cout << o.recordsStored << " records stored";
    if (o.fileKept) std::cout << " in " << a->file;
    std::cout << "\n";
    if (o.lastMayComeAgain)
        std::cerr << "k52cli: record " << o.recordsStored
                  << " may come again next time: the terminal may not have heard it was stored\n";
    return ExitFor(o, lines, a->file);
}

}  // namespace k52::cli
