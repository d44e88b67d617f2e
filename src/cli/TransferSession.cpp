// A terminal's job under k52cli: its lines and progress on the board's row, its notes as k52cli's own.
#include "cli/TransferSession.h"

#include <thread>
#include <vector>

#include "cli/Commands.h"
#include "i18n/Translate.h"

namespace k52::cli {
namespace {

class RowBoard : public JobBoard {
  public:
    RowBoard(ProgressBoard& board, std::size_t row) : board_(board), row_(row) {}
    void Message(const std::string& line) override { board_.Message(row_, line); }
    void Progress(const TransferProgress& progress) override { board_.Update(row_, progress); }
    void Tick() override { board_.Tick(); }

  private:
    ProgressBoard& board_;
    std::size_t row_;
};

}  // namespace

TerminalResult RunSession(const SessionPlan& plan, ApplicationTemplate t, LineFactory& lines, Clock& clock,
                          ProgressBoard& board, std::size_t row) {
    RowBoard rowBoard(board, row);
    const JobResult job = RunTerminalJob(plan, std::move(t), lines, clock, rowBoard);
    TerminalResult r;
    r.device = job.device;
    r.outcome = job.outcome;
    r.seconds = job.seconds;
    r.packets = job.packets;
    r.bytes = job.bytes;
    r.records = job.records;
    r.file = job.file;
    r.message = job.message;
    r.exitCode = ExitCodeOf(job.outcome);
    for (const std::string& note : job.notes) board.Message(row, "k52cli: " + LocalizeFinished(note));
    board.Update(row, job.last, FailureCode(job.outcome));
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
