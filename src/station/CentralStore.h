// The central PostgreSQL store as the stations and k52cli see it: its schema made or checked, an upload
// delivered with all its records in one transaction (kept once, whoever sends it again), and the
// uploads and records read back.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "station/Ledger.h"
#include "station/PgConnection.h"
#include "template/Template.h"

namespace k52 {

// An upload as the central store holds it, with the station that sent it.
struct CentralUpload {
    std::string key, stationId, host, stationName;
    std::string terminal, name, device, byId;
    std::string started, ended;        // as the station wrote them, with its offset
    std::string startedUtc, endedUtc;  // "2024-05-01T00:00:00Z"; endedUtc empty when it has no end
    int records = 0, acknowledged = 0;
    std::string outcome, sha256, file, code, reason, deliveredUtc;
};

// Empty members match everything; `station` is a station's id (or its last 8 characters), host or name.
struct CentralFilter {
    std::string sinceUtc, untilUtc, terminal, station;
};

enum class Delivery {
    Stored,         // committed now
    AlreadyStored,  // the store had it already, with the same hash
    Differs,        // the store has another upload under this key: said, and the upload not delivered
    Failed,         // nothing committed; the reason says why
};

class CentralStore {
  public:
    // Connects and checks that the schema is there and not older than this program's.
    static std::optional<CentralStore> Open(const std::string& conninfo, std::string* reason);
    // Creates or upgrades the schema (idempotent; concurrent calls take turns).
    static bool Init(const std::string& conninfo, std::string* reason);

    // Records sent so far of the upload being delivered, after each batch.
    using Progress = std::function<void(std::size_t sent)>;
    // Delivers `row` with the records of `file` (its bytes: CR LF-ended records) in one transaction;
    // with `separators` (the station knows its template) each record's fields go beside it.
    Delivery Deliver(const UploadRow& row, std::string_view file, const FieldSeparators* separators,
                     const Progress& progress, std::string* reason);

    std::optional<std::vector<CentralUpload>> Uploads(const CentralFilter& filter, std::string* reason);
    // Every record of the uploads `filter` picks, with its upload, in the uploads' order and then the
    // records'; `each` returns false to stop.
    // `raw` is the record's bytes as the terminal sent them.
    using RecordSink = std::function<bool(const CentralUpload&, int line, const std::string& raw)>;
    bool ForEachRecord(const CentralFilter& filter, const RecordSink& each, std::string* reason);

    // False once the connection broke: a new Open is needed.
    bool Ok() const { return connection_.Ok(); }

  private:
    explicit CentralStore(PgConnection connection) : connection_(std::move(connection)) {}
    PgConnection connection_;
};

// A record's fields as a PostgreSQL array literal: {"a","b"}, each element quoted.
std::string ArrayLiteral(const std::vector<std::string>& fields);

// The records of a stored file: CR LF-ended lines (a last line without one counts too).
std::vector<std::string_view> SplitRecords(std::string_view file);

}  // namespace k52
