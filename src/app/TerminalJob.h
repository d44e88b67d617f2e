// One terminal's transfer as a job that runs unattended beside others: k52cli's several terminals and
// the desktop's Terminals window run the same job, each reporting to a board of its own.
#pragma once

#include <string>
#include <vector>

#include "line/Clock.h"
#include "line/SerialLine.h"
#include "template/Template.h"
#include "transfer/LookupData.h"
#include "transfer/TerminalNames.h"
#include "transfer/TransferOutcome.h"
#include "transfer/TransferProgress.h"
#include "transfer/TransferRequest.h"

namespace k52 {

enum class JobKind { Program, Lookup, Receive };

struct TerminalJob {
    JobKind kind = JobKind::Program;
    Transport transport = Transport::Direct;
    LookupEncoding encoding = LookupEncoding::Auto;
    unsigned retries = 0;    // how many times a failed download starts again
    std::string file;        // the template or lookup file sent, or the data file written
    std::string device;      // the name the terminal is known by
    bool overwrite = false;  // a receive may replace a file that stands at `file`
    const StopFlag* stop = nullptr;
    bool allowEmpty = false;  // a lookup file without records may go (it empties the terminal's data)
    int lookupNumber = 0;     // the template's lookup file the data fills (1 to 3), told back when done
};

// Where a job's notices (as "TITLE: TEXT" lines in the chosen language) and progress go; called on the
// job's own thread.
class JobBoard {
  public:
    virtual ~JobBoard() = default;
    virtual void Message(const std::string& line) = 0;
    virtual void Progress(const TransferProgress& progress) = 0;
};

struct JobResult {
    std::string device;
    TransferOutcome outcome;
    int packets = 0;      // program packets acknowledged
    int records = 0;      // lookup records sent, or records stored by a receive
    std::string file;     // the file sent or written; empty when none
    double seconds = 0;   // from the start of the transfer to its end
    long long bytes = 0;  // sent and received on the line
    std::string message;  // the notice it ended with, "TITLE: TEXT"
    // What a person or a script needs beyond the notices, in the chosen language (see OutcomeNotes).
    std::vector<std::string> notes;
    TransferProgress last;  // where it stood when it ended
};

// Runs `job` on `lines` and `clock` with the template `t` (its port and speed already set).
JobResult RunTerminalJob(const TerminalJob& job, ApplicationTemplate t, LineFactory& lines, Clock& clock,
                         JobBoard& board);

}  // namespace k52
