// The ledger's table, its schema versions, and its uses: a row written under its key, the rows read back.
#include "station/Ledger.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <random>
#include <string_view>

#include "i18n/Translate.h"
#include "util/LocalTime.h"
#include "util/RegularFile.h"

namespace k52 {
namespace {

// user_version 1: keys, UTC times, the acknowledged count and the partial file beside every row.
// user_version 2: the station that keeps the ledger (its id and host), and on every row the port's name
// and the station that stored it.
// user_version 3: the deliveries of each upload and event to the hooks.
// user_version 4: each row's delivery to the central store (when, and the last attempt's error).
constexpr int kSchemaVersion = 4;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS uploads ("
    " id INTEGER PRIMARY KEY,"
    " terminal TEXT NOT NULL, device TEXT NOT NULL, by_id TEXT NOT NULL,"
    " started TEXT NOT NULL, ended TEXT NOT NULL, records INTEGER NOT NULL,"
    " file TEXT NOT NULL, sha256 TEXT NOT NULL, outcome TEXT NOT NULL, message TEXT NOT NULL,"
    " code TEXT NOT NULL DEFAULT '', args TEXT NOT NULL DEFAULT '',"
    " upload_key TEXT NOT NULL DEFAULT '', started_utc TEXT NOT NULL DEFAULT '',"
    " ended_utc TEXT NOT NULL DEFAULT '', acknowledged INTEGER NOT NULL DEFAULT 0,"
    " partial TEXT NOT NULL DEFAULT '', file_id TEXT NOT NULL DEFAULT '',"
    " name TEXT NOT NULL DEFAULT '', host TEXT NOT NULL DEFAULT '', station_id TEXT NOT NULL DEFAULT '',"
    " delivered_utc TEXT NOT NULL DEFAULT '', delivery_error TEXT NOT NULL DEFAULT '',"
    " delivery_tried_utc TEXT NOT NULL DEFAULT '');"
    "CREATE UNIQUE INDEX IF NOT EXISTS uploads_key ON uploads(upload_key);"
    "CREATE TABLE IF NOT EXISTS station (id TEXT NOT NULL, host TEXT NOT NULL, created TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS deliveries ("
    " id INTEGER PRIMARY KEY, upload_key TEXT NOT NULL, hook TEXT NOT NULL, event TEXT NOT NULL,"
    " state TEXT NOT NULL, attempts INTEGER NOT NULL, exit_status INTEGER NOT NULL,"
    " duration_ms INTEGER NOT NULL, output TEXT NOT NULL, reason TEXT NOT NULL, payload TEXT NOT NULL,"
    " created_utc TEXT NOT NULL, updated_utc TEXT NOT NULL, UNIQUE(upload_key, hook));";

constexpr const char* kDeliveryColumns =
    "upload_key, hook, event, state, attempts, exit_status, duration_ms, output, reason, payload,"
    " created_utc, updated_utc";

constexpr const char* kColumns =
    "upload_key, terminal, device, by_id, started, ended, started_utc, ended_utc, records, acknowledged,"
    " file, partial, file_id, sha256, outcome, code, args, message, name, host, station_id";
// Read beside kColumns; written only by the Mark... calls.
constexpr const char* kCentralColumns = "delivered_utc, delivery_error, delivery_tried_utc";

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

std::string Text(sqlite3_stmt* stmt, int column) {
    const unsigned char* t = sqlite3_column_text(stmt, column);
    return t ? std::string(reinterpret_cast<const char*>(t),
                           static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
             : "";
}

bool Fail(sqlite3* db, std::string* reason) {
    if (reason) *reason = sqlite3_errmsg(db);
    return false;
}

bool Exec(sqlite3* db, const char* sql, std::string* reason) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK) return true;
    if (reason) *reason = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    return false;
}

std::vector<std::string> ColumnsOf(sqlite3* db) {
    std::vector<std::string> names;
    Statement s;
    if (sqlite3_prepare_v2(db, "PRAGMA table_info(uploads)", -1, &s.stmt, nullptr) == SQLITE_OK)
        while (sqlite3_step(s.stmt) == SQLITE_ROW) names.push_back(Text(s.stmt, 1));
    return names;
}

int UserVersion(sqlite3* db) {
    Statement s;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &s.stmt, nullptr) != SQLITE_OK ||
        sqlite3_step(s.stmt) != SQLITE_ROW)
        return 0;
    return sqlite3_column_int(s.stmt, 0);
}

