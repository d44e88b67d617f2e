// One terminal's transfer as a job that runs unattended beside others: k52cli's several terminals and
// the desktop's Terminals window run the same job, each reporting to a board of its own.
#pragma once

#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/LookupData.h"
#include "link/SerialLine.h"
#include "link/TransferOutcome.h"
#include "link/TransferProgress.h"
#include "link/TransferRequest.h"
#include "template/Template.h"

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
};

// Where a job's message boxes ("TITLE: TEXT", in the chosen language) and progress go; called on the
// job's own thread.
class JobBoard {
  public:
    virtual ~JobBoard() = default;
    virtual void Message(const std::string& line) = 0;
    virtual void Progress(const TransferProgress& progress) = 0;
    // Called while the transfer waits: a chance to redraw.
    virtual void Tick() {}
};

struct JobResult {
    std::string device;
    TransferOutcome outcome;
    int packets = 0;      // program packets acknowledged
    int records = 0;      // lookup records sent, or records stored by a receive
    std::string file;     // the file sent or written; empty when none
    double seconds = 0;   // from the start of the transfer to its end
    long long bytes = 0;  // sent and received on the line
    std::string message;  // the last message box, "TITLE: TEXT"
    // What a person or a script needs beyond the message boxes: why a port would not open, the lines
    // the terminal may hold twice, where the records went... one sentence each.
    std::vector<std::string> notes;
    TransferProgress last;  // where it stood when it ended
};

// Runs `job` on `lines` and `clock` with the template `t` (its port and speed already set).
JobResult RunTerminalJob(const TerminalJob& job, ApplicationTemplate t, LineFactory& lines, Clock& clock,
                         JobBoard& board);

// "port-open", "no-reply", "refused", ...; empty when the transfer succeeded. Codes for scripts, marked
// (K52_EN) so that a table can show them in words.
std::string FailureCode(const TransferOutcome& outcome);

// The name a terminal goes by in a folder: its device's own name (a by-id path's by-id name).
std::string TerminalName(const std::string& device);
// The file name a terminal's records get in a receive folder: its name and ".TXT".
std::string RecordFileName(const std::string& device);

}  // namespace k52
