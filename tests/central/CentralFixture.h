// What the central store's tests share: the program's throwaway server, a fresh database with the
// schema per test, and station folders whose ledgers hold uploads with their files.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "station/CentralStore.h"
#include "station/Ledger.h"
#include "support/PgServer.h"
#include "support/TempDir.h"
#include "util/LocalTime.h"
#include "util/Sha256.h"

namespace k52::test {

class CentralTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string reason;
        server = SharedPgServer(&reason);
        // Never skipped: a machine that cannot run the server fails here with why.
        ASSERT_NE(server, nullptr) << reason;
        static std::atomic<int> next{0};
        database = "k52_" + std::to_string(getpid()) + "_" + std::to_string(next++);
        ASSERT_TRUE(server->CreateDatabase(database, &reason)) << reason;
    }
    std::string Url() const { return server->Conninfo(database); }
    void Init() {
        std::string reason;
        ASSERT_TRUE(CentralStore::Init(Url(), &reason)) << reason;
    }
    // One value of a query as the superuser.
    std::string Value(const std::string& sql) {
        std::string reason;
        std::optional<PgConnection> c = PgConnection::Connect(Url(), &reason);
        if (!c) return "connect: " + reason;
        std::optional<PgResult> r = c->Query(sql, {}, &reason);
        return !r ? "query: " + reason : r->Rows() ? r->Value(0, 0) : "";
    }

    PgServer* server = nullptr;
    std::string database;
};

// A station's folder whose ledger gets uploads of the given records, each in a file of its own, as
// collect leaves them. Returns the rows as put.
struct Folder {
    Folder() {
        std::string reason;
        ledger.emplace(*Ledger::Open(dir.path().string(), &reason));
    }
    UploadRow Add(const std::string& terminal, const std::vector<std::string>& records, std::time_t at) {
        std::string bytes;
        for (const std::string& r : records) bytes += r + "\r\n";
        UploadRow row;
        row.key = Ledger::NewKey(at);
        row.terminal = terminal;
        row.device = "/dev/ttyUSB0";
        row.started = row.ended = LocalIsoTime(at);
        row.startedUtc = row.endedUtc = UtcIsoTime(at);
        row.records = row.acknowledged = static_cast<int>(records.size());
        row.outcome = records.empty() ? "empty" : "complete";
        if (!records.empty()) {
            row.file = terminal + "-" + std::to_string(++files) + ".TXT";
            dir.Write(row.file, bytes);
            row.sha256 = Sha256Hex(bytes);
        }
        std::string reason;
        EXPECT_TRUE(ledger->Put(row, &reason)) << reason;
        return row;
    }
    std::vector<UploadRow> Rows() {
        std::string reason;
        return *ledger->List("", "", &reason);
    }
    std::string path() const { return dir.path().string(); }

    TempDir dir;
    std::optional<Ledger> ledger;
    int files = 0;
};

inline std::vector<std::string> Numbered(const std::string& prefix, int n) {
    std::vector<std::string> r;
    for (int i = 0; i < n; ++i) r.push_back(prefix + std::to_string(i));
    return r;
}

}  // namespace k52::test