// Every row of an older table gets a key, UTC times read from its offset times, and its records
// counted as acknowledged (they were entered only once their upload had ended).
bool Migrate(sqlite3* db, std::string* reason) {
    std::vector<std::string> have = ColumnsOf(db);
    auto has = [&](std::string_view c) { return std::find(have.begin(), have.end(), c) != have.end(); };
    const std::pair<const char*, const char*> added[] = {
        {"code", "TEXT NOT NULL DEFAULT ''"},           {"args", "TEXT NOT NULL DEFAULT ''"},
        {"upload_key", "TEXT NOT NULL DEFAULT ''"},     {"started_utc", "TEXT NOT NULL DEFAULT ''"},
        {"ended_utc", "TEXT NOT NULL DEFAULT ''"},      {"acknowledged", "INTEGER NOT NULL DEFAULT 0"},
        {"partial", "TEXT NOT NULL DEFAULT ''"},        {"file_id", "TEXT NOT NULL DEFAULT ''"},
        {"name", "TEXT NOT NULL DEFAULT ''"},           {"host", "TEXT NOT NULL DEFAULT ''"},
        {"station_id", "TEXT NOT NULL DEFAULT ''"},     {"delivered_utc", "TEXT NOT NULL DEFAULT ''"},
        {"delivery_error", "TEXT NOT NULL DEFAULT ''"}, {"delivery_tried_utc", "TEXT NOT NULL DEFAULT ''"}};
    for (const auto& [name, type] : added)
        if (!has(name) &&
            !Exec(db, ("ALTER TABLE uploads ADD COLUMN " + std::string(name) + " " + type).c_str(), reason))
            return false;
    if (!Exec(db,
              "UPDATE uploads SET acknowledged = records,"
              " started_utc = coalesce(strftime('%Y-%m-%dT%H:%M:%SZ', started), ''),"
              " ended_utc = coalesce(strftime('%Y-%m-%dT%H:%M:%SZ', ended), '') WHERE upload_key = ''",
              reason))
        return false;
    Statement s;
    if (sqlite3_prepare_v2(db, "UPDATE uploads SET upload_key = ?1 WHERE id = ?2", -1, &s.stmt, nullptr) !=
        SQLITE_OK)
        return Fail(db, reason);
    std::vector<sqlite3_int64> ids;
    {
        Statement q;
        if (sqlite3_prepare_v2(db, "SELECT id FROM uploads WHERE upload_key = ''", -1, &q.stmt, nullptr) !=
            SQLITE_OK)
            return Fail(db, reason);
        while (sqlite3_step(q.stmt) == SQLITE_ROW) ids.push_back(sqlite3_column_int64(q.stmt, 0));
    }
    for (const sqlite3_int64 id : ids) {
        const std::string key = Ledger::NewKey(std::time(nullptr));
        sqlite3_reset(s.stmt);
        sqlite3_bind_text(s.stmt, 1, key.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(s.stmt, 2, id);
        if (sqlite3_step(s.stmt) != SQLITE_DONE) return Fail(db, reason);
    }
    return true;
}

// The station that keeps this ledger is named once, when its table is made; rows stored before there was
// one were stored by it.
bool NameStation(sqlite3* db, std::string* reason) {
    Statement q;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM station", -1, &q.stmt, nullptr) != SQLITE_OK ||
        sqlite3_step(q.stmt) != SQLITE_ROW)
        return Fail(db, reason);
    if (sqlite3_column_int(q.stmt, 0) == 0) {
        Statement s;
        const std::time_t now = std::time(nullptr);
        const std::string id = Ledger::NewKey(now), host = platform::HostName();
        const std::string created = UtcIsoTime(now);
        if (sqlite3_prepare_v2(db, "INSERT INTO station (id, host, created) VALUES (?1, ?2, ?3)", -1, &s.stmt,
                               nullptr) != SQLITE_OK)
            return Fail(db, reason);
        sqlite3_bind_text(s.stmt, 1, id.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s.stmt, 2, host.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s.stmt, 3, created.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(s.stmt) != SQLITE_DONE) return Fail(db, reason);
    }
    return Exec(db,
                "UPDATE uploads SET station_id = (SELECT id FROM station LIMIT 1),"
                " host = (SELECT host FROM station LIMIT 1) WHERE station_id = ''",
                reason);
}

