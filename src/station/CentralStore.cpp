// The central store's statements: the schema, one upload's transaction, and the reads.
#include "station/CentralStore.h"

#include "i18n/Translate.h"
#include "station/CentralSchema.h"
#include "template/Cp950.h"
#include "template/RecordTable.h"

namespace k52 {
namespace {

// Records per COPY message: large enough to cost nothing, small enough to show progress.
constexpr std::size_t kBatch = 2000;

// PostgreSQL's code for a table that is not there.
constexpr const char* kUndefinedTable = "42P01";

std::optional<std::string> OrNull(const std::string& s) {
    return s.empty() ? std::nullopt : std::optional<std::string>(s);
}

// The record's text for the text column: UTF-8 without NUL, which PostgreSQL's text cannot hold.
std::string RecordText(std::string_view raw) {
    bool ascii = true;
    for (const char c : raw) ascii = ascii && static_cast<unsigned char>(c) < 0x80 && c != '\0';
    if (ascii) return std::string(raw);
    std::string text = Cp950ToUtf8(raw), out;
    for (const char c : text) {
        if (c == '\0')
            out += "\xEF\xBF\xBD";
        else
            out += c;
    }
    return out;
}

constexpr const char* kUploadSelect =
    "SELECT u.upload_key, u.station_id, s.host, s.name, u.terminal, u.name, u.device, u.by_id,"
    " u.started_local, u.ended_local,"
    " to_char(u.started AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"'),"
    " coalesce(to_char(u.ended AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"'), ''),"
    " u.records, u.acknowledged, u.outcome, u.sha256, u.file, u.code, u.reason,"
    " to_char(u.delivered AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"')";
constexpr int kUploadColumns = 20;

constexpr const char* kUploadFrom = " FROM uploads u JOIN stations s ON s.id = u.station_id";
constexpr const char* kUploadWhere =
    " WHERE ($1::text IS NULL OR u.started >= $1::timestamptz)"
    " AND ($2::text IS NULL OR u.started < $2::timestamptz)"
    " AND ($3::text IS NULL OR u.terminal = $3) AND ($4::text IS NULL OR $4 IN (s.id, s.host, s.name, "
    "right(s.id, 8)))";

std::vector<std::optional<std::string>> FilterParams(const CentralFilter& f) {
    return {OrNull(f.sinceUtc), OrNull(f.untilUtc), OrNull(f.terminal), OrNull(f.station)};
}

// encode(bytea, 'hex') back to the bytes.
std::string FromHex(const std::string& hex) {
    auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(nibble(hex[i]) * 16 + nibble(hex[i + 1]));
    return bytes;
}

CentralUpload UploadAt(const PgResult& r, int row) {
    CentralUpload u;
    int c = 0;
    for (std::string* t : {&u.key, &u.stationId, &u.host, &u.stationName, &u.terminal, &u.name, &u.device,
                           &u.byId, &u.started, &u.ended, &u.startedUtc, &u.endedUtc})
        *t = r.Value(row, c++);
    u.records = std::atoi(r.Value(row, c++).c_str());
    u.acknowledged = std::atoi(r.Value(row, c++).c_str());
    for (std::string* t : {&u.outcome, &u.sha256, &u.file, &u.code, &u.reason, &u.deliveredUtc})
        *t = r.Value(row, c++);
    return u;
}

}  // namespace

std::vector<std::string_view> SplitRecords(std::string_view file) {
    std::vector<std::string_view> records;
    std::size_t at = 0;
    while (at < file.size()) {
        const std::size_t end = file.find("\r\n", at);
        if (end == std::string_view::npos) {
            records.push_back(file.substr(at));
            break;
        }
        records.push_back(file.substr(at, end - at));
        at = end + 2;
    }
    return records;
}

std::string ArrayLiteral(const std::vector<std::string>& fields) {
    std::string out = "{";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        out += '"';
        for (const char c : fields[i]) {
            if (c == '"' || c == '\\') out += '\\';
            out += c;
        }
        out += '"';
    }
    return out + "}";
}

std::optional<CentralStore> CentralStore::Open(const std::string& conninfo, std::string* reason) {
    std::optional<PgConnection> c = PgConnection::Connect(conninfo, reason);
    if (!c) return std::nullopt;
    std::string why;
    const std::optional<PgResult> r = c->Query("SELECT max(version) FROM k52_schema", {}, &why);
    if (!r) {
        if (reason)
            *reason =
                c->LastState() == kUndefinedTable
                    ? std::string(K52_EN("the central database has no K52 schema; run k52cli central init"))
                    : why;
        return std::nullopt;
    }
    const int version = r->Rows() == 1 ? std::atoi(r->Value(0, 0).c_str()) : 0;
    if (version < kCentralSchemaVersion) {
        if (reason)
            *reason =
                Substitute(K52_EN("the central schema is version %1, older than %2; run k52cli central init"),
                           {std::to_string(version), std::to_string(kCentralSchemaVersion)});
        return std::nullopt;
    }
    return CentralStore(std::move(*c));
}

bool CentralStore::Init(const std::string& conninfo, std::string* reason) {
    std::optional<PgConnection> c = PgConnection::Connect(conninfo, reason);
    if (!c) return false;
    if (c->Exec(kCentralSchemaSql, reason)) return true;
    c->Exec("ROLLBACK", nullptr);
    return false;
}

