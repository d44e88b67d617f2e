// The collection ledger: one row per upload in FOLDER/ledger.sqlite, which k52cli and k52gen share. A row
// is written when the terminal answers ("receiving") and completed at the upload's end.
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "util/platform/System.h"

struct sqlite3;

namespace k52 {

enum class UploadOutcome { Complete, Partial, Interrupted, Empty, Receiving };

// "complete", "partial", "interrupted", "empty", "receiving": as stored and as k52cli prints them.
const char* UploadOutcomeKey(UploadOutcome outcome);

struct UploadRow {
    std::string key;  // unique across stations and folders (a UUIDv7), stable from the first write
    std::string terminal;
    std::string device;
    std::string byId;        // empty when the device has no by-id name
    std::string started;     // ISO 8601 with the UTC offset
    std::string ended;       // empty while receiving
    std::string startedUtc;  // the same moments in UTC, as they compare
    std::string endedUtc;
    int records = 0;       // in the file
    int acknowledged = 0;  // of those, certainly acknowledged to the terminal
    std::string file;      // relative to the folder; empty for an upload with no records
    std::string partial;   // the partial file the records were written into, relative to the folder
    std::string fileId;    // "device:inode" of that file, which keeps it through every rename
    std::string sha256;    // of the file; empty without one
    std::string outcome;
    std::string code;       // the code of the receive's last notice ("timed-out", ...); empty when none
    std::string args;       // its arguments, a JSON object; empty when none
    std::string message;    // the notice in the station's words, with the system's reason
    std::string name;       // the port's given name ("Cradle A, aisle 3"); empty when it has none
    std::string host;       // the desk whose station stored the row, and that station's id; the
    std::string stationId;  // ledger's own station when a row is put with them empty
    // Its delivery to the central store: when it was committed there (UTC; empty while it waits), and
    // the last attempt's error and time (empty after a delivery). Put leaves them as they are.
    std::string deliveredUtc;
    std::string deliveryError;
    std::string deliveryTriedUtc;
};

// Which rows a listing keeps: every bound empty means any.
struct UploadFilter {
    std::string sinceUtc;  // started at or after ("2024-05-01T00:00:00Z")
    std::string untilUtc;  // started before
    std::string terminal;  // the terminal's folder name, the port's given name or its device, exactly
    std::vector<std::string> outcomes;  // "complete", "partial", ...
    bool timeOrder = false;             // by start time rather than in the order begun
};

// One hook run for one upload or event: what it was given, and how its runs went.
struct DeliveryRow {
    std::string key;    // the upload's key, or the event's own key for an event that is not an upload
    std::string hook;   // the program run
    std::string event;  // the event's key ("finished", "port busy", ...)
    std::string state;  // "pending", "delivered" or "failed" (no run left)
    int attempts = 0;
    int exitStatus = -1;  // of the last run; -1 when it did not exit by itself
    std::int64_t durationMs = 0;
    std::string output;   // the first lines the last run wrote
    std::string reason;   // why the last run failed; empty when it did not
    std::string payload;  // the JSON object the hook reads; its environment is made from it
    std::string createdUtc, updatedUtc;
};

class Ledger {
  public:
    // Opens or creates FOLDER/ledger.sqlite (WAL, each row synced), bringing an older table up to the
    // current schema; nullopt with the reason.
    static std::optional<Ledger> Open(const std::string& folder, std::string* reason);
    // Opens an existing ledger to read it only; nullopt with the reason when there is none.
    static std::optional<Ledger> OpenExisting(const std::string& folder, std::string* reason);

    // Writes the row under its key in one transaction: a new row, or the end of the one begun.
    bool Put(const UploadRow& row, std::string* reason);
    // Rows in the order they were begun; `sinceUtc` ("2024-05-01T00:00:00Z") keeps those started then
    // or later, `terminal` is an exact name; empty means any.
    std::optional<std::vector<UploadRow>> List(const std::string& sinceUtc, const std::string& terminal,
                                               std::string* reason);
    std::optional<std::vector<UploadRow>> List(const UploadFilter& filter, std::string* reason);
    // The row under `key`; nullopt when there is none (or, with `reason` set, it could not be read).
    std::optional<UploadRow> Row(const std::string& key, std::string* reason);
    // Ended uploads not yet delivered to the central store, oldest first.
    std::optional<std::vector<UploadRow>> Undelivered(std::string* reason);
    // The upload reached the central store at `utc`; or its last attempt failed with `error`.
    bool MarkDelivered(const std::string& key, const std::string& utc, std::string* reason);
    bool MarkDeliveryFailed(const std::string& key, const std::string& error, const std::string& utc,
                            std::string* reason);

    // A delivery written under its key and hook, new or updated.
    bool PutDelivery(const DeliveryRow& row, std::string* reason);
    // Deliveries in the order made; `state` and `key` empty mean any.
    std::optional<std::vector<DeliveryRow>> Deliveries(const std::string& state, const std::string& key,
                                                       std::string* reason);

    // True while FOLDER and the ledger file are still the ones opened (not removed, replaced, remade).
    bool StillInPlace() const;
    const std::string& folder() const { return folder_; }
    // The station that keeps this ledger: a UUIDv7 given when the ledger was made, and the host it was
    // made on; both empty for a ledger read before it had any table.
    const std::string& stationId() const { return stationId_; }
    const std::string& host() const { return host_; }

    // A new upload key: a UUIDv7 from `now` and random bits.
    static std::string NewKey(std::time_t now);

  private:
    struct Close {
        void operator()(sqlite3* db) const;
    };
    Ledger(sqlite3* db, std::string folder) : db_(db), folder_(std::move(folder)) {}
    static std::optional<Ledger> OpenPath(const std::string& folder, bool create, std::string* reason);
    bool Update(const char* sql, const std::vector<std::string>& args, std::string* reason);
    std::unique_ptr<sqlite3, Close> db_;
    std::string folder_;
    std::optional<platform::FileId> folderId_, fileId_;
    std::string stationId_, host_;
};

}  // namespace k52
