// The collected-data upload on an open port: the request, then record windows answered so that every
// reply the terminal gets answers exactly one frame it sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "protocol/Protocol.h"
#include "transfer/PortSession.h"
#include "transfer/RecordFile.h"

namespace k52 {

constexpr std::int64_t kRecordWindowMs = 500;

class Receiver {
  public:
    enum class End { Over, NotReady, TimedOut, TooManyRefusals, FileOpen, FileWrite, LineLost, Stopped };
    struct Result {
        End end = End::NotReady;
        int stored = 0;
        int fileError = 0;  // errno of a failed write
    };
    // The file the records go to, asked for once the terminal answered: nullptr ends the exchange with
    // nothing acknowledged (with `fileError` set when the file could not be made).
    using FileOpener = std::function<RecordFile*(Result& result)>;

    explicit Receiver(PortSession& port) : port_(port) {}
    // Runs the exchange, storing each record in the opened file before it is acknowledged. The notices
    // of the request phase and of the record windows are told here; the caller tells the rest.
    Result Run(const FileOpener& open);

  private:
    enum class Wait { Frame, Nothing, Stalled, LineLost, Stopped };
    bool Request();
    Wait AwaitFrame();
    void Reply(std::string_view text);
    // The record phase is over: the port is closing, whatever is told next.
    void EndRecords();
    void Acknowledge();
    // What a frame or an empty window does; the end of the exchange when it ends here.
    std::optional<End> OnFrame(RecordFile& file, Result& result);
    std::optional<End> OnEmptyWindow();

    PortSession& port_;
    u8 frame_[kMaxRecordFrame]{};
    std::size_t kept_ = 0;
    std::size_t length_ = 0;  // every byte of the frame, kept or not
    bool receiving_ = false;
    int expected_ = 0;      // the sequence number of the record to store next
    int emptyWindows_ = 0;  // in a row
    int fruitless_ = 0;     // frames since the last record stored that stored nothing
    int extraNaks_ = 0;     // empty-window NAKs since our last ACK
    int allowance_ = 0;     // frames still to take without a reply
};

}  // namespace k52
