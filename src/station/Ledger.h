// The collection ledger: one row per upload in FOLDER/ledger.sqlite, which k52cli and k52gen share.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace k52 {

enum class UploadOutcome { Complete, Partial, Interrupted, Empty };

// "complete", "partial", "interrupted", "empty": as stored and as k52cli prints them.
const char* UploadOutcomeKey(UploadOutcome outcome);

struct UploadRow {
    std::string terminal;
    std::string device;
    std::string byId;     // empty when the device has no by-id name
    std::string started;  // ISO 8601 with the UTC offset
    std::string ended;
    int records = 0;
    std::string file;    // relative to the folder; empty for an upload with no records
    std::string sha256;  // of the file; empty without one
    std::string outcome;
    std::string code;     // the code of the receive's last notice ("timed-out", ...); empty when none
    std::string args;     // its arguments, a JSON object; empty when none
    std::string message;  // the notice in the station's words
};

class Ledger {
  public:
    // Opens or creates FOLDER/ledger.sqlite (WAL, each row synced); nullopt with the reason.
    static std::optional<Ledger> Open(const std::string& folder, std::string* reason);
    // Opens an existing ledger to read it only; nullopt with the reason when there is none.
    static std::optional<Ledger> OpenExisting(const std::string& folder, std::string* reason);

    bool Add(const UploadRow& row, std::string* reason);
    // Rows in the order they were written; `since` compares with the start's text (a date "2024-05-01"
    // takes that day onwards), `terminal` is an exact name; empty means any.
    std::optional<std::vector<UploadRow>> List(const std::string& since, const std::string& terminal,
                                               std::string* reason);

  private:
    struct Close {
        void operator()(sqlite3* db) const;
    };
    explicit Ledger(sqlite3* db) : db_(db) {}
    static std::optional<Ledger> OpenPath(const std::string& folder, bool create, std::string* reason);
    std::unique_ptr<sqlite3, Close> db_;
};

}  // namespace k52
