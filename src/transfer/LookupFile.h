// A lookup data file opened for one download command: only a regular file, never waiting on a FIFO or
// a device, read whole and turned into the CP950 records the terminal receives before the port opens.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "template/Template.h"
#include "transfer/LookupData.h"

namespace k52 {

class LookupFile {
  public:
    // The file read whole; nullopt when it could not be, with the errno of the failure in `cannotRead`
    // (0 when none is known), or `cannotRead` left empty for a path that is no regular file.
    static std::optional<LookupFile> Open(const std::string& path, const LookupOptions& options,
                                          std::optional<int>* cannotRead);

    // Why the file must not be sent (a record too long, a character CP950 cannot hold, no records), if
    // anything; its message names the file.
    const std::optional<LookupRefusal>& refusal() const { return data_.refusal; }
    int recordCount() const { return static_cast<int>(data_.records.size()); }

    // Calls `record` for each record (its line counted from 1), and `progress` with the percentage of the
    // file read after every 128 bytes, as a reader going through the file in 128-byte steps would. Stops
    // early, returning false, when `record` returns false.
    using RecordFn = std::function<bool(const std::vector<u8>& data, long line)>;
    bool ForEachRecord(const RecordFn& record, const std::function<void(int)>& progress) const;

  private:
    LookupFile(LookupData data, std::size_t size) : data_(std::move(data)), size_(size) {}
    LookupData data_;
    std::size_t size_;
};

}  // namespace k52
