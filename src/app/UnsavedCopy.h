// The recovery copy of a template with unsaved changes: when it is written, where it lives, and what a
// later start finds of it, so that a logout or a kill loses no more than the last few seconds.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/TemplateCommands.h"

namespace k52 {

// When the copy is due: a few quiet seconds after the last change, but never later than a while after
// the first change no copy holds yet, so that steady editing is covered too. Times are any clock's ms.
class UnsavedCopySchedule {
  public:
    static constexpr std::int64_t kQuietMs = 3000;
    static constexpr std::int64_t kLongestWaitMs = 30000;

    void Changed(std::int64_t nowMs);
    // Saved or discarded: nothing is due.
    void Settled() { firstPending_.reset(); }
    // The copy was written: due again only after the next change.
    void Written() { firstPending_.reset(); }
    // When the copy falls due; none while every change is in a copy (or none is wanted).
    std::optional<std::int64_t> DueAt() const;
    bool Due(std::int64_t nowMs) const { return DueAt() && nowMs >= *DueAt(); }

  private:
    std::optional<std::int64_t> firstPending_;
    std::int64_t lastChange_ = 0;
};

// A copy a start found, left by a k52gen that is no longer running.
struct UnsavedCopy {
    TemplateDocument doc;  // the template, its file, marked modified
    std::time_t written = 0;
    std::string file;  // the copy itself, for Remove
};

// The copies in one folder, one per running k52gen (named after its process id), each the template file
// exactly as Save writes it plus a small note of the template's own path and the time.
class UnsavedCopies {
  public:
    // `running` says whether a process id is a live k52gen's (the system's answer when not given).
    using RunningCheck = bool (*)(unsigned long pid);
    explicit UnsavedCopies(std::string folder, unsigned long ownPid, RunningCheck running = nullptr);
    // $XDG_STATE_HOME/k52 (~/.local/state/k52; %LOCALAPPDATA%\k52 on Windows).
    static std::string DefaultFolder();

    // Replaces this process's copy with `doc` as it is now; false with `reason` when it cannot.
    bool Write(const TemplateDocument& doc, std::time_t now, std::string* reason = nullptr);
    // This process's copy goes (saved, discarded, or restored into a newer one).
    void RemoveOwn();
    // The copies left by processes that are gone, newest first. A damaged copy, and one whose template
    // is already what its file holds (nothing would be lost), are removed instead of offered.
    std::vector<UnsavedCopy> Leftovers();
    static void Remove(const UnsavedCopy& copy);
    const std::string& folder() const { return folder_; }

  private:
    std::string CopyPath(unsigned long pid) const;
    std::string folder_;
    unsigned long ownPid_;
    RunningCheck running_;
};

}  // namespace k52
