// A transfer as the front end decides it before it starts: nothing is chosen or asked while it runs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "line/Clock.h"
#include "transfer/LookupData.h"
#include "transfer/TransferOutcome.h"

namespace k52 {

struct DownloadRequest {
    Transport transport = Transport::Direct;
    Payload payload = Payload::Program;
    std::string lookupFile;  // Payload::Lookup: the data file to send
    LookupEncoding encoding = LookupEncoding::Auto;
    // Payload::Lookup: a file without records may be sent, leaving the terminal without lookup data.
    bool allowEmpty = false;
    // Payload::Lookup: which of the template's lookup files the data fills (1 to 3; 0 when not said).
    // The transfer carries no number; it is only told back in the done notice.
    int lookupNumber = 0;
    // How many times a failed download is started again without asking; unset: `askRetry` is asked.
    std::optional<unsigned> retries;
    // The one question a transfer asks while it runs, between attempts with the port still open: true
    // starts another. Called on the transfer's thread with the notice the attempt ended with (it names the
    // device); without it (and without `retries`) the answer is No.
    std::function<bool(const Notice& failed)> askRetry;
    // Ends the transfer at its next safe point: between packets of a download, at a record boundary of
    // a receive (nothing more is acknowledged; what was is kept).
    const StopFlag* stop = nullptr;
};

struct ReceiveRequest {
    Transport transport = Transport::Direct;
    std::string dataFile;
    // Whether the records may replace a file that stands at `dataFile` when they take its name.
    bool replace = true;
    const StopFlag* stop = nullptr;
    // Called on the transfer's thread once the terminal answered and the records' partial file exists,
    // before any record is acknowledged; false ends the receive there with nothing acknowledged. With
    // it set, no file is made before the terminal answers.
    std::function<bool(const std::string& partialFile)> answered;
    // How soon a stop ends a wait. Someone at the desk wants it at once; a station serving many idle
    // ports trades a little of that for far fewer wake-ups.
    std::int64_t waitSliceMs = 50;
};

}  // namespace k52
