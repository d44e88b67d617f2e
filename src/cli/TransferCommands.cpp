// download, download-lookup and receive: their options, shared where the three agree (the runs are in
// cmd_transfer.cpp).
#include <memory>

#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "cli/LookupLayoutCheck.h"
#include "i18n/Translate.h"
#include "protocol/LineSpeeds.h"
#include "util/Parse.h"

namespace k52::cli {
namespace {

std::optional<int> ComPortIndex(std::string_view text) {
    if (text.size() != 4 || (text.substr(0, 3) != "COM" && text.substr(0, 3) != "com")) return std::nullopt;
    const auto n = ParseUnsigned<unsigned>(text.substr(3), 6);
    if (!n || *n == 0) return std::nullopt;
    return static_cast<int>(*n) - 1;
}

void AddTransferOptions(CLI::App& sub, TransferOptions& o, bool withRetries, const std::string& fileHelp) {
    sub.add_option("FILE", o.file, fileHelp)->required()->check(kPath);
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
               const auto index = ComPortIndex(v);
               if (!index) throw CLI::ValidationError(Localize("--port takes COM1 to COM6"));
               o.terminals.push_back({std::nullopt, index});
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

std::string DeviceOrPort(const TransferOptions& o) {
    if (o.terminals.empty()) return Localize("give either --device PATH or --port COMn");
    for (std::size_t i = 0; i < o.terminals.size(); ++i)
        for (std::size_t k = 0; k < i; ++k)
            if (o.terminals[i].device == o.terminals[k].device &&
                o.terminals[i].comPort == o.terminals[k].comPort)
                return Localize(
                    "a terminal is named twice: %1",
                    {o.terminals[i].device ? *o.terminals[i].device
                                           : "COM" + std::to_string(*o.terminals[i].comPort + 1)});
    return std::string();
}

}  // namespace

void RegisterTransferCommands(CLI::App& app, CommandList& commands) {
    auto download = std::make_shared<TransferOptions>();
    CLI::App* sub = app.add_subcommand("download", Localize("download a template to a terminal"));
    AddTransferOptions(*sub, *download, true, Localize("the template file"));
    commands.push_back({sub,
                        "download FILE (--device PATH | --port COMn)... [--ir] [--speed BPS] [--retries N] "
                        "[--quiet] [--json]",
                        [download] { return DeviceOrPort(*download); },
                        [download] { return CmdDownload(*download); }});

    auto lookup = std::make_shared<TransferOptions>();
    sub = app.add_subcommand("download-lookup",
                             Localize("download lookup data (one record a line) to a terminal"));
    AddTransferOptions(*sub, *lookup, true, Localize("the lookup data file"));
    sub->add_option_function<std::string>(
           "--encoding",
           [lookup](const std::string& v) {
               const auto e = ParseLookupEncoding(v);
               if (!e) throw CLI::ValidationError(Localize("--encoding takes auto, utf-8 or cp950"));
               lookup->encoding = *e;
           },
           Localize("how the file is written: auto (UTF-8 when it holds UTF-8 characters, else CP950), utf-8 "
                    "or cp950"))
        ->type_name("ENC");
    sub->add_flag("--allow-empty", lookup->allowEmpty,
                  Localize("send a file without records, which empties the terminal's lookup data"));
    AddLookupLayoutOptions(*sub, *lookup);
    commands.push_back(
        {sub,
         "download-lookup DATA (--device PATH | --port COMn)... [--ir] [--speed BPS] [--retries N] "
         "[--encoding auto|utf-8|cp950] [--allow-empty] [--template T --lookup N [--force]] "
         "[--quiet] [--json]",
         [lookup] { return DeviceOrPort(*lookup); },
         [lookup] {
             const int rc = CheckLookupLayoutFirst(*lookup);
             return rc != kExitOk ? rc : CmdDownloadLookup(*lookup);
         }});

    auto receive = std::make_shared<TransferOptions>();
    sub = app.add_subcommand("receive", Localize("receive the records a terminal collected"));
    AddTransferOptions(*sub, *receive, false,
                       Localize("the file to store the records in (a folder with several terminals)"));
    sub->add_flag("--overwrite", receive->overwrite, Localize("replace OUT when it exists"));
    commands.push_back(
        {sub,
         "receive OUT (--device PATH | --port COMn)... [--ir] [--speed BPS] [--overwrite] [--quiet] [--json]",
         [receive] { return DeviceOrPort(*receive); }, [receive] { return CmdReceive(*receive); }});
}

}  // namespace k52::cli
