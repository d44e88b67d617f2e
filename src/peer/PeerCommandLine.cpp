// k52peer's options on CLI11, and the faults and records they name.
#include "peer/PeerCommandLine.h"

#include <CLI/CLI.hpp>

#include <vector>

#include "protocol/LineSpeeds.h"
#include "util/Parse.h"
#include "util/Version.h"

namespace k52 {
namespace {

constexpr unsigned kMaxCount = 64;

const char kDescription[] =
    "k52peer: creates a pseudo-terminal, prints its path as the first line, and plays a K52 terminal on it\n"
    "until the exchange ends (a program or lookup download, or an upload of the records) and the host\n"
    "closes the line, or until it is stopped (Ctrl+C). Then it prints what it received and verified.\n"
    "Point k52cli at the path with --device PATH, or set K52_COM1=PATH and use --port COM1.";

const char kExitHelp[] =
    "Exit status: 0 when an exchange ended and everything received verified, 1 otherwise, 2 bad usage.\n";

// What the options fill in before the faults and the records file are looked at.
struct RawOptions {
    std::string records;
    std::vector<std::string> faults;
};

void AddTerminalOptions(CLI::App& app, PeerArguments& args, RawOptions& raw) {
    app.add_option_function<std::string>(
           "--cradle-speed",
           [&args](const std::string& v) {
               const auto bps = ParseUnsigned<std::uint32_t>(v);
               if (!bps || !BaudRateOfSpeed(*bps))
                   throw CLI::ValidationError("--cradle-speed must be 9600, 19200, 38400, 57600 or 115200");
               args.options.cradleSpeed = *bps;
           },
           "an infrared cradle in front of the terminal, listening at BPS:\n"
           "it echoes the probe byte only when the host's line runs at\n"
           "that speed, and relays at the speed the host switches it to")
        ->type_name("BPS");
    app.add_option("--records", raw.records,
                   "the collected records to upload, one per line (at most 251 bytes each)")
        ->type_name("FILE");
    app.add_option("--image-out", args.imageOut,
                   "write the 10500-byte program image once all 105 packets were verified")
        ->type_name("FILE");
    app.add_option("--lookup-out", args.lookupOut,
                   "write the lookup records received, one per line ended by CR LF")
        ->type_name("FILE");
    app.add_option_function<std::string>(
           "--expect",
           [&args](const std::string& v) {
               if (v == "program")
                   args.options.expect = PeerExpect::Program;
               else if (v == "lookup")
                   args.options.expect = PeerExpect::Lookup;
               else
                   throw CLI::ValidationError("--expect takes program or lookup");
           },
           "what the terminal is set to receive (program or lookup); by\n"
           "default it tells a program packet from a lookup record by\n"
           "their shape")
        ->type_name("KIND");
}

void AddPlayOptions(CLI::App& app, PeerArguments& args, RawOptions& raw) {
    app.add_flag("--pace", args.pace,
                 "take as long as a real line: every byte sent or received\n"
                 "costs ten bit times at the speed the host set");
    app.add_option_function<std::string>(
           "--adapter-latency",
           [&args](const std::string& v) {
               const auto ms = ParseUnsigned<unsigned>(v, 255);
               if (!ms || *ms < 1) throw CLI::ValidationError("--adapter-latency takes 1 to 255 (ms)");
               args.adapterLatencyMs = *ms;
           },
           "replies reach the host as through a USB serial adapter whose\n"
           "latency timer is MS ms: held until MS ms pass or 62 bytes gather")
        ->type_name("MS");
    app.add_option_function<std::string>(
           "--count",
           [&args](const std::string& v) {
               const auto n = ParseUnsigned<unsigned>(v, kMaxCount);
               if (!n || *n < 1)
                   throw CLI::ValidationError("--count takes 1 to " + std::to_string(kMaxCount));
               args.count = static_cast<int>(*n);
           },
           "play N terminals, each on its own pseudo-terminal (paths printed\n"
           "one a line); output files get .1, .2, ... after their names")
        ->type_name("N");
    app.add_option("--fault", raw.faults, "a fault to play, as often as needed (see below)")
        ->type_name("FAULT")
        ->allow_extra_args(false);
}

PeerCommand Usage(const std::string& why) {
    PeerCommand c;
    c.exitCode = kPeerExitUsage;
    c.err = why;
    return c;
}

}  // namespace

PeerCommand ParsePeerCommandLine(int argc, const char* const* argv) {
    CLI::App app(kDescription, "k52peer");
    app.footer(std::string(kExitHelp) + "\n" + kPeerFaultHelp);
    PeerArguments args;
    RawOptions raw;
    AddTerminalOptions(app, args, raw);
    AddPlayOptions(app, args, raw);
    app.set_version_flag("--version", VersionLine("k52peer"));
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForVersion& e) {
        PeerCommand version;
        version.out = std::string(e.what()) + "\n";
        return version;
    } catch (const CLI::CallForHelp&) {
        PeerCommand help;
        help.out = app.help();
        return help;
    } catch (const CLI::ParseError& e) {
        return Usage("k52peer: " + std::string(e.what()) +
                     "\nRun 'k52peer --help' for the options and faults.\n");
    }
    std::string error;
    if (app.count("--records") > 0 && !LoadPeerRecords(raw.records, args.options.records, &error))
        return Usage("k52peer: " + error + "\n");
    for (const std::string& text : raw.faults) {
        auto fault = ParsePeerFault(text, &error);
        if (!fault) return Usage("k52peer: " + error + "\n");
        args.options.faults.push_back(*fault);
    }
    PeerCommand play;
    play.play = std::move(args);
    return play;
}

}  // namespace k52
