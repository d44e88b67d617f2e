// receive: the records of one terminal into a file, or of several into a folder, a file each.
#include <cerrno>
#include <memory>
#include <optional>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/TerminalRuns.h"
#include "i18n/Translate.h"
#include "util/platform/System.h"

namespace k52::cli {
namespace {

// Where each terminal's records go; the exit code when the folder cannot be had or two terminals would
// share a file (a usage error, found before anything is created).
std::optional<int> PlanFiles(const TransferOptions& a, const std::vector<std::string>& devices,
                             std::vector<std::string>& files) {
    if (devices.size() == 1) {
        files = {a.file};
        return std::nullopt;
    }
    for (std::size_t i = 0; i < devices.size(); ++i) {
        std::string path = a.file + "/" + RecordFileName(devices[i]);
        for (std::size_t k = 0; k < i; ++k)
            if (files[k] == path) {
                PrintLine(Localize("%1 and %2 would both store into %3", {devices[k], devices[i], path}));
                return kExitUsage;
            }
        files.push_back(std::move(path));
    }
    if (const platform::SysError made = platform::MakeDirectory(a.file, 0777);
        made && made.number != EEXIST) {
        PrintLine(Localize("cannot create %1: %2", {a.file, SystemReason(made.number)}));
        return kExitFile;
    }
    if (platform::KindOf(a.file) != platform::PathKind::Directory) {
        PrintLine(Localize("%1 is not a folder; several terminals store into a folder", {a.file}));
        return kExitFile;
    }
    return std::nullopt;
}

int RunReceive(const TransferOptions& a) {
    const std::vector<std::string> devices = DeviceNames(a);
    std::vector<std::string> files;
    if (std::optional<int> rc = PlanFiles(a, devices, files)) return *rc;
    std::vector<TerminalResult> results(devices.size());
    // An existing file is someone's data: replaced only when asked (the desktop's dialog asks).
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (a.overwrite || platform::KindOf(files[i]) != platform::PathKind::Regular) continue;
        TerminalResult& r = results[i];
        r.device = devices[i];
        r.failure = "file";
        r.exitCode = kExitFile;
        r.refusal = Localize("%1 exists; add --overwrite to replace it", {files[i]});
        r.message = "k52cli: " + Substitute(K52_EN("%1 exists"), {files[i]});  // JSON's words stay English
    }
    return RunTerminals(a, JobKind::Receive, StartupTemplate(), files, std::move(results));
}

}  // namespace

void RegisterReceiveCommand(CLI::App& app, CommandList& commands) {
    auto receive = std::make_shared<TransferOptions>();
    CLI::App* sub = app.add_subcommand("receive", Localize("receive the records a terminal collected"));
    AddTerminalOptions(*sub, *receive, false, "OUT",
                       Localize("the file to store the records in (a folder with several terminals)"));
    sub->add_flag("--overwrite", receive->overwrite, Localize("replace OUT when it exists"));
    commands.push_back(
        {sub, [receive] { return CheckTerminals(*receive); }, [receive] { return RunReceive(*receive); }});
}

}  // namespace k52::cli
