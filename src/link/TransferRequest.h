// A transfer as the front end decides it before it starts: nothing is chosen or asked while it runs.
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "link/LookupData.h"
#include "link/TransferOutcome.h"

namespace k52 {

// Set from any thread to end a transfer at its next safe point: between packets of a download, at a
// record boundary of a receive (nothing more is acknowledged; what was is kept).
using StopFlag = std::atomic<bool>;

struct DownloadRequest {
    Transport transport = Transport::Direct;
    Payload payload = Payload::Program;
    std::string lookupFile;  // Payload::Lookup: the data file to send
    LookupEncoding encoding = LookupEncoding::Auto;
    // Payload::Lookup: a file without records may be sent, leaving the terminal without lookup data.
    bool allowEmpty = false;
    // How many times a failed download is started again without asking; unset: the observer is asked.
    std::optional<unsigned> retries;
    const StopFlag* stop = nullptr;
};

struct ReceiveRequest {
    Transport transport = Transport::Direct;
    std::string dataFile;
    // Whether the records may replace a file that stands at `dataFile` when they take its name.
    bool replace = true;
    const StopFlag* stop = nullptr;
};

}  // namespace k52
