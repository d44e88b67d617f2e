// A terminal's transfer under k52cli: message boxes as lines, scripted retry answers, progress and the
// lines that explain a failure, all tagged with the terminal's row.
#include "cli/TransferSession.h"

#include <thread>
#include <vector>

#include "i18n/Translate.h"
#include "link/TerminalLink.h"

namespace k52::cli {
namespace {

// Message boxes become "TITLE: TEXT" lines; questions take their answers from the plan.
class SessionUi : public WindowlessTransferUi {
  public:
    SessionUi(const SessionPlan& plan, ProgressBoard& board, std::size_t row)
        : board_(board), row_(row), yesAnswers_(plan.retries) {
        lookupChoice = plan.file;
        dataChoice = plan.file;
    }

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon,
                              MessageButtons buttons) override {
        lastMessage = Line(title, text);
        return Show(lastMessage, buttons);
    }
    // The report names what went wrong, not the question that follows it.
    MessageAnswer AskRetry(std::string_view text, std::string_view title) override {
        return Show(Line(title, text), MessageButtons::YesNo);
    }
    void Idle() override { board_.Tick(); }

    void OnProgress(const TransferProgress& p) override {
        last = p;
        if (p.phase == TransferPhase::SendingPacket) packets = p.done;
        if (p.phase == TransferPhase::SendingRecord) records = p.done;
        // The end is drawn by the caller, who knows why it failed.
        if (p.phase != TransferPhase::Done && p.phase != TransferPhase::Failed) board_.Update(row_, p);
    }

    std::string lastMessage;
    TransferProgress last;
    int packets = 0;
    int records = 0;

  private:
    // In the language the user chose, as the desktop's message box would say it.
    static std::string Line(std::string_view title, std::string_view text) {
        return std::string(Translate(title)) + ": " + std::string(Translate(text));
    }
    MessageAnswer Show(const std::string& line, MessageButtons buttons) {
        board_.Message(row_, line);
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (yesAnswers_ == 0) return MessageAnswer::No;
        --yesAnswers_;
        return MessageAnswer::Yes;
    }

    ProgressBoard& board_;
    std::size_t row_;
    unsigned yesAnswers_;
};

// Keeps the reason a port would not open, for a line after the message box text.
class ExplainingFactory : public LineFactory {
  public:
    explicit ExplainingFactory(LineFactory& inner) : inner_(inner) {}
    std::unique_ptr<SerialLine> OpenPort(int comPort, std::string* error) override {
        auto line = inner_.OpenPort(comPort, &reason);
        if (error) *error = reason;
        return line;
    }
    bool FixedDevice() const override { return inner_.FixedDevice(); }
    std::string reason;

  private:
    LineFactory& inner_;
};

// The lines that follow a failure's message box: what a script needs that the box does not say.
std::vector<std::string> Explanations(const TransferOutcome& o, const std::string& portReason,
                                      const std::string& file) {
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
            if (!portReason.empty()) lines.push_back("k52cli: " + portReason);
            break;
        case LinkFailure::LineSettings:
            // The desktop's receive command ends silently here; a script still deserves a reason.
            lines.push_back("k52cli: the device refused the line settings (speed, 8N1)");
            break;
        case LinkFailure::MaybeDuplicated:
            for (long line : o.duplicateLines)
                lines.push_back("k52cli: the terminal may hold line " + std::to_string(line) + " of " + file +
                                " more than once");
            break;
        case LinkFailure::LineLost:
            lines.push_back("k52cli: the device went away during the exchange (unplugged?)");
            break;
        default:
            break;
    }
    return lines;
}

}  // namespace

TerminalResult RunSession(const SessionPlan& plan, ApplicationTemplate t, LineFactory& lines, Clock& clock,
                          ProgressBoard& board, std::size_t row) {
    ExplainingFactory explaining(lines);
    SessionUi ui(plan, board, row);
    TerminalLink link(t, explaining, clock, ui);
    link.setLookupEncoding(plan.encoding);
    const std::int64_t start = clock.NowMs();
    const TransferOutcome o =
        plan.job == TransferJob::Receive
            ? link.RunReceive(plan.transport)
            : link.RunDownload(plan.transport,
                               plan.job == TransferJob::Lookup ? Payload::Lookup : Payload::Program);

    TerminalResult r;
    r.device = plan.device;
    r.outcome = o;
    r.seconds = static_cast<double>(clock.NowMs() - start) / 1000.0;
    r.packets = ui.packets;
    r.bytes = ui.last.bytesSent + ui.last.bytesReceived;
    r.records = plan.job == TransferJob::Receive ? o.recordsStored : ui.records;
    r.file = plan.job != TransferJob::Receive || o.fileKept ? plan.file : std::string();
    r.message = ui.lastMessage;
    r.exitCode = ExitCodeOf(o);
    if (o.lastMayComeAgain)
        board.Message(row, "k52cli: record " + std::to_string(o.recordsStored) +
                               " may come again next time: the terminal may not have heard it was stored");
    for (const std::string& line : Explanations(o, explaining.reason, plan.file)) board.Message(row, line);
    board.Update(row, ui.last, FailureCode(o));
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
