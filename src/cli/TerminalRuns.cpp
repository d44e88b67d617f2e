// The terminals of a transfer command side by side: each its own line, clock and board row, a stop for
// all of them, and the report once every one has ended.
#include "cli/TerminalRuns.h"

#include <condition_variable>
#include <iostream>
#include <mutex>
#include <thread>

#include "app/TransferWording.h"
#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "line/Clock.h"
#include "line/SerialLine.h"
#include "protocol/LineSpeeds.h"
#include "util/Parse.h"
#include "util/platform/System.h"

namespace k52::cli {
namespace {

// Ctrl+C, SIGTERM and SIGHUP end every terminal's transfer at its next safe point; a receive keeps
// what was acknowledged. Without SA_RESTART a wait in poll() ends at once.
StopFlag gStop{false};

void RequestStop(int) {
    gStop.store(true);
}

class RowBoard : public JobBoard {
  public:
    RowBoard(ProgressBoard& board, std::size_t row) : board_(board), row_(row) {}
    void Message(const std::string& line) override { board_.Message(row_, line); }
    void Progress(const TransferProgress& progress) override { board_.Update(row_, progress); }

  private:
    ProgressBoard& board_;
    std::size_t row_;
};

// Redraws the live board while the transfers wait, as its own throttle allows, until the run ends.
class BoardTicker {
  public:
    explicit BoardTicker(ProgressBoard& board)
        : thread_([this, &board] {
              std::unique_lock<std::mutex> lock(mutex_);
              while (!done_) {
                  cv_.wait_for(lock, std::chrono::milliseconds(100));
                  board.Tick();
              }
          }) {}
    ~BoardTicker() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace

void AddTerminalOptions(CLI::App& sub, TransferOptions& o, bool withRetries, const std::string& file,
                        const std::string& fileHelp) {
    sub.add_option(file, o.file, fileHelp)->required()->check(kPath);
    // Each occurrence is taken as it is parsed, so --device and --port keep their command-line order.
    sub.add_option_function<std::string>(
           "--device",
           [&o](const std::string& v) {
               o.terminals.push_back({v, std::nullopt});
           },
           Localize("the serial device or pseudo-terminal to use (as often as needed)"))
        ->type_name("PATH")
        ->check(kPath)
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    sub.add_option_function<std::string>(
           "--port",
           [&o](const std::string& v) {
               o.terminals.push_back({std::nullopt, ParseComPortOption(v)});
           },
           Localize("a port name, COM1..COM6 (K52_COMn names its device; as often as needed)"))
        ->type_name("COMn")
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    sub.add_flag("--ir", o.ir, Localize("through the infrared cradle"));
    sub.add_option_function<std::string>(
           "--speed",
           [&o](const std::string& v) {
               const auto bps = ParseUnsigned<std::uint32_t>(v);
               o.baudRate = bps ? BaudRateOfSpeed(*bps) : std::nullopt;
               if (!o.baudRate)
                   throw CLI::ValidationError(Localize("--speed takes 9600, 19200, 38400, 57600 or 115200"));
           },
           Localize("the line speed instead of the template's"))
        ->type_name("BPS");
    if (withRetries)
        sub.add_option_function<std::string>(
               "--retries",
               [&o](const std::string& v) {
                   const auto n = ParseUnsigned<unsigned>(v, 1000000);
                   if (!n) throw CLI::ValidationError(Localize("--retries takes a number"));
                   o.retries = *n;
               },
               Localize("answer Yes N times to the question whether to try again (for each terminal)"))
            ->type_name("N");
    sub.add_flag("--quiet", o.quiet, Localize("no progress lines"));
    sub.add_flag("--json", o.json,
                 Localize("end with a JSON array on standard output, an object per terminal"));
}

std::string CheckTerminals(const TransferOptions& o) {
    if (o.terminals.empty()) return Localize("give either --device PATH or --port COMn");
    std::vector<std::string> names;
    for (const TerminalAddress& t : o.terminals)
        names.push_back(t.device ? *t.device : "COM" + std::to_string(*t.comPort + 1));
    return NamedTwice(names, K52_EN("a terminal is named twice: %1"));
}

std::vector<std::string> DeviceNames(const TransferOptions& o) {
    std::vector<std::string> devices;
    for (const TerminalAddress& where : o.terminals)
        devices.push_back(where.device ? *where.device : ComPortDevice(*where.comPort));
    return devices;
}

TerminalResult RunSession(const TerminalJob& job, ApplicationTemplate t, LineFactory& lines, Clock& clock,
                          ProgressBoard& board, std::size_t row) {
    RowBoard rowBoard(board, row);
    TerminalResult r;
    static_cast<JobResult&>(r) = RunTerminalJob(job, std::move(t), lines, clock, rowBoard);
    r.exitCode = ExitCodeOf(r.outcome);
    for (const std::string& note : r.notes) board.Message(row, "k52cli: " + note);
    board.Update(row, r.last, FailureCode(r.outcome));
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

int RunTerminals(const TransferOptions& a, JobKind kind, const ApplicationTemplate& base,
                 const std::vector<std::string>& files, std::vector<TerminalResult> results) {
    const std::vector<std::string> devices = DeviceNames(a);
    const std::size_t count = devices.size();
    results.resize(count);
    const ProgressMode mode = a.quiet                               ? ProgressMode::Quiet
                              : platform::StandardErrorIsTerminal() ? ProgressMode::Live
                                                                    : ProgressMode::Plain;
    MonotonicClock boardClock;
    ProgressBoard board(std::cerr, mode, devices, count > 1, [&boardClock] { return boardClock.NowMs(); });
    if (mode == ProgressMode::Live)
        if (const std::optional<unsigned> columns = platform::StandardErrorColumns())
            board.setWidth(*columns);
    for (std::size_t i = 0; i < count; ++i)
        if (!results[i].refusal.empty()) board.Message(i, "k52cli: " + results[i].refusal);

    platform::CatchStopRequests(RequestStop);
    {
        std::optional<BoardTicker> ticker;
        if (mode == ProgressMode::Live) ticker.emplace(board);
        RunSideBySide(count, [&](std::size_t i) {
            if (!results[i].failure.empty()) return;
            const TerminalAddress& where = a.terminals[i];
            ApplicationTemplate t = base;
            if (where.comPort) t.portSettings.comPort = static_cast<u8>(*where.comPort);
            if (a.baudRate) t.portSettings.baudRate = static_cast<u8>(*a.baudRate);
            SystemLineFactory lines = where.device ? SystemLineFactory(*where.device) : SystemLineFactory();
            MonotonicClock clock;
            TerminalJob job{kind,        a.ir ? Transport::Cradle : Transport::Direct,
                            a.encoding,  a.retries,
                            files[i],    devices[i],
                            a.overwrite, &gStop,
                            a.allowEmpty};
            job.lookupNumber = a.lookupNumber;
            results[i] = RunSession(job, std::move(t), lines, clock, board, i);
            for (const std::string& warning : lines.TakeWarnings())
                board.Message(i, LocalizeFinished(warning));
            if (!lines.latencyHint().empty())
                board.Message(i, "k52cli: " + Localize("note: %1", {LocalizeFinished(lines.latencyHint())}));
        });
    }
    board.Finish();

    if (a.json) {
        std::cout << ReportJson(results);
    } else if (count > 1) {
        std::cout << ReportTable(results);
    } else if (kind == JobKind::Receive && results[0].failure.empty()) {
        const TerminalResult& r = results[0];
        const std::string stored = std::to_string(r.outcome.recordsStored);
        std::cout << (r.outcome.fileKept ? Localize("%1 records stored in %2", {stored, r.outcome.dataFile})
                                         : Localize("%1 records stored", {stored}))
                  << "\n";
    }
    return OverallExitCode(results);
}

}  // namespace k52::cli