// Brings the table to the current version in one transaction: made new, or migrated from an older one.
bool Prepare(sqlite3* db, bool create, std::string* reason) {
    if (UserVersion(db) >= kSchemaVersion) return true;
    const bool exists = !ColumnsOf(db).empty();
    if (!exists && !create) return true;  // read only: an empty ledger lists nothing
    if (!Exec(db, "BEGIN IMMEDIATE", reason)) return false;
    const bool ok = (!exists || Migrate(db, reason)) && Exec(db, kSchema, reason) &&
                    NameStation(db, reason) &&
                    Exec(db, ("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str(), reason);
    if (ok && Exec(db, "COMMIT", reason)) return true;
    Exec(db, "ROLLBACK", nullptr);
    return false;
}

}  // namespace

const char* UploadOutcomeKey(UploadOutcome outcome) {
    switch (outcome) {
        case UploadOutcome::Complete:
            return K52_EN("complete");
        case UploadOutcome::Partial:
            return K52_EN("partial");
        case UploadOutcome::Interrupted:
            return K52_EN("interrupted");
        case UploadOutcome::Empty:
            return K52_EN("empty");
        case UploadOutcome::Receiving:
            return K52_EN("receiving");
    }
    return K52_EN("complete");
}

void Ledger::Close::operator()(sqlite3* db) const {
    sqlite3_close(db);
}

std::string Ledger::NewKey(std::time_t now) {
    static std::mutex mutex;
    static std::mt19937_64 random{std::random_device{}()};
    std::uint64_t a, b;
    {
        std::lock_guard<std::mutex> lock(mutex);
        a = random();
        b = random();
    }
    const std::uint64_t ms = static_cast<std::uint64_t>(now) * 1000 + (a >> 54) % 1000;
    const std::uint64_t high = (ms << 16) | 0x7000 | (a & 0x0fff);
    const std::uint64_t low = (b & 0x3fffffffffffffffULL) | 0x8000000000000000ULL;
    char text[40];
    std::snprintf(text, sizeof text, "%08llx-%04llx-%04llx-%04llx-%012llx",
                  static_cast<unsigned long long>(high >> 32),
                  static_cast<unsigned long long>((high >> 16) & 0xffff),
                  static_cast<unsigned long long>(high & 0xffff), static_cast<unsigned long long>(low >> 48),
                  static_cast<unsigned long long>(low & 0xffffffffffffULL));
    return text;
}

std::optional<Ledger> Ledger::OpenPath(const std::string& folder, bool create, std::string* reason) {
    const std::string path = folder + "/ledger.sqlite";
    // A FIFO or device in its place would hang or confuse SQLite: it is said for what it is.
    if (const platform::PathKind kind = platform::KindOf(path);
        kind == platform::PathKind::Other || kind == platform::PathKind::Directory) {
        if (reason) *reason = path + ": " + kNotRegularFileReason;
        return std::nullopt;
    }
    sqlite3* raw = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_FULLMUTEX;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    Ledger ledger(raw, folder);
    if (rc != SQLITE_OK) {
        if (reason) *reason = path + ": " + (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
        return std::nullopt;
    }
    // The station waits briefly and keeps a row it could not write for later; a reader waits longer.
    sqlite3_busy_timeout(raw, create ? 250 : 5000);
    // WAL lets `uploads` read while `collect` writes; FULL syncs each row, so a row never names a file
    // the disk lost or outlives a power cut unsynced.
    std::string why;
    if (!Exec(raw, create ? "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;" : "PRAGMA synchronous=FULL;",
              &why) ||
        !Prepare(raw, create, &why)) {
        if (reason) *reason = path + ": " + why;
        return std::nullopt;
    }
    {
        Statement q;
        if (sqlite3_prepare_v2(raw, "SELECT id, host FROM station LIMIT 1", -1, &q.stmt, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(q.stmt) == SQLITE_ROW) {
            ledger.stationId_ = Text(q.stmt, 0);
            ledger.host_ = Text(q.stmt, 1);
        }
    }
    ledger.folderId_ = platform::IdentityOf(folder);
    ledger.fileId_ = platform::IdentityOf(path);
    return ledger;
}

std::optional<Ledger> Ledger::Open(const std::string& folder, std::string* reason) {
    return OpenPath(folder, true, reason);
}

std::optional<Ledger> Ledger::OpenExisting(const std::string& folder, std::string* reason) {
    return OpenPath(folder, false, reason);
}

bool Ledger::StillInPlace() const {
    const auto folder = platform::IdentityOf(folder_);
    const auto file = platform::IdentityOf(folder_ + "/ledger.sqlite");
    return folder && file && folderId_ && fileId_ && *folder == *folderId_ && *file == *fileId_;
}

bool Ledger::Put(const UploadRow& row, std::string* reason) {
    sqlite3* db = db_.get();
    Statement s;
    const std::string sql =
        std::string("INSERT INTO uploads (") + kColumns +
        ") VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16,?17,?18,?19,?20,?21)"
        " ON CONFLICT(upload_key) DO UPDATE SET ended=?6, ended_utc=?8, records=?9,"
        " acknowledged=?10, file=?11, partial=?12, file_id=?13, sha256=?14, outcome=?15,"
        " code=?16, args=?17, message=?18";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s.stmt, nullptr) != SQLITE_OK) return Fail(db, reason);
    int column = 1;
    auto text = [&](const std::string& t) {
        sqlite3_bind_text(s.stmt, column++, t.c_str(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
    };
    for (const std::string* t : {&row.key, &row.terminal, &row.device, &row.byId, &row.started, &row.ended,
                                 &row.startedUtc, &row.endedUtc})
        text(*t);
    sqlite3_bind_int(s.stmt, column++, row.records);
    sqlite3_bind_int(s.stmt, column++, row.acknowledged);
    for (const std::string* t : {&row.file, &row.partial, &row.fileId, &row.sha256, &row.outcome, &row.code,
                                 &row.args, &row.message, &row.name})
        text(*t);
    // The row's station is the one that keeps this ledger, unless the row already names another.
    text(row.host.empty() && row.stationId.empty() ? host_ : row.host);
    text(row.stationId.empty() ? stationId_ : row.stationId);
    if (sqlite3_step(s.stmt) != SQLITE_DONE) return Fail(db, reason);
    return true;
}

std::optional<std::vector<UploadRow>> Ledger::List(const std::string& sinceUtc, const std::string& terminal,
                                                   std::string* reason) {
    UploadFilter filter;
    filter.sinceUtc = sinceUtc;
    filter.terminal = terminal;
    return List(filter, reason);
}

namespace {

UploadRow ReadRow(sqlite3_stmt* stmt) {
    UploadRow r;
    int c = 0;
    for (std::string* t :
         {&r.key, &r.terminal, &r.device, &r.byId, &r.started, &r.ended, &r.startedUtc, &r.endedUtc})
        *t = Text(stmt, c++);
    r.records = sqlite3_column_int(stmt, c++);
    r.acknowledged = sqlite3_column_int(stmt, c++);
    for (std::string* t :
         {&r.file, &r.partial, &r.fileId, &r.sha256, &r.outcome, &r.code, &r.args, &r.message, &r.name,
          &r.host, &r.stationId, &r.deliveredUtc, &r.deliveryError, &r.deliveryTriedUtc})
        *t = Text(stmt, c++);
    return r;
}

// Every row a prepared statement gives; nullopt with the reason when a step fails.
std::optional<std::vector<UploadRow>> ReadRows(sqlite3* db, sqlite3_stmt* stmt, std::string* reason) {
    std::vector<UploadRow> rows;
    int rc = 0;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) rows.push_back(ReadRow(stmt));
    if (rc != SQLITE_DONE) {
        Fail(db, reason);
        return std::nullopt;
    }
    return rows;
}

void Bind(sqlite3_stmt* stmt, int column, const std::string& text) {
    sqlite3_bind_text(stmt, column, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

bool HasTable(sqlite3* db, const char* table) {
    Statement s;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1", -1, &s.stmt,
                           nullptr) != SQLITE_OK)
        return false;
    sqlite3_bind_text(s.stmt, 1, table, -1, SQLITE_STATIC);
    return sqlite3_step(s.stmt) == SQLITE_ROW;
}

}  // namespace

std::optional<std::vector<UploadRow>> Ledger::List(const UploadFilter& filter, std::string* reason) {
    sqlite3* db = db_.get();
    if (ColumnsOf(db).empty()) return std::vector<UploadRow>{};
    Statement s;
    std::string sql = std::string("SELECT ") + kColumns + ", " + kCentralColumns +
                      " FROM uploads WHERE (?1 = '' OR started_utc >= ?1) AND (?2 = '' OR started_utc < ?2)"
                      " AND (?3 = '' OR terminal = ?3 OR name = ?3 OR device = ?3)";
    if (!filter.outcomes.empty()) {
        sql += " AND outcome IN (";
        for (std::size_t i = 0; i < filter.outcomes.size(); ++i) sql += i ? ",?" : "?";
        sql += ")";
    }
    sql += filter.timeOrder ? " ORDER BY started_utc, id" : " ORDER BY id";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s.stmt, nullptr) != SQLITE_OK) {
        Fail(db, reason);
        return std::nullopt;
    }
    Bind(s.stmt, 1, filter.sinceUtc);
    Bind(s.stmt, 2, filter.untilUtc);
    Bind(s.stmt, 3, filter.terminal);
    for (std::size_t i = 0; i < filter.outcomes.size(); ++i)
        Bind(s.stmt, static_cast<int>(4 + i), filter.outcomes[i]);
    return ReadRows(db, s.stmt, reason);
}

