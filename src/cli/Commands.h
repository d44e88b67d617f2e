// k52cli's commands. Each takes the arguments after its name and returns the exit code.
#pragma once

#include <string>
#include <vector>

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
int CmdImport(const Args& args);
int CmdDiff(const Args& args);

// The commands behind import and diff, on parsed parameters.
int RunImport(const std::string& in, const std::string& out, bool normalise);
int RunDiff(const std::string& a, const std::string& b, bool json);

}  // namespace k52::cli
