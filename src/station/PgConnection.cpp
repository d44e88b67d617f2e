// libpq behind the owner: every result checked and freed, errors as libpq's words without the password.
#include "station/PgConnection.h"

#include <libpq-fe.h>

namespace k52 {
namespace {

std::string Trimmed(const char* text) {
    std::string s = text ? text : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    return s;
}

}  // namespace

void PgResult::Clear::operator()(pg_result* r) const {
    PQclear(r);
}

int PgResult::Rows() const {
    return PQntuples(r_.get());
}

std::string PgResult::Value(int row, int column) const {
    return std::string(PQgetvalue(r_.get(), row, column),
                       static_cast<std::size_t>(PQgetlength(r_.get(), row, column)));
}

bool PgResult::IsNull(int row, int column) const {
    return PQgetisnull(r_.get(), row, column) != 0;
}

int PgResult::Affected() const {
    const char* n = PQcmdTuples(r_.get());
    return n && *n ? std::atoi(n) : 0;
}

void PgConnection::Finish::operator()(pg_conn* c) const {
    PQfinish(c);
}

std::optional<PgConnection> PgConnection::Connect(const std::string& conninfo, std::string* reason) {
    // The caller's string comes last, so its own connect_timeout or application_name wins.
    const char* keys[] = {"connect_timeout", "application_name", "dbname", nullptr};
    const char* values[] = {"10", "k52", conninfo.c_str(), nullptr};
    PGconn* c = PQconnectdbParams(keys, values, 1);
    PgConnection connection(c);
    if (!c || PQstatus(c) != CONNECTION_OK) {
        if (reason) *reason = c ? Trimmed(PQerrorMessage(c)) : "out of memory";
        return std::nullopt;
    }
    // Notices (an IF NOT EXISTS that skipped) are the DBA's business, not the station's output.
    PQsetNoticeProcessor(
        c, [](void*, const char*) {}, nullptr);
    return connection;
}

bool PgConnection::Check(pg_result* r, int expected, std::string* reason) {
    const ExecStatusType status = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (status == expected) {
        state_.clear();
        return true;
    }
    const char* code = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    state_ = code ? code : "";
    if (reason) {
        const char* primary = r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
        *reason = primary ? primary : Trimmed(PQerrorMessage(c_.get()));
        if (reason->empty()) *reason = PQresStatus(status);
    }
    return false;
}

std::optional<PgResult> PgConnection::Query(const std::string& sql,
                                            const std::vector<std::optional<std::string>>& params,
                                            std::string* reason) {
    std::vector<const char*> values;
    std::vector<int> lengths;
    for (const auto& p : params) {
        values.push_back(p ? p->c_str() : nullptr);
        lengths.push_back(p ? static_cast<int>(p->size()) : 0);
    }
    PgResult result(PQexecParams(c_.get(), sql.c_str(), static_cast<int>(params.size()), nullptr,
                                 values.data(), lengths.data(), nullptr, 0));
    const ExecStatusType status = result.r_ ? PQresultStatus(result.r_.get()) : PGRES_FATAL_ERROR;
    if (!Check(result.r_.get(), status == PGRES_TUPLES_OK ? PGRES_TUPLES_OK : PGRES_COMMAND_OK, reason))
        return std::nullopt;
    return result;
}

bool PgConnection::Exec(const std::string& sql, std::string* reason) {
    // PQexec runs several statements and returns the last one's result; an error stops at its statement.
    PgResult result(PQexec(c_.get(), sql.c_str()));
    const ExecStatusType status = result.r_ ? PQresultStatus(result.r_.get()) : PGRES_FATAL_ERROR;
    return Check(result.r_.get(), status == PGRES_TUPLES_OK ? PGRES_TUPLES_OK : PGRES_COMMAND_OK, reason);
}

bool PgConnection::CopyBegin(const std::string& sql, std::string* reason) {
    PgResult result(PQexec(c_.get(), sql.c_str()));
    return Check(result.r_.get(), PGRES_COPY_IN, reason);
}

bool PgConnection::CopyPut(std::string_view data, std::string* reason) {
    if (PQputCopyData(c_.get(), data.data(), static_cast<int>(data.size())) == 1) return true;
    if (reason) *reason = Trimmed(PQerrorMessage(c_.get()));
    state_.clear();
    return false;
}

bool PgConnection::CopyEnd(std::string* reason) {
    if (PQputCopyEnd(c_.get(), nullptr) != 1) {
        if (reason) *reason = Trimmed(PQerrorMessage(c_.get()));
        return false;
    }
    bool ok = true;
    // The COPY's own result, then nothing more.
    while (pg_result* r = PQgetResult(c_.get())) {
        PgResult result(r);
        if (ok) ok = Check(r, PGRES_COMMAND_OK, reason);
    }
    return ok;
}

bool PgConnection::Ok() const {
    return c_ && PQstatus(c_.get()) == CONNECTION_OK;
}

std::string RedactedConninfo(const std::string& conninfo) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
    PQfreemem(error);
    if (!options) return "";
    std::string out;
    for (const PQconninfoOption* o = options; o->keyword; ++o) {
        const std::string key = o->keyword;
        if (!o->val || key == "password" || !*o->val) continue;
        if (key != "host" && key != "hostaddr" && key != "port" && key != "dbname" && key != "user") continue;
        out += (out.empty() ? "" : " ") + key + "=" + o->val;
    }
    PQconninfoFree(options);
    return out;
}

bool ConninfoHasPassword(const std::string& conninfo) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
    PQfreemem(error);
    bool has = false;
    for (const PQconninfoOption* o = options; o && o->keyword; ++o)
        if (std::string(o->keyword) == "password" && o->val && *o->val) has = true;
    PQconninfoFree(options);
    return has;
}

void AppendCopyText(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
}

void AppendCopyBytea(std::string& out, std::string_view bytes) {
    static const char kHex[] = "0123456789abcdef";
    // "\x" reaches the bytea input as \x: the backslash itself is escaped for COPY.
    out += "\\\\x";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
}

}  // namespace k52