std::optional<UploadRow> Ledger::Row(const std::string& key, std::string* reason) {
    sqlite3* db = db_.get();
    Statement s;
    const std::string sql =
        std::string("SELECT ") + kColumns + ", " + kCentralColumns + " FROM uploads WHERE upload_key = ?1";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s.stmt, nullptr) != SQLITE_OK) {
        Fail(db, reason);
        return std::nullopt;
    }
    Bind(s.stmt, 1, key);
    if (sqlite3_step(s.stmt) != SQLITE_ROW) return std::nullopt;
    return ReadRow(s.stmt);
}

bool Ledger::PutDelivery(const DeliveryRow& row, std::string* reason) {
    sqlite3* db = db_.get();
    Statement s;
    const std::string sql = std::string("INSERT INTO deliveries (") + kDeliveryColumns +
                            ") VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)"
                            " ON CONFLICT(upload_key, hook) DO UPDATE SET state=?4, attempts=?5,"
                            " exit_status=?6, duration_ms=?7, output=?8, reason=?9, updated_utc=?12";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s.stmt, nullptr) != SQLITE_OK) return Fail(db, reason);
    Bind(s.stmt, 1, row.key);
    Bind(s.stmt, 2, row.hook);
    Bind(s.stmt, 3, row.event);
    Bind(s.stmt, 4, row.state);
    sqlite3_bind_int(s.stmt, 5, row.attempts);
    sqlite3_bind_int(s.stmt, 6, row.exitStatus);
    sqlite3_bind_int64(s.stmt, 7, row.durationMs);
    Bind(s.stmt, 8, row.output);
    Bind(s.stmt, 9, row.reason);
    Bind(s.stmt, 10, row.payload);
    Bind(s.stmt, 11, row.createdUtc);
    Bind(s.stmt, 12, row.updatedUtc);
    if (sqlite3_step(s.stmt) != SQLITE_DONE) return Fail(db, reason);
    return true;
}

