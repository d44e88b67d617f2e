// k52cli's exit codes: what a script can rely on, whatever the language.
#pragma once

namespace k52 {

enum ExitCode {
    kExitOk = 0,
    kExitFailed = 1,       // the operation ran and failed
    kExitUsage = 2,        // bad usage
    kExitFile = 3,         // a file could not be read, created or written
    kExitPort = 4,         // the serial port could not be opened or prepared
    kExitBadTemplate = 5,  // a template file was refused (wrong magic or truncated)
    kExitInterrupted = 6,  // stopped by Ctrl+C, SIGTERM or SIGHUP; what was acknowledged is kept
};

}  // namespace k52
