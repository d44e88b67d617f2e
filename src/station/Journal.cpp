// Rows written in order, kept while the ledger refuses them, and the ledger kept where its folder is.
#include "station/Journal.h"

#include <cerrno>
#include <cstring>

#include "util/FaultPoint.h"
#include "util/platform/System.h"

namespace k52 {

void Journal::Put(const UploadRow& row, std::function<void()> then) {
    pending_.push_back({row, std::move(then)});
    Flush();
}

bool Journal::Flush() {
    std::string reason;
    while (!pending_.empty()) {
        if (const int e = FaultAt(FaultCall::Ledger)) {
            reason = std::strerror(e);
            break;
        }
        if (!ledger_.Put(pending_.front().row, &reason)) break;
        const std::function<void()> then = std::move(pending_.front().then);
        pending_.pop_front();
        if (then) then();
    }
    // Said when the count or the reason changes, and once more when the last waiting row is in.
    if (pending_.size() != said_ || (!pending_.empty() && reason != lastReason_)) {
        if (waiting_ && (said_ > 0 || !pending_.empty())) waiting_(pending_.size(), reason);
        said_ = pending_.size();
        lastReason_ = reason;
    }
    return pending_.empty();
}

bool Journal::EnsureInPlace(std::string* reason) {
    if (ledger_.StillInPlace()) return true;
    const std::string folder = ledger_.folder();
    if (platform::KindOf(folder) != platform::PathKind::Directory) {
        *reason = folder + ": " + std::strerror(ENOENT);
        return false;
    }
    std::optional<Ledger> reopened = Ledger::Open(folder, reason);
    if (!reopened) return false;
    ledger_ = std::move(*reopened);
    return true;
}

}  // namespace k52
