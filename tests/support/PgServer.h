// A throwaway PostgreSQL server for the central-store tests and benchmark: initdb and pg_ctl from
// Debian's postgresql package into a temporary folder, listening only on a Unix socket there, run as an
// unprivileged user when this process is root (initdb refuses root).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace k52::test {

class PgServer {
  public:
    // A new cluster, started; nullptr with the reason when that cannot be done.
    static std::unique_ptr<PgServer> Start(std::string* reason);
    ~PgServer();  // stops it at once

    // Connection strings on the socket: the superuser's, or `user`'s without a password.
    std::string Conninfo(const std::string& database, const std::string& user = "postgres") const;
    // A new, empty database.
    bool CreateDatabase(const std::string& name, std::string* reason);
    // Runs statements as the superuser in `database`.
    bool Sql(const std::string& database, const std::string& sql, std::string* reason);

    // Stops the server at once (connections break, as when the machine holding it goes away), and
    // starts it again; both wait until done.
    bool Stop(std::string* reason);
    bool Restart(std::string* reason);

  private:
    PgServer() = default;
    bool PgCtl(const std::vector<std::string>& args, std::string* reason);
    std::vector<std::string> As(const std::vector<std::string>& argv) const;

    TempDir dir_;
    std::string bin_;
    bool asNobody_ = false;
    unsigned uid_ = 0, gid_ = 0;
    bool running_ = false;
};

// The one server of a test program, started at the first use and stopped at its exit; nullptr with the
// reason when it cannot start.
PgServer* SharedPgServer(std::string* reason);

}  // namespace k52::test
