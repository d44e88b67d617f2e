// The ledger as the station writes it: rows in the order they were made, and what follows a row (its
// upload's event) only once the row is in. A row the ledger will not take now (a lock held by another
// program, a failed write) waits in memory, in order, and is tried again before anything newer.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

#include "station/Ledger.h"

namespace k52 {

class Journal {
  public:
    // `waiting` is told how many rows wait, and why, each time that changes (0 once they are in).
    using WaitingNote = std::function<void(std::size_t waiting, const std::string& reason)>;
    Journal(Ledger& ledger, WaitingNote waiting) : ledger_(ledger), waiting_(std::move(waiting)) {}

    // Writes `row` behind any that wait; `then` runs once it is in (at once, or at a later Flush).
    void Put(const UploadRow& row, std::function<void()> then = {});
    // Tries the waiting rows again, in order; true when none waits any more.
    bool Flush();
    std::size_t Waiting() const { return pending_.size(); }

    // Makes sure the ledger is the one in its folder: reopened (or made anew) there when the folder or
    // its ledger file was replaced. False with the reason when the folder is gone or takes no ledger.
    bool EnsureInPlace(std::string* reason);

  private:
    struct Pending {
        UploadRow row;
        std::function<void()> then;
    };
    Ledger& ledger_;
    WaitingNote waiting_;
    std::deque<Pending> pending_;
    std::size_t said_ = 0;  // the count last told
    std::string lastReason_;
};

}  // namespace k52