std::optional<std::vector<DeliveryRow>> Ledger::Deliveries(const std::string& state, const std::string& key,
                                                           std::string* reason) {
    sqlite3* db = db_.get();
    if (!HasTable(db, "deliveries")) return std::vector<DeliveryRow>{};
    Statement s;
    const std::string sql = std::string("SELECT ") + kDeliveryColumns +
                            " FROM deliveries WHERE (?1 = '' OR state = ?1) AND (?2 = '' OR upload_key = ?2)"
                            " ORDER BY id";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s.stmt, nullptr) != SQLITE_OK) {
        Fail(db, reason);
        return std::nullopt;
    }
    Bind(s.stmt, 1, state);
    Bind(s.stmt, 2, key);
    std::vector<DeliveryRow> rows;
    int rc = 0;
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
        DeliveryRow d;
        int c = 0;
        for (std::string* t : {&d.key, &d.hook, &d.event, &d.state}) *t = Text(s.stmt, c++);
        d.attempts = sqlite3_column_int(s.stmt, c++);
        d.exitStatus = sqlite3_column_int(s.stmt, c++);
        d.durationMs = sqlite3_column_int64(s.stmt, c++);
        for (std::string* t : {&d.output, &d.reason, &d.payload, &d.createdUtc, &d.updatedUtc})
            *t = Text(s.stmt, c++);
        rows.push_back(std::move(d));
    }
    if (rc != SQLITE_DONE) {
        Fail(db, reason);
        return std::nullopt;
    }
    return rows;
}