Delivery CentralStore::Deliver(const UploadRow& row, std::string_view file, const FieldSeparators* separators,
                               const Progress& progress, std::string* reason) {
    PgConnection& c = connection_;
    auto fail = [&] {
        if (c.Ok()) c.Exec("ROLLBACK", nullptr);
        return Delivery::Failed;
    };
    if (!c.Exec("BEGIN", reason)) return Delivery::Failed;
    if (!c.Query("INSERT INTO stations (id, host) VALUES ($1, $2)"
                 " ON CONFLICT (id) DO UPDATE SET host = EXCLUDED.host, last_seen = now()",
                 {row.stationId, row.host}, reason))
        return fail();
    const std::optional<PgResult> inserted = c.Query(
        "INSERT INTO uploads (upload_key, station_id, terminal, name, device, by_id, started, ended,"
        " started_local, ended_local, records, acknowledged, outcome, sha256, file, code, reason)"
        " VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14, $15, $16, $17)"
        " ON CONFLICT (upload_key) DO NOTHING",
        {row.key, row.stationId, row.terminal, row.name, row.device, row.byId,
         row.startedUtc.empty() ? row.started : row.startedUtc,
         OrNull(row.endedUtc.empty() ? row.ended : row.endedUtc), row.started, row.ended,
         std::to_string(row.records), std::to_string(row.acknowledged), row.outcome, row.sha256, row.file,
         row.code, row.message},
        reason);
    if (!inserted) return fail();
    if (inserted->Affected() == 0) {
        // Sent before (its mark was lost): the first copy stays; a different one under the same key is
        // an error, never a silent replacement.
        const std::optional<PgResult> had =
            c.Query("SELECT sha256, records FROM uploads WHERE upload_key = $1", {row.key}, reason);
        if (!had || had->Rows() != 1) return fail();
        const bool same = had->Value(0, 0) == row.sha256 && had->Value(0, 1) == std::to_string(row.records);
        if (!same && reason)
            *reason =
                Substitute(K52_EN("the central store holds another upload under the key %1 (SHA-256 %2)"),
                           {row.key, had->Value(0, 0)});
        if (!c.Exec("ROLLBACK", reason)) return Delivery::Failed;
        return same ? Delivery::AlreadyStored : Delivery::Differs;
    }
    const std::vector<std::string_view> records = SplitRecords(file);
    if (!records.empty()) {
        const char* copy = separators ? "COPY records (upload_key, line, raw, text, fields) FROM STDIN"
                                      : "COPY records (upload_key, line, raw, text) FROM STDIN";
        if (!c.CopyBegin(copy, reason)) return fail();
        std::string batch;
        for (std::size_t i = 0; i < records.size(); ++i) {
            batch += row.key;
            batch += '\t';
            batch += std::to_string(i + 1);
            batch += '\t';
            AppendCopyBytea(batch, records[i]);
            batch += '\t';
            AppendCopyText(batch, RecordText(records[i]));
            if (separators) {
                batch += '\t';
                AppendCopyText(batch, ArrayLiteral(SplitRecord(records[i], *separators)));
            }
            batch += '\n';
            if ((i + 1) % kBatch == 0 || i + 1 == records.size()) {
                if (!c.CopyPut(batch, reason)) return fail();
                batch.clear();
                if (progress) progress(i + 1);
            }
        }
        if (!c.CopyEnd(reason)) return fail();
    }
    if (!c.Exec("COMMIT", reason)) return fail();
    return Delivery::Stored;
}

std::optional<std::vector<CentralUpload>> CentralStore::Uploads(const CentralFilter& filter,
                                                                std::string* reason) {
    const std::optional<PgResult> r = connection_.Query(
        std::string(kUploadSelect) + kUploadFrom + kUploadWhere + " ORDER BY u.started, u.upload_key",
        FilterParams(filter), reason);
    if (!r) return std::nullopt;
    std::vector<CentralUpload> uploads;
    for (int i = 0; i < r->Rows(); ++i) uploads.push_back(UploadAt(*r, i));
    return uploads;
}

bool CentralStore::ForEachRecord(const CentralFilter& filter, const RecordSink& each, std::string* reason) {
    PgConnection& c = connection_;
    // A cursor, so that a month of records never sits in memory at once.
    if (!c.Exec("BEGIN READ ONLY", reason)) return false;
    const bool declared = c.Query(std::string("DECLARE k52_export NO SCROLL CURSOR FOR ") + kUploadSelect +
                                      ", r.line, encode(r.raw, 'hex')" + kUploadFrom +
                                      " JOIN records r ON r.upload_key = u.upload_key" + kUploadWhere +
                                      " ORDER BY u.started, u.upload_key, r.line",
                                  FilterParams(filter), reason)
                              .has_value();
    bool ok = declared;
    while (ok) {
        const std::optional<PgResult> r = c.Query("FETCH 5000 FROM k52_export", {}, reason);
        if (!r) {
            ok = false;
            break;
        }
        if (r->Rows() == 0) break;
        std::string lastKey;
        CentralUpload upload;
        for (int i = 0; i < r->Rows(); ++i) {
            if (r->Value(i, 0) != lastKey) {
                upload = UploadAt(*r, i);
                lastKey = upload.key;
            }
            if (!each(upload, std::atoi(r->Value(i, kUploadColumns).c_str()),
                      FromHex(r->Value(i, kUploadColumns + 1)))) {
                c.Exec("ROLLBACK", nullptr);
                return true;
            }
        }
    }
    if (!ok) {
        if (c.Ok()) c.Exec("ROLLBACK", nullptr);
        return false;
    }
    return c.Exec("COMMIT", reason);
}

}  // namespace k52
