// k52cli's commands: what each takes from its command line, and the exit codes they return.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "link/LookupData.h"

namespace k52 {
class PortScanner;
}

namespace k52::cli {

enum ExitCode {
    kExitOk = 0,
    kExitFailed = 1,       // the operation ran and failed
    kExitUsage = 2,        // bad usage
    kExitFile = 3,         // a file could not be read, created or written
    kExitPort = 4,         // the serial port could not be opened or prepared
    kExitBadTemplate = 5,  // a template file was refused (wrong magic or truncated)
    kExitInterrupted = 6,  // stopped by Ctrl+C, SIGTERM or SIGHUP; what was acknowledged is kept
};

// A terminal of a transfer: exactly one of `device` and `comPort` is set.
struct TerminalAddress {
    std::optional<std::string> device;
    std::optional<int> comPort;  // 0 = COM1
};

// download, download-lookup and receive: one terminal or several, in command-line order.
struct TransferOptions {
    std::string file;
    std::vector<TerminalAddress> terminals;
    bool ir = false;
    std::optional<int> baudRate;                     // the template's speed code, 0 = 115200
    unsigned retries = 0;                            // Yes answers to the retry question before No
    bool overwrite = false;                          // receive: replace an existing OUT
    LookupEncoding encoding = LookupEncoding::Auto;  // download-lookup: how the file is read
    bool allowEmpty = false;                         // download-lookup: a file without records may go
    std::string layoutTemplate;                      // download-lookup: compare with this template's layout
    int lookupNumber = 0;                            // download-lookup: the lookup file (1..3) it fills
    bool forceLayout = false;                        // download-lookup: send even when it does not fit
    bool quiet = false;                              // no progress lines
    bool json = false;                               // the closing report as JSON
};

int CmdDownload(const TransferOptions& o);
int CmdDownloadLookup(const TransferOptions& o);
int CmdReceive(const TransferOptions& o);

// Parses a whole command line (argv[0] first), runs the command and returns its exit code.
int RunCommandLine(int argc, const char* const* argv);

// The ports command with its parameters parsed; comPort is 0..5 for COM1..COM6.
int PortsList(PortScanner& scanner, bool json, std::ostream& out, std::ostream& err);
// Stores the device's stable by-id name when it has one; a device not plugged in yet is allowed.
int PortsAssign(int comPort, const std::string& device, std::ostream& out, std::ostream& err);
int PortsUnassign(int comPort, std::ostream& out, std::ostream& err);

}  // namespace k52::cli
