// Runs a program from an argument vector (never a shell command line): feeds its standard input,
// captures its standard output and error, and returns its exit code.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "util/UniqueFd.h"

namespace k52::test {

struct ProcessResult {
    int exitCode = -1;  // -1 when it did not exit normally (a signal, or killed after the limit)
    std::string out;
    std::string err;
};

struct RunOptions {
    std::string input;                  // written to its standard input, which is then closed
    std::vector<std::string> extraEnv;  // "NAME=value", added to this process's environment
    int limitMs = 30000;                // a safety net against a hung child, not a time-out under test
    std::string workingDirectory;       // empty: this process's
    std::string outputFile;             // when set, standard output goes there (e.g. /dev/full), uncaptured
};

// A running program. The destructor kills one that is still running and waits for it.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const RunOptions& options = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of standard output, without its '\n' ("" at its end).
    std::string ReadLine();
    // Writes what is left of the input, reads both outputs to their end, waits and returns the result.
    ProcessResult Finish();
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    UniqueFd in_, out_, err_;
    std::string input_;
    std::string outSoFar_;  // read by ReadLine beyond the line it returned
    int limitMs_;
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const RunOptions& options = {});

}  // namespace k52::test