std::optional<std::vector<UploadRow>> Ledger::Undelivered(std::string* reason) {
    sqlite3* db = db_.get();
    if (ColumnsOf(db).empty()) return std::vector<UploadRow>{};
    Statement s;
    const std::string sql = std::string("SELECT ") + kColumns + ", " + kCentralColumns +
                            " FROM uploads WHERE outcome <> 'receiving' AND delivered_utc = '' ORDER BY id";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s.stmt, nullptr) != SQLITE_OK) {
        Fail(db, reason);
        return std::nullopt;
    }
    return ReadRows(db, s.stmt, reason);
}

bool Ledger::MarkDelivered(const std::string& key, const std::string& utc, std::string* reason) {
    return Update(
        "UPDATE uploads SET delivered_utc = ?2, delivery_error = '', delivery_tried_utc = ?2"
        " WHERE upload_key = ?1",
        {key, utc}, reason);
}

bool Ledger::MarkDeliveryFailed(const std::string& key, const std::string& error, const std::string& utc,
                                std::string* reason) {
    return Update("UPDATE uploads SET delivery_error = ?2, delivery_tried_utc = ?3 WHERE upload_key = ?1",
                  {key, error, utc}, reason);
}

bool Ledger::Update(const char* sql, const std::vector<std::string>& args, std::string* reason) {
    sqlite3* db = db_.get();
    Statement s;
    if (sqlite3_prepare_v2(db, sql, -1, &s.stmt, nullptr) != SQLITE_OK) return Fail(db, reason);
    for (std::size_t i = 0; i < args.size(); ++i) Bind(s.stmt, static_cast<int>(i + 1), args[i]);
    if (sqlite3_step(s.stmt) != SQLITE_DONE) return Fail(db, reason);
    return true;
}

}  // namespace k52
