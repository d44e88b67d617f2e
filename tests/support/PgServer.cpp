#include "support/PgServer.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "station/PgConnection.h"
#include "support/Process.h"

namespace k52::test {

namespace fs = std::filesystem;

namespace {

// The newest installed server's programs: /usr/lib/postgresql/N/bin.
std::string ServerBin() {
    std::string best;
    int bestVersion = -1;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        const int v = std::atoi(e.path().filename().c_str());
        if (v > bestVersion && fs::exists(e.path() / "bin" / "initdb")) {
            bestVersion = v;
            best = (e.path() / "bin").string();
        }
    }
    return best;
}

std::string Said(const ProcessResult& r) {
    std::string s = r.err.empty() ? r.out : r.err;
    while (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
}

}  // namespace

std::vector<std::string> PgServer::As(const std::vector<std::string>& argv) const {
    if (!asNobody_) return argv;
    std::vector<std::string> v = {"/usr/bin/setpriv", "--reuid=" + std::to_string(uid_),
                                  "--regid=" + std::to_string(gid_), "--clear-groups", "--"};
    v.insert(v.end(), argv.begin(), argv.end());
    return v;
}

std::unique_ptr<PgServer> PgServer::Start(std::string* reason) {
    std::unique_ptr<PgServer> s(new PgServer);
    s->bin_ = ServerBin();
    if (s->bin_.empty()) {
        *reason = "no PostgreSQL server under /usr/lib/postgresql (scripts/setup installs postgresql)";
        return nullptr;
    }
    const std::string dir = s->dir_.path().string();
    if (geteuid() == 0) {
        const passwd* nobody = getpwnam("nobody");
        if (!nobody) {
            *reason = "no user nobody to run the server as";
            return nullptr;
        }
        s->asNobody_ = true;
        s->uid_ = nobody->pw_uid;
        s->gid_ = nobody->pw_gid;
        if (chown(dir.c_str(), s->uid_, s->gid_) != 0) {
            *reason = "cannot give " + dir + " to nobody";
            return nullptr;
        }
    }
    RunOptions options;
    options.workingDirectory = dir;
    options.limitMs = 60000;
    const ProcessResult init = RunProcess(s->As({s->bin_ + "/initdb", "-D", dir + "/data", "-U", "postgres",
                                                 "-A", "trust", "--no-sync", "-E", "UTF8", "--locale=C"}),
                                          options);
    if (init.exitCode != 0) {
        *reason = "initdb failed: " + Said(init);
        return nullptr;
    }
    {
        // Only the socket in the folder. No fsync: the machine does not crash under a test, but the
        // server does (an immediate stop), so a commit must reach the log before it is reported.
        std::ofstream conf(dir + "/data/postgresql.conf", std::ios::app);
        conf << "listen_addresses = ''\nunix_socket_directories = '" << dir
             << "'\nport = 5432\nfsync = off\nfull_page_writes = off\nsynchronous_commit = on\n"
                "max_connections = 40\nshared_buffers = 32MB\n";
        std::ofstream hba(dir + "/data/pg_hba.conf", std::ios::trunc);
        hba << "local all k52pw scram-sha-256\nlocal all all trust\n";
    }
    if (!s->PgCtl({"start", "-l", dir + "/server.log"}, reason)) return nullptr;
    return s;
}

bool PgServer::PgCtl(const std::vector<std::string>& args, std::string* reason) {
    std::vector<std::string> argv = {
        bin_ + "/pg_ctl", "-D", dir_.path().string() + "/data", "-w", "-t", "60"};
    argv.insert(argv.end(), args.begin(), args.end());
    RunOptions options;
    options.workingDirectory = dir_.path().string();
    options.limitMs = 90000;
    const ProcessResult r = RunProcess(As(argv), options);
    if (r.exitCode != 0) {
        std::ifstream log(dir_.path() / "server.log");
        const std::string tail(std::istreambuf_iterator<char>(log), {});
        *reason = "pg_ctl " + args.front() + " failed: " + Said(r) + "\n" + tail;
        return false;
    }
    running_ = args.front() == "start";
    return true;
}

PgServer::~PgServer() {
    std::string ignored;
    if (running_) PgCtl({"stop", "-m", "immediate"}, &ignored);
}

std::string PgServer::Conninfo(const std::string& database, const std::string& user) const {
    return "host=" + dir_.path().string() + " port=5432 dbname=" + database + " user=" + user;
}

bool PgServer::Sql(const std::string& database, const std::string& sql, std::string* reason) {
    std::optional<PgConnection> c = PgConnection::Connect(Conninfo(database), reason);
    return c && c->Exec(sql, reason);
}

bool PgServer::CreateDatabase(const std::string& name, std::string* reason) {
    return Sql("postgres", "CREATE DATABASE " + name, reason);
}

bool PgServer::Stop(std::string* reason) {
    return PgCtl({"stop", "-m", "immediate"}, reason);
}

bool PgServer::Restart(std::string* reason) {
    return PgCtl({"start", "-l", dir_.path().string() + "/server.log"}, reason);
}

PgServer* SharedPgServer(std::string* reason) {
    static std::string why;
    static std::unique_ptr<PgServer> server = PgServer::Start(&why);
    if (!server && reason) *reason = why;
    return server.get();
}

}  // namespace k52::test
