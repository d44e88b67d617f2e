// k52cli's commands. Each takes the arguments after its name and returns the exit code.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

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
};

using Args = std::vector<std::string>;

int CmdNew(const Args& args);
int CmdShow(const Args& args);
int CmdImage(const Args& args);
int CmdSimulate(const Args& args);
int CmdDownload(const Args& args);
int CmdDownloadLookup(const Args& args);
int CmdReceive(const Args& args);

// The ports command with its parameters parsed; comPort is 0..5 for COM1..COM6.
int PortsList(PortScanner& scanner, bool json, std::ostream& out, std::ostream& err);
// Stores the device's stable by-id name when it has one; a device not plugged in yet is allowed.
int PortsAssign(int comPort, const std::string& device, std::ostream& out, std::ostream& err);
int PortsUnassign(int comPort, std::ostream& out, std::ostream& err);

}  // namespace k52::cli
