// One terminal's transfer run unattended: its request built from the job, its notices as lines, and the
// result with the notes that explain it.
#include "app/TerminalJob.h"

#include "app/TransferWording.h"
#include "transfer/TerminalLink.h"

namespace k52 {
namespace {

// Notices become lines on the job's board, with the progress.
class BoardObserver : public TransferObserver {
  public:
    explicit BoardObserver(JobBoard& board) : board_(board) {}

    void OnNotice(const Notice& notice) override { board_.Message(NoticeLine(notice)); }
    void OnProgress(const TransferProgress& p) override {
        last = p;
        // The end is drawn by the caller, who knows why it failed.
        if (p.phase != TransferPhase::Done && p.phase != TransferPhase::Failed &&
            p.phase != TransferPhase::Closing)
            board_.Progress(p);
    }

    TransferProgress last;

  private:
    JobBoard& board_;
};

TransferOutcome Run(const TerminalJob& job, TerminalLink& link, TransferObserver& observer) {
    if (job.kind == JobKind::Receive)
        return link.Receive({job.transport, job.file, job.overwrite, job.stop, {}}, observer);
    DownloadRequest request;
    request.transport = job.transport;
    request.payload = job.kind == JobKind::Lookup ? Payload::Lookup : Payload::Program;
    request.lookupFile = job.file;
    request.encoding = job.encoding;
    request.allowEmpty = job.allowEmpty;
    request.lookupNumber = job.lookupNumber;
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
    if (const Notice* ending = o.Ending()) r.message = NoticeLine(*ending);
    r.last = observer.last;
    r.notes = OutcomeNotes(o, receive, job.file);
    return r;
}

}  // namespace k52
