// A thin owner of a libpq connection and its results: statements with text parameters, one transaction
// at a time, and COPY ... FROM STDIN fed in chunks. No libpq header beyond this file's users.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct pg_conn;
struct pg_result;

namespace k52 {

class PgResult {
  public:
    int Rows() const;
    // The value at (row, column) as text; "" for NULL.
    std::string Value(int row, int column) const;
    bool IsNull(int row, int column) const;
    // Rows an INSERT, UPDATE or DELETE touched.
    int Affected() const;

  private:
    friend class PgConnection;
    struct Clear {
        void operator()(pg_result* r) const;
    };
    explicit PgResult(pg_result* r) : r_(r) {}
    std::unique_ptr<pg_result, Clear> r_;
};

class PgConnection {
  public:
    // Connects with a libpq connection string or URI (password files, TLS and the environment as libpq
    // gives them); nullopt with libpq's reason.
    static std::optional<PgConnection> Connect(const std::string& conninfo, std::string* reason);

    // Runs `sql` with text parameters ($1, $2, ...; nullopt is NULL). nullopt with the server's reason.
    std::optional<PgResult> Query(const std::string& sql,
                                  const std::vector<std::optional<std::string>>& params, std::string* reason);
    // Runs one or more statements without parameters.
    bool Exec(const std::string& sql, std::string* reason);
    // The SQLSTATE of the last failed statement ("42P01", ...), "" when none or the connection broke.
    const std::string& LastState() const { return state_; }

    // COPY ... FROM STDIN: Begin, Put text-format rows as often as needed, then End.
    bool CopyBegin(const std::string& sql, std::string* reason);
    bool CopyPut(std::string_view data, std::string* reason);
    bool CopyEnd(std::string* reason);

    // False once the connection is broken; a new one is needed then.
    bool Ok() const;

  private:
    struct Finish {
        void operator()(pg_conn* c) const;
    };
    explicit PgConnection(pg_conn* c) : c_(c) {}
    bool Check(pg_result* r, int expected, std::string* reason);
    std::unique_ptr<pg_conn, Finish> c_;
    std::string state_;
};

// The connection string without its password, for messages and logs; "" when it does not parse.
std::string RedactedConninfo(const std::string& conninfo);
// True when the connection string carries a password of its own.
bool ConninfoHasPassword(const std::string& conninfo);

// COPY's text format for a value: backslash, tab, newline and carriage return escaped; a bytea as \\x hex.
void AppendCopyText(std::string& out, std::string_view text);
void AppendCopyBytea(std::string& out, std::string_view bytes);

}  // namespace k52
