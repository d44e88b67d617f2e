// k52cli's commands: what each takes from its command line, and the exit codes they return.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/ExitCodes.h"
#include "transfer/LookupData.h"

namespace k52 {
class PortScanner;
}

namespace k52::cli {

using k52::ExitCode;
using k52::kExitBadTemplate;
using k52::kExitFailed;
using k52::kExitFile;
using k52::kExitInterrupted;
using k52::kExitOk;
using k52::kExitPort;
using k52::kExitUsage;

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

// Parses a whole command line (argv[0] first), runs the command and returns its exit code.
int RunCommandLine(int argc, const char* const* argv);

// The ports command with its parameters parsed; comPort is 0..5 for COM1..COM6.
int PortsList(PortScanner& scanner, bool json, std::ostream& out, std::ostream& err);
// Stores the device's stable by-id name when it has one; a device not plugged in yet is allowed.
int PortsAssign(int comPort, const std::string& device, std::ostream& out, std::ostream& err);
int PortsUnassign(int comPort, std::ostream& out, std::ostream& err);

}  // namespace k52::cli
