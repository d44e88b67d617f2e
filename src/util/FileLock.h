// An exclusive lock held on a lock file while a read-modify-write of another file runs, so that edits
// made at once by several processes follow one another instead of overwriting each other.
#pragma once

#include <optional>
#include <string>

#include "util/UniqueFd.h"

namespace k52 {

class FileLock {
  public:
    // Waits for the lock on `lockPath`, creating that file when needed (it stays: removing it would let
    // two processes lock two different files of one name). On failure `reason` says why.
    static std::optional<FileLock> Acquire(const std::string& lockPath, std::string* reason = nullptr);

  private:
    explicit FileLock(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;  // closing it releases the lock
};

}  // namespace k52
