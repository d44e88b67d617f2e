// How a transfer command is asked for (the flags as types) and everything it reports back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "transfer/Notice.h"

namespace k52 {

// Straight to the terminal (RS-232 cable or IrDA adapter), or through the infrared cradle.
enum class Transport { Direct, Cradle };
enum class Payload { Program, Lookup };

// Why a command ended as it did; None when it did what it was asked.
enum class LinkFailure {
    None,
    Cancelled,             // stopped by the user before it ended (what was acknowledged is kept)
    BadPortSettings,       // comPort or baudRate out of range (a damaged template)
    CannotOpenFile,        // lookup file unreadable or not a regular file, or data file not created
    LookupRecordTooLong,   // refused before the port was opened
    LookupNotConvertible,  // a character CP950 cannot hold, or a file read as UTF-8 that is not
    PortOpen,
    IrPreparation,
    LineSettings,
    TransferFailed,   // the last download attempt failed and no retry followed
    MaybeDuplicated,  // lookup: done, but the terminal may hold one record twice
    NotReady,         // receive: the terminal never said it was ready
    TimedOut,         // receive: the terminal stopped sending in the middle
    TooManyRefusals,  // receive: the same record was refused again and again
    LineLost,         // the device went away during the exchange (unplugged, hung up)
    FileWrite,        // receive: the data file could not be written
};

struct TransferOutcome {
    LinkFailure failure = LinkFailure::None;
    int attempts = 0;       // download attempts run
    int packets = 0;        // program packets acknowledged in the last attempt
    int recordsSent = 0;    // lookup records acknowledged in the last attempt
    int recordsStored = 0;  // receive: records in the data file
    bool fileKept = false;  // receive: the data file holds what was received
    std::string dataFile;   // receive: where the records are (another name when the path was taken)
    std::vector<long> duplicateLines;  // lookup: lines of the file the terminal may hold twice
    // A record stored whose acknowledgement may not have reached the terminal (a failed receive).
    bool lastMayComeAgain = false;
    std::string reason;  // the system's reason for a file failure (strerror), when there is one
    // A failed download whose last packet or greeting drew no reply at all (as opposed to refusals).
    bool unanswered = false;
    std::string device;           // the device the transfer used, as a person knows it
    std::vector<Notice> notices;  // everything the transfer told, in order
    std::int64_t bytesSent = 0;
    std::int64_t bytesReceived = 0;
    double seconds = 0;  // from the request to the outcome, on the transfer's clock

    bool Succeeded() const { return failure == LinkFailure::None; }
    // A download attempt ran, whatever its outcome.
    bool Ran() const { return attempts > 0; }
    // The notice the transfer ended with: the last one but for an answered retry question; null when
    // it told nothing.
    const Notice* Ending() const {
        for (auto it = notices.rbegin(); it != notices.rend(); ++it)
            if (it->kind != NoticeKind::RetryAnswered) return &*it;
        return nullptr;
    }
};

}  // namespace k52
