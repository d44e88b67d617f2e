// The data file of one receive: records written and fsynced one by one into a temporary file beside
// the chosen path, which takes the chosen name only when there is something to keep. Dropped without
// a commit, it leaves the path as it was, whether a file stood there before or not.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "template/Template.h"
#include "util/UniqueFd.h"

namespace k52 {

class RecordFile {
  public:
    // Creates the temporary file (or, for a device or FIFO named as the output, opens it to write
    // straight into). nullopt with errno's value in `error` when that fails.
    static std::optional<RecordFile> Create(const std::string& path, int* error);
    ~RecordFile();
    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&&) = delete;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Appends the record and CR LF and makes them durable before returning; on failure the file is as
    // it was before the call and `error` holds errno's value.
    bool Append(const u8* data, std::size_t size, int* error);
    // Puts the records under the chosen name. False with `error` when the rename or a sync failed (the
    // temporary file is then kept, and its path is in `temporaryPath`).
    bool Commit(int* error);
    const std::string& temporaryPath() const { return tempPath_; }

  private:
    RecordFile(UniqueFd fd, std::string target, std::string temp);
    void Rollback();

    UniqueFd fd_;
    std::string target_;
    std::string tempPath_;  // empty when writing straight into a device or FIFO
    bool done_ = false;
};

}  // namespace k52
