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

// The notes that follow a failure's message box: what a script needs that the box does not say. In
// English, from marked patterns: k52cli shows them in the user's language.
std::vector<std::string> Explanations(const TransferOutcome& o, const std::string& file) {
    std::vector<std::string> lines;
    auto withReason = [&](std::string line) {
        if (!o.reason.empty()) line += ": " + o.reason;
        lines.push_back(std::move(line));
    };
    switch (o.failure) {
        case LinkFailure::CannotOpenFile:
            withReason(Substitute(o.dataFile.empty() ? K52_EN("cannot read %1") : K52_EN("cannot write %1"),
                                  {file}));
            break;
        case LinkFailure::FileWrite:
            withReason(Substitute(K52_EN("cannot write %1"), {file}));
            break;
        case LinkFailure::PortOpen:
            if (!o.lastMessage.detail.empty()) lines.push_back(o.lastMessage.detail);
            break;
        case LinkFailure::LineSettings:
            // The desktop's receive command ends silently here; a script still deserves a reason.
            lines.push_back(K52_EN("the device refused the line settings (speed, 8N1)"));
            break;
        case LinkFailure::LineLost:
            lines.push_back(K52_EN("the device went away during the exchange (unplugged?)"));
            break;
        default:
            break;
    }
    for (long line : o.duplicateLines)
        lines.push_back(Substitute(K52_EN("the terminal may hold line %1 of %2 more than once"),
                                   {std::to_string(line), file}));
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
        r.notes.push_back(Substitute(
            K52_EN("record %1 may come again next time: the terminal may not have heard it was stored"),
            {std::to_string(o.recordsStored)}));
    if (receive && o.fileKept && o.dataFile != job.file)
        r.notes.push_back(
            Substitute(K52_EN("%1 appeared meanwhile; the records are in %2"), {job.file, o.dataFile}));
    if (o.failure == LinkFailure::Cancelled)
        r.notes.push_back(
            receive ? Substitute(K52_EN("interrupted after %1 records"), {std::to_string(o.recordsStored)})
                    : std::string(K52_EN("interrupted")));
    for (std::string& note : Explanations(o, job.file)) r.notes.push_back(std::move(note));
    return r;
}

std::string FailureCode(const TransferOutcome& o) {
    switch (o.failure) {
        case LinkFailure::None:
            return "";
        case LinkFailure::Cancelled:
            return K52_EN("cancelled");
        case LinkFailure::BadPortSettings:
            return K52_EN("port-settings");
        case LinkFailure::CannotOpenFile:
        case LinkFailure::LookupRecordTooLong:
        case LinkFailure::LookupNotConvertible:
        case LinkFailure::FileWrite:
            return K52_EN("file");
        case LinkFailure::PortOpen:
            return K52_EN("port-open");
        case LinkFailure::IrPreparation:
            return K52_EN("ir-cradle");
        case LinkFailure::LineSettings:
            return K52_EN("line-settings");
        case LinkFailure::TransferFailed:
            return o.unanswered ? "no-reply" : "refused";
        case LinkFailure::NotReady:
            return K52_EN("no-reply");
        case LinkFailure::TimedOut:
            return K52_EN("timeout");
        case LinkFailure::TooManyRefusals:
            return K52_EN("refused");
        case LinkFailure::MaybeDuplicated:
            return K52_EN("duplicate");
        case LinkFailure::LineLost:
            return K52_EN("line-lost");
    }
    return K52_EN("failed");
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
