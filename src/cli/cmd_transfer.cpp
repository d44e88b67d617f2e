// download, download-lookup and receive: the desktop program's transfers from the command line, to one
// terminal or to several side by side, with progress lines and a closing report.
#include <cerrno>
#include <iostream>
#include <optional>

#include "cli/CliSupport.h"
#include "cli/TransferSession.h"
#include "i18n/Translate.h"
#include "link/Clock.h"
#include "link/SerialLine.h"
#include "link/TerminalJob.h"
#include "util/platform/System.h"

namespace k52::cli {
namespace {

std::string DeviceName(const TerminalAddress& where) {
    return where.device ? *where.device : ComPortDevice(*where.comPort);
}

bool Exists(const std::string& path) {
    return platform::KindOf(path) == platform::PathKind::Regular;
}

struct Run {
    const TransferOptions& options;
    TransferJob job;
    std::vector<std::string> devices;
    std::vector<std::string> files;  // what each terminal sends or writes
    std::vector<TerminalResult> results;
    std::vector<bool> refused;  // settled before its transfer began
};

// Receive: where each terminal's records go, and those refused because their file exists already.
// False (with the exit code) when the folder cannot be had.
std::optional<int> PlanReceiveFiles(Run& run) {
    const TransferOptions& a = run.options;
    if (run.devices.size() == 1) {
        run.files = {a.file};
        return std::nullopt;
    }
    // Names that collide are a usage error, found before anything is created.
    for (std::size_t i = 0; i < run.devices.size(); ++i) {
        std::string path = a.file + "/" + RecordFileName(run.devices[i]);
        for (std::size_t k = 0; k < i; ++k)
            if (run.files[k] == path) {
                std::cerr << "k52cli: "
                          << Localize("%1 and %2 would both store into %3",
                                      {run.devices[k], run.devices[i], path})
                          << "\n";
                return kExitUsage;
            }
        run.files.push_back(std::move(path));
    }
    if (!platform::MakeDirectory(a.file, 0777) && errno != EEXIST) {
        std::cerr << "k52cli: " << Localize("cannot create %1: %2", {a.file, SystemReason(errno)}) << "\n";
        return kExitFile;
    }
    if (platform::KindOf(a.file) != platform::PathKind::Directory) {
        std::cerr << "k52cli: "
                  << Localize("%1 is not a folder; several terminals store into a folder", {a.file}) << "\n";
        return kExitFile;
    }
    return std::nullopt;
}

// Ctrl+C, SIGTERM and SIGHUP end every terminal's transfer at its next safe point; a receive keeps
// what was acknowledged. Without SA_RESTART a wait in poll() ends at once.
StopFlag gStop{false};

void RequestStop(int) {
    gStop.store(true);
}

void CatchStops() {
    platform::CatchStopRequests(RequestStop);
}

int RunTerminals(const TransferOptions& a, TransferJob job, const ApplicationTemplate& base) {
    Run run{a, job, {}, {}, {}, {}};
    for (const TerminalAddress& where : a.terminals) run.devices.push_back(DeviceName(where));
    const std::size_t count = run.devices.size();
    if (job == TransferJob::Receive) {
        if (auto rc = PlanReceiveFiles(run)) return *rc;
    } else {
        run.files.assign(count, a.file);
    }
    run.results.resize(count);
    run.refused.assign(count, false);

    const ProgressMode mode = a.quiet                               ? ProgressMode::Quiet
                              : platform::StandardErrorIsTerminal() ? ProgressMode::Live
                                                                    : ProgressMode::Plain;
    MonotonicClock boardClock;
    ProgressBoard board(std::cerr, mode, run.devices, count > 1,
                        [&boardClock] { return boardClock.NowMs(); });
    if (mode == ProgressMode::Live)
        if (const std::optional<unsigned> columns = platform::StandardErrorColumns())
            board.setWidth(*columns);

    // An existing file is someone's data: replaced only when asked (the desktop's dialog asks).
    for (std::size_t i = 0; i < count && job == TransferJob::Receive; ++i) {
        if (a.overwrite || !Exists(run.files[i])) continue;
        board.Message(i, "k52cli: " + Localize("%1 exists; add --overwrite to replace it", {run.files[i]}));
        TerminalResult& r = run.results[i];
        r.device = run.devices[i];
        r.failure = "file";
        r.exitCode = kExitFile;
        r.message =
            "k52cli: " + Substitute(K52_EN("%1 exists"), {run.files[i]});  // JSON's words stay English
        run.refused[i] = true;
    }

    CatchStops();
    RunSideBySide(count, [&](std::size_t i) {
        if (run.refused[i]) return;
        const TerminalAddress& where = a.terminals[i];
        ApplicationTemplate t = base;
        if (where.comPort) t.portSettings.comPort = static_cast<u8>(*where.comPort);
        if (a.baudRate) t.portSettings.baudRate = static_cast<u8>(*a.baudRate);
        SystemLineFactory lines = where.device ? SystemLineFactory(*where.device) : SystemLineFactory();
        MonotonicClock clock;
        SessionPlan plan{job,          a.ir ? Transport::Cradle : Transport::Direct,
                         a.encoding,   a.retries,
                         run.files[i], run.devices[i],
                         a.overwrite,  &gStop,
                         a.allowEmpty};
        run.results[i] = RunSession(plan, std::move(t), lines, clock, board, i);
        for (const std::string& warning : lines.TakeWarnings()) board.Message(i, LocalizeFinished(warning));
        if (!lines.latencyHint().empty())
            board.Message(i, "k52cli: " + Localize("note: %1", {LocalizeFinished(lines.latencyHint())}));
    });
    board.Finish();

    if (a.json) {
        std::cout << ReportJson(run.results);
    } else if (count > 1) {
        std::cout << ReportTable(run.results);
    } else if (job == TransferJob::Receive && !run.refused[0]) {
        const TerminalResult& r = run.results[0];
        const std::string stored = std::to_string(r.outcome.recordsStored);
        std::cout << (r.outcome.fileKept ? Localize("%1 records stored in %2", {stored, r.outcome.dataFile})
                                         : Localize("%1 records stored", {stored}))
                  << "\n";
    }
    return OverallExitCode(run.results);
}

}  // namespace

int CmdDownload(const TransferOptions& a) {
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(a.file, t); rc != kExitOk) return rc;
    return RunTerminals(a, TransferJob::Program, t);
}

int CmdDownloadLookup(const TransferOptions& a) {
    // COM1 at 115200 unless told otherwise
    return RunTerminals(a, TransferJob::Lookup, StartupTemplate());
}

int CmdReceive(const TransferOptions& a) {
    return RunTerminals(a, TransferJob::Receive, StartupTemplate());
}

}  // namespace k52::cli
