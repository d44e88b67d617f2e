// What a transfer tells whoever follows it, beside its progress: a kind and its arguments, never a text.
// The front ends word notices (app/TransferWording.h); JSON and the ledger carry the stable code.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace k52 {

enum class NoticeKind {
    // Before the port opens.
    BadPortSettings,      // comPort, baudRate: the template's codes, out of range
    CannotOpenFile,       // path, reason: a lookup file that cannot be read
    NotRegularFile,       // path: a lookup file that is a folder, FIFO or device
    LookupRefused,        // path, problem, line, column, character: nothing of the file may go
    CannotCreateFile,     // path, reason: a receive's data file
    LeftoverPartialFile,  // path, count: records a killed receive into the same file left
    // Opening and preparing the port.
    PortOpenFailed,         // device, reason
    CradleNotFound,         // device: no infrared cradle answered the probe
    LineSettingsRefused,    // device
    ReceivePortOpenFailed,  // device, reason
    ReceiveCradleNotFound,  // device
    // A download.
    TerminalNotReady,   // the greeting drew no acknowledgement
    PacketRefused,      // a packet was not acknowledged after every send
    RetryAnswered,      // count: 1 when the request's retries said Yes, 0 for No
    DownloadDone,       // count: the lookup file filled (1 to 3), 0 for a program or when not said
    DownloadCancelled,  //
    LineLost,           // device: the device went away during the exchange
    MaybeDuplicated,    // path, lines: lookup lines the terminal may hold twice
    // A receive.
    ReceiveTimedOut,       // the terminal stopped answering or sending
    NoConnection,          // the request drew only wrong answers
    TooManyRefusals,       // the same record was refused again and again
    NothingReceived,       //
    DataFileWriteFailed,   // count, reason: records already in the file
    DataFileCommitFailed,  // path, reason: the records stay in this partial file
    ReceiveStopped,        // count: stopped by the person; every record kept
    ReceiveInterrupted,    // count: the last of them may come again
};

struct Notice {
    Notice() = default;
    Notice(NoticeKind k) : kind(k) {}  // NOLINT(google-explicit-constructor): a kind is a notice

    NoticeKind kind = NoticeKind::DownloadDone;
    std::string device;
    std::string path;
    std::string reason;  // the system's words (strerror, or why a port would not open)
    long count = 0;
    long line = 0;
    long column = 0;
    std::string character;  // LookupRefused: the character as UTF-8, or a byte as \xNN, or U+NNNN
    std::string codePoint;  // LookupRefused: the character's code point, U+NNNN, when it has one
    std::string problem;    // LookupRefused: its code ("record-too-long", ...)
    std::vector<long> lines;
    int comPort = 0;
    int baudRate = 0;

    bool operator==(const Notice&) const = default;
};

// "terminal-not-ready", "port-open-failed", ...: the notice's name for scripts, the same in every language.
std::string_view NoticeCode(NoticeKind kind);
// The notice's arguments as a JSON object holding only those its kind has, e.g. {"device":"/dev/ttyS0"}.
std::string NoticeArgumentsJson(const Notice& notice);

}  // namespace k52
