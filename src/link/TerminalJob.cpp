// One terminal's transfer run unattended: its request built from the job, its message boxes as lines,
// and the result with the notes that explain it.
#include "link/TerminalJob.h"

#include "i18n/Translate.h"
#include "link/TerminalLink.h"

namespace k52 {
namespace {

// In the language the user chose, as the desktop's message box would say it.
std::string Line(std::string_view title, std::string_view text) {
    return std::string(Translate(title)) + ": " + std::string(Translate(text));
}

// Message boxes become lines on the job's board, with the progress.
class BoardObserver : public WindowlessObserver {
  public:
    explicit BoardObserver(JobBoard& board) : board_(board) {}

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon,
                              MessageButtons buttons) override {
        board_.Message(Line(title, text));
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    void Idle() override { board_.Tick(); }
    void OnProgress(const TransferProgress& p) override {
        last = p;
        // The end is drawn by the caller, who knows why it failed.
        if (p.phase != TransferPhase::Done && p.phase != TransferPhase::Failed) board_.Progress(p);
    }

    TransferProgress last;

  private:
    JobBoard& board_;
};

// The notes that follow a failure's message box: what a script needs that the box does not say.
std::vector<std::string> Explanations(const TransferOutcome& o, const std::string& file) {
    std::vector<std::string> lines;
    auto withReason = [&](std::string line) {
        if (!o.reason.empty()) line += ": " + o.reason;
        lines.push_back(std::move(line));
    };
    switch (o.failure) {
        case LinkFailure::CannotOpenFile:
            withReason("cannot " + std::string(o.dataFile.empty() ? "read " : "write ") + file);
            break;
        case LinkFailure::FileWrite:
            withReason("cannot write " + file);
            break;
        case LinkFailure::PortOpen:
            if (!o.lastMessage.detail.empty()) lines.push_back(o.lastMessage.detail);
            break;
        case LinkFailure::LineSettings:
            // The desktop's receive command ends silently here; a script still deserves a reason.
            lines.push_back("the device refused the line settings (speed, 8N1)");
            break;
        case LinkFailure::LineLost:
            lines.push_back("the device went away during the exchange (unplugged?)");
            break;
        default:
            break;
    }
    for (long line : o.duplicateLines)
        lines.push_back("the terminal may hold line " + std::to_string(line) + " of " + file +
                        " more than once");
    return lines;
}

TransferOutcome Run(const TerminalJob& job, TerminalLink& link, TransferObserver& observer) {
    if (job.kind == JobKind::Receive)
        return link.Receive({job.transport, job.file, job.overwrite, job.stop}, observer);
    DownloadRequest request;
    request.transport = job.transport;
    request.payload = job.kind == JobKind::Lookup ? Payload::Lookup : Payload::Program;
    request.lookupFile = job.file;
    request.encoding = job.encoding;
    request.allowEmpty = job.allowEmpty;
    request.retries = job.retries;
    request.stop = job.stop;
    return link.Download(request, observer);
}

}  // namespace

JobResult RunTerminalJob(const TerminalJob& job, ApplicationTemplate t, LineFactory& lines, Clock& clock,
                         JobBoard& board) {
    BoardObserver observer(board);
    TerminalLink link(t, lines, clock);
    const TransferOutcome o = Run(job, link, observer);
    const bool receive = job.kind == JobKind::Receive;

    JobResult r;
    r.device = job.device;
    r.outcome = o;
    r.seconds = o.seconds;
    r.packets = o.packets;
    r.bytes = o.bytesSent + o.bytesReceived;
    r.records = receive ? o.recordsStored : o.recordsSent;
    r.file = !receive ? job.file : o.fileKept ? o.dataFile : std::string();
    if (!o.lastMessage.text.empty()) r.message = Line(o.lastMessage.title, o.lastMessage.text);
    r.last = observer.last;
    if (o.lastMayComeAgain)
        r.notes.push_back("record " + std::to_string(o.recordsStored) +
                          " may come again next time: the terminal may not have heard it was stored");
    if (receive && o.fileKept && o.dataFile != job.file)
        r.notes.push_back(job.file + " appeared meanwhile; the records are in " + o.dataFile);
    if (o.failure == LinkFailure::Cancelled)
        r.notes.push_back(receive ? "interrupted after " + std::to_string(o.recordsStored) + " records"
                                  : std::string("interrupted"));
    for (std::string& note : Explanations(o, job.file)) r.notes.push_back(std::move(note));
    return r;
}

std::string FailureCode(const TransferOutcome& o) {
    switch (o.failure) {
        case LinkFailure::None:
            return "";
        case LinkFailure::Cancelled:
            return "cancelled";
        case LinkFailure::BadPortSettings:
            return "port-settings";
        case LinkFailure::CannotOpenFile:
        case LinkFailure::LookupRecordTooLong:
        case LinkFailure::LookupNotConvertible:
        case LinkFailure::FileWrite:
            return "file";
        case LinkFailure::PortOpen:
            return "port-open";
        case LinkFailure::IrPreparation:
            return "ir-cradle";
        case LinkFailure::LineSettings:
            return "line-settings";
        case LinkFailure::TransferFailed:
            return o.unanswered ? "no-reply" : "refused";
        case LinkFailure::NotReady:
            return "no-reply";
        case LinkFailure::TimedOut:
            return "timeout";
        case LinkFailure::TooManyRefusals:
            return "refused";
        case LinkFailure::MaybeDuplicated:
            return "duplicate";
        case LinkFailure::LineLost:
            return "line-lost";
    }
    return "failed";
}

std::string TerminalName(const std::string& device) {
    std::string name = device;
    while (!name.empty() && name.back() == '/') name.pop_back();
    name = name.substr(name.find_last_of('/') + 1);
    return name.empty() || name == "." || name == ".." ? std::string("terminal") : name;
}

std::string RecordFileName(const std::string& device) {
    return TerminalName(device) + ".TXT";
}

}  // namespace k52
