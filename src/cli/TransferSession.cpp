// A terminal's transfer under k52cli: message boxes as lines, progress and the lines that explain a
// failure, all tagged with the terminal's row.
#include "cli/TransferSession.h"

#include <thread>
#include <vector>

#include "cli/Commands.h"
#include "link/TerminalLink.h"
#include "util/Translate.h"

namespace k52::cli {
namespace {

// In the language the user chose, as the desktop's message box would say it.
std::string Line(std::string_view title, std::string_view text) {
    return std::string(Translate(title)) + ": " + std::string(Translate(text));
}

// Message boxes become "TITLE: TEXT" lines on the terminal's row; progress goes to its board line.
class SessionObserver : public WindowlessObserver {
  public:
    SessionObserver(ProgressBoard& board, std::size_t row) : board_(board), row_(row) {}

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon,
                              MessageButtons buttons) override {
        board_.Message(row_, Line(title, text));
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    void Idle() override { board_.Tick(); }
    void OnProgress(const TransferProgress& p) override {
        last = p;
        // The end is drawn by the caller, who knows why it failed.
        if (p.phase != TransferPhase::Done && p.phase != TransferPhase::Failed) board_.Update(row_, p);
    }

    TransferProgress last;

  private:
    ProgressBoard& board_;
    std::size_t row_;
};

// The lines that follow a failure's message box: what a script needs that the box does not say.
std::vector<std::string> Explanations(const TransferOutcome& o, const std::string& file) {
    std::vector<std::string> lines;
    auto withReason = [&](std::string line) {
        if (!o.reason.empty()) line += ": " + o.reason;
        lines.push_back(std::move(line));
    };
    switch (o.failure) {
        case LinkFailure::CannotOpenFile:
            withReason("k52cli: cannot " + std::string(o.dataFile.empty() ? "read " : "write ") + file);
            break;
        case LinkFailure::FileWrite:
            withReason("k52cli: cannot write " + file);
            break;
        case LinkFailure::PortOpen:
            if (!o.lastMessage.detail.empty()) lines.push_back("k52cli: " + o.lastMessage.detail);
            break;
        case LinkFailure::LineSettings:
            // The desktop's receive command ends silently here; a script still deserves a reason.
            lines.push_back("k52cli: the device refused the line settings (speed, 8N1)");
            break;
        case LinkFailure::LineLost:
            lines.push_back("k52cli: the device went away during the exchange (unplugged?)");
            break;
        default:
            break;
    }
    for (long line : o.duplicateLines)
        lines.push_back("k52cli: the terminal may hold line " + std::to_string(line) + " of " + file +
                        " more than once");
    return lines;
}

}  // namespace

TerminalResult RunSession(const SessionPlan& plan, ApplicationTemplate t, LineFactory& lines, Clock& clock,
                          ProgressBoard& board, std::size_t row) {
    SessionObserver observer(board, row);
    TerminalLink link(t, lines, clock);
    const bool receive = plan.job == TransferJob::Receive;
    TransferOutcome o;
    if (receive) {
        o = link.Receive({plan.transport, plan.file, plan.overwrite, plan.stop}, observer);
    } else {
        DownloadRequest request;
        request.transport = plan.transport;
        request.payload = plan.job == TransferJob::Lookup ? Payload::Lookup : Payload::Program;
        request.lookupFile = plan.file;
        request.encoding = plan.encoding;
        request.retries = plan.retries;
        request.stop = plan.stop;
        o = link.Download(request, observer);
    }

    TerminalResult r;
    r.device = plan.device;
    r.outcome = o;
    r.seconds = o.seconds;
    r.packets = o.packets;
    r.bytes = o.bytesSent + o.bytesReceived;
    r.records = receive ? o.recordsStored : o.recordsSent;
    r.file = !receive ? plan.file : o.fileKept ? o.dataFile : std::string();
    if (!o.lastMessage.text.empty()) r.message = Line(o.lastMessage.title, o.lastMessage.text);
    r.exitCode = ExitCodeOf(o);
    if (o.lastMayComeAgain)
        board.Message(row, "k52cli: record " + std::to_string(o.recordsStored) +
                               " may come again next time: the terminal may not have heard it was stored");
    if (receive && o.fileKept && o.dataFile != plan.file)
        board.Message(row, "k52cli: " + plan.file + " appeared meanwhile; the records are in " + o.dataFile);
    if (o.failure == LinkFailure::Cancelled)
        board.Message(row, receive
                               ? "k52cli: interrupted after " + std::to_string(o.recordsStored) + " records"
                               : std::string("k52cli: interrupted"));
    for (const std::string& line : Explanations(o, plan.file)) board.Message(row, line);
    board.Update(row, observer.last, FailureCode(o));
    return r;
}

void RunSideBySide(std::size_t count, const std::function<void(std::size_t)>& run) {
    if (count == 1) {
        run(0);
        return;
    }
    std::vector<std::thread> threads;
    threads.reserve(count);
    for (std::size_t i = 0; i < count; ++i) threads.emplace_back(run, i);
    for (std::thread& t : threads) t.join();
}

}  // namespace k52::cli
