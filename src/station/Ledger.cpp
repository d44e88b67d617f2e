// The ledger's table and its two uses: a row added once its file is on disk, and the rows read back.
#include "station/Ledger.h"

#include <sqlite3.h>

#include <string_view>

#include "i18n/Translate.h"

namespace k52 {
namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS uploads ("
    " id INTEGER PRIMARY KEY,"
    " terminal TEXT NOT NULL, device TEXT NOT NULL, by_id TEXT NOT NULL,"
    " started TEXT NOT NULL, ended TEXT NOT NULL, records INTEGER NOT NULL,"
    " file TEXT NOT NULL, sha256 TEXT NOT NULL, outcome TEXT NOT NULL, message TEXT NOT NULL,"
    " code TEXT NOT NULL DEFAULT '', args TEXT NOT NULL DEFAULT '')";

// A ledger written before rows carried their notice's code gets the two columns, empty for old rows.
bool AddNoticeColumns(sqlite3* db, char** error) {
    sqlite3_stmt* stmt = nullptr;
    bool hasCode = false;
    if (sqlite3_prepare_v2(db, "PRAGMA table_info(uploads)", -1, &stmt, nullptr) == SQLITE_OK)
        while (sqlite3_step(stmt) == SQLITE_ROW)
            if (const unsigned char* name = sqlite3_column_text(stmt, 1);
                name && std::string_view(reinterpret_cast<const char*>(name)) == "code")
                hasCode = true;
    sqlite3_finalize(stmt);
    if (hasCode) return true;
    return sqlite3_exec(db,
                        "ALTER TABLE uploads ADD COLUMN code TEXT NOT NULL DEFAULT '';"
                        "ALTER TABLE uploads ADD COLUMN args TEXT NOT NULL DEFAULT '';",
                        nullptr, nullptr, error) == SQLITE_OK;
}

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

std::string Text(sqlite3_stmt* stmt, int column) {
    const unsigned char* t = sqlite3_column_text(stmt, column);
    return t ? reinterpret_cast<const char*>(t) : "";
}

bool Fail(sqlite3* db, std::string* reason) {
    if (reason) *reason = sqlite3_errmsg(db);
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
    }
    return K52_EN("complete");
}

void Ledger::Close::operator()(sqlite3* db) const {
    sqlite3_close(db);
}

std::optional<Ledger> Ledger::OpenPath(const std::string& folder, bool create, std::string* reason) {
    const std::string path = folder + "/ledger.sqlite";
    sqlite3* raw = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_FULLMUTEX;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    Ledger ledger(raw);
    if (rc != SQLITE_OK) {
        if (reason) *reason = path + ": " + (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
        return std::nullopt;
    }
    sqlite3_busy_timeout(raw, 5000);
    // WAL lets `uploads` read while `collect` writes; FULL syncs each row, so a row never names a file
    // the disk lost or outlives a power cut unsynced.
    const char* setup =
        create ? "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;" : "PRAGMA synchronous=FULL;";
    char* error = nullptr;
    if (sqlite3_exec(raw, setup, nullptr, nullptr, &error) != SQLITE_OK ||
        (create && sqlite3_exec(raw, kSchema, nullptr, nullptr, &error) != SQLITE_OK) ||
        !AddNoticeColumns(raw, &error)) {
        if (reason) *reason = path + ": " + (error ? error : "cannot be prepared");
        sqlite3_free(error);
        return std::nullopt;
    }
    return ledger;
}

std::optional<Ledger> Ledger::Open(const std::string& folder, std::string* reason) {
    return OpenPath(folder, true, reason);
}

std::optional<Ledger> Ledger::OpenExisting(const std::string& folder, std::string* reason) {
    return OpenPath(folder, false, reason);
}

bool Ledger::Add(const UploadRow& row, std::string* reason) {
    sqlite3* db = db_.get();
    Statement s;
    if (sqlite3_prepare_v2(db,
                           "INSERT INTO uploads (terminal, device, by_id, started, ended, records, file,"
                           " sha256, outcome, message, code, args) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                           -1, &s.stmt, nullptr) != SQLITE_OK)
        return Fail(db, reason);
    const std::string* texts[] = {&row.terminal, &row.device, &row.byId, &row.started, &row.ended};
    int column = 1;
    for (const std::string* t : texts)
        sqlite3_bind_text(s.stmt, column++, t->c_str(), static_cast<int>(t->size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(s.stmt, column++, row.records);
    for (const std::string* t : {&row.file, &row.sha256, &row.outcome, &row.message, &row.code, &row.args})
        sqlite3_bind_text(s.stmt, column++, t->c_str(), static_cast<int>(t->size()), SQLITE_TRANSIENT);
    if (sqlite3_step(s.stmt) != SQLITE_DONE) return Fail(db, reason);
    return true;
}

std::optional<std::vector<UploadRow>> Ledger::List(const std::string& since, const std::string& terminal,
                                                   std::string* reason) {
    sqlite3* db = db_.get();
    Statement s;
    if (sqlite3_prepare_v2(db,
                           "SELECT terminal, device, by_id, started, ended, records, file, sha256, outcome,"
                           " message, code, args FROM uploads WHERE (?1 = '' OR started >= ?1)"
                           " AND (?2 = '' OR terminal = ?2) ORDER BY id",
                           -1, &s.stmt, nullptr) != SQLITE_OK) {
        Fail(db, reason);
        return std::nullopt;
    }
    sqlite3_bind_text(s.stmt, 1, since.c_str(), static_cast<int>(since.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(s.stmt, 2, terminal.c_str(), static_cast<int>(terminal.size()), SQLITE_TRANSIENT);
    std::vector<UploadRow> rows;
    int rc = 0;
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
        UploadRow r;
        r.terminal = Text(s.stmt, 0);
        r.device = Text(s.stmt, 1);
        r.byId = Text(s.stmt, 2);
        r.started = Text(s.stmt, 3);
        r.ended = Text(s.stmt, 4);
        r.records = sqlite3_column_int(s.stmt, 5);
        r.file = Text(s.stmt, 6);
        r.sha256 = Text(s.stmt, 7);
        r.outcome = Text(s.stmt, 8);
        r.message = Text(s.stmt, 9);
        r.code = Text(s.stmt, 10);
        r.args = Text(s.stmt, 11);
        rows.push_back(std::move(r));
    }
    if (rc != SQLITE_DONE) {
        Fail(db, reason);
        return std::nullopt;
    }
    return rows;
}

}  // namespace k52
