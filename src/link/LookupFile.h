// A lookup data file opened for one download command: only a regular file, never waiting on a FIFO or
// a device, checked for records too long for a packet, read record by record from its start.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "template/Template.h"
#include "util/UniqueFd.h"

namespace k52 {

class LookupFile {
  public:
    enum class OpenError { None, CannotOpen, NotRegular };
    static std::optional<LookupFile> Open(const std::string& path, OpenError* error, int* sysErrno);

    // The line of the first record longer than 253 bytes, 0 when there is none, -1 when reading failed.
    long FirstTooLongLine();

    // Calls `record` for each record from the first byte (CR ends one, LF is dropped, a last line
    // without CR counts) and `progress` after every 128 bytes read with the percentage read. Stops
    // early when `record` returns false; false then, or when the file could not be read, or when a record
    // grew too long since the check (its line in `tooLongLine`).
    using RecordFn = std::function<bool(const std::vector<u8>& data, long line)>;
    bool ForEachRecord(const RecordFn& record, const std::function<void(int)>& progress, long* tooLongLine);

  private:
    explicit LookupFile(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;
};

}  // namespace k52
