// k52cli collect against two k52peer terminals that appear at different moments, stopped with SIGTERM;
// then the ledger read back and verified.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "support/Process.h"
#include "support/TempDir.h"

namespace {

std::string FirstLine(const std::string& path, int deadlineMs = 20000) {
    for (int waited = 0; waited < deadlineMs; waited += 50) {
        std::ifstream in(path);
        std::string line;
        if (std::getline(in, line) && in) return line;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "";
}

bool WaitFor(const std::function<bool()>& condition, int deadlineMs = 30000) {
    for (int waited = 0; waited < deadlineMs; waited += 50) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

pid_t Start(const std::vector<std::string>& args, const std::string& out,
            const std::vector<std::string>& env = {}) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::freopen(out.c_str(), "w", stdout);
        for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CollectEndToEnd, TwoTerminalsAtDifferentMomentsThenTheLedgerVerifies) {
    k52::test::TempDir f;
    f.Write("a.txt", "A1\nA2\nA3\n");
    f.Write("b.txt", "B1\nB2\n");
    const pid_t peerA = Start({K52PEER_PATH, "--records", f("a.txt")}, f("peerA.out"));
    const std::string ptyA = FirstLine(f("peerA.out"));
    ASSERT_EQ(ptyA.rfind("/dev/", 0), 0u);
    // The second cradle is named by a link that appears only when its terminal is there.
    const std::string linkB = f("cradleB");
    const pid_t collect = Start(
        {K52CLI_PATH, "collect", f("out"), "--device", ptyA, "--device", linkB, "--interval", "1", "--json"},
        f("collect.out"));
    auto events = [&](const std::string& kind) {
        int n = 0;
        std::ifstream in(f("collect.out"));
        for (std::string line; std::getline(in, line);)
            if (nlohmann::json::parse(line, nullptr, false).value("event", "") == kind) ++n;
        return n;
    };
    ASSERT_TRUE(WaitFor([&] { return events("finished") == 1; })) << ReadAll(f("collect.out"));
    const pid_t peerB = Start({K52PEER_PATH, "--records", f("b.txt")}, f("peerB.out"));
    const std::string ptyB = FirstLine(f("peerB.out"));
    std::filesystem::create_symlink(ptyB, linkB);
    ASSERT_TRUE(WaitFor([&] { return events("finished") == 2; })) << ReadAll(f("collect.out"));
    kill(collect, SIGTERM);
    EXPECT_EQ(Wait(collect), 0);
    Wait(peerA);
    Wait(peerB);
    EXPECT_EQ(events("port back"), 1) << ReadAll(f("collect.out"));

    const k52::test::ProcessResult list = k52::test::RunProcess({K52CLI_PATH, "uploads", f("out"), "--json"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const nlohmann::json rows = nlohmann::json::parse(list.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]["records"], 3);
    EXPECT_EQ(rows[1]["records"], 2);
    EXPECT_EQ(rows[1]["terminal"], "cradleB");
    EXPECT_EQ(ReadAll(f("out/" + rows[1]["file"].get<std::string>())), "B1\r\nB2\r\n");
    EXPECT_EQ(k52::test::RunProcess({K52CLI_PATH, "uploads", f("out"), "--verify"}).exitCode, 0);

    std::filesystem::remove(f("out/" + rows[0]["file"].get<std::string>()));
    EXPECT_EQ(k52::test::RunProcess({K52CLI_PATH, "uploads", f("out"), "--verify"}).exitCode, 1);
}

}  // namespace

namespace {

// kill -9 at random moments of uploads, 20 times, each terminal with records of its own; then one
// restart's recovery. Every record a terminal counts as acknowledged is in exactly one stored file,
// and the ledger verifies clean (no row without its file, no file without its row).
TEST(CollectEndToEnd, TwentyKillsLoseNoAcknowledgedRecordAndCountNoneTwice) {
    k52::test::TempDir f;
    std::srand(31);
    std::vector<std::string> acknowledged;
    constexpr int kKills = 20;
    for (int round = 0; round < kKills; ++round) {
        std::string records;
        for (int i = 0; i < 400; ++i) records += "K" + std::to_string(round) + "-" + std::to_string(i) + "\n";
        const std::string file = f("r" + std::to_string(round) + ".txt");
        f.Write("r" + std::to_string(round) + ".txt", records);
        const std::string peerOut = f("peer" + std::to_string(round) + ".out");
        // Paced as a real terminal, an upload lasts about a second: the kill falls in it or in the idle.
        const pid_t peer = Start({K52PEER_PATH, "--records", file, "--pace"}, peerOut);
        const std::string pty = FirstLine(peerOut);
        ASSERT_EQ(pty.rfind("/dev/", 0), 0u);
        const pid_t collect =
            Start({K52CLI_PATH, "collect", f("out"), "--device", pty, "--interval", "1"}, f("collect.out"));
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + std::rand() % 900));
        kill(collect, SIGKILL);
        Wait(collect);
        kill(peer, SIGTERM);
        Wait(peer);
        // "upload: incomplete, N records acknowledged, ..."
        const std::string report = ReadAll(peerOut);
        const auto at = report.find("upload: ");
        int n = 0;
        if (at != std::string::npos) n = std::atoi(report.c_str() + report.find(", ", at) + 2);
        for (int i = 0; i < n; ++i)
            acknowledged.push_back("K" + std::to_string(round) + "-" + std::to_string(i));
    }
    // A restart on a port that is not there: recovery runs before any port is served.
    const pid_t restart =
        Start({K52CLI_PATH, "collect", f("out"), "--device", f("none"), "--json"}, f("restart.out"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    kill(restart, SIGTERM);
    EXPECT_EQ(Wait(restart), 0);

    const k52::test::ProcessResult verify =
        k52::test::RunProcess({K52CLI_PATH, "uploads", f("out"), "--verify"});
    EXPECT_EQ(verify.exitCode, 0) << verify.out << verify.err;
    const k52::test::ProcessResult list = k52::test::RunProcess({K52CLI_PATH, "uploads", f("out"), "--json"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    std::string stored;
    for (const nlohmann::json& row : nlohmann::json::parse(list.out)) {
        EXPECT_NE(row["outcome"], "receiving");
        if (!row["file"].is_null()) stored += ReadAll(f("out/" + row["file"].get<std::string>()));
    }
    for (const std::string& record : acknowledged) {
        const std::string line = record + "\r\n";
        const auto first = stored.find(line);
        EXPECT_NE(first, std::string::npos) << record;
        if (first != std::string::npos) {
            EXPECT_EQ(stored.find(line, first + 1), std::string::npos) << record;
        }
    }
    std::printf("kill campaign: %d kills, %zu acknowledged records checked\n", kKills, acknowledged.size());
    EXPECT_LT(acknowledged.size(), static_cast<std::size_t>(kKills) * 400);  // some kills fell mid-upload
}

// What the ledger's readers say: a non-date is refused, --since compares instants, and a device name
// that is not UTF-8 comes out as valid JSON with its bytes in hex.
TEST(CollectEndToEnd, UploadsSaysDatesAndOddNamesTruly) {
    k52::test::TempDir f;
    f.Write("a.txt", "A1\n");
    const pid_t peer = Start({K52PEER_PATH, "--records", f("a.txt")}, f("peer.out"));
    const std::string pty = FirstLine(f("peer.out"));
    const std::string odd = f("caf\xe9");
    std::filesystem::create_symlink(pty, odd);
    const pid_t collect = Start(
        {K52CLI_PATH, "collect", f("out"), "--device", odd, "--interval", "1", "--json"}, f("collect.out"));
    ASSERT_TRUE(WaitFor([&] { return ReadAll(f("collect.out")).find("\"finished\"") != std::string::npos; }))
        << ReadAll(f("collect.out"));
    kill(collect, SIGTERM);
    EXPECT_EQ(Wait(collect), 0);
    Wait(peer);
    EXPECT_NE(ReadAll(f("collect.out")).find("\"device_hex\""), std::string::npos);

    const k52::test::ProcessResult list = k52::test::RunProcess({K52CLI_PATH, "uploads", f("out"), "--json"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const nlohmann::json rows = nlohmann::json::parse(list.out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0]["device_hex"].get<std::string>().find("636166e9"), std::string::npos);
    const std::string startedUtc = rows[0]["started_utc"];
    auto since = [&](const std::string& date) {
        const k52::test::ProcessResult r =
            k52::test::RunProcess({K52CLI_PATH, "uploads", f("out"), "--json", "--since", date});
        return r.exitCode == 0 ? static_cast<int>(nlohmann::json::parse(r.out).size()) : -r.exitCode;
    };
    EXPECT_EQ(since(startedUtc), 1);
    // The same clock reading an hour east is an hour earlier, an hour west an hour later: instants, not
    // strings.
    EXPECT_EQ(since(startedUtc.substr(0, 19) + "+01:00"), 1);
    EXPECT_EQ(since(startedUtc.substr(0, 19) + "-01:00"), 0);
    EXPECT_EQ(since("2099-01-01T00:00:00-12:00"), 0);
    EXPECT_EQ(since("2026-13-45"), -2);
    EXPECT_EQ(since("2026-12-08 garbage"), -2);
}

// As a service of Type=notify: ready once its port is taken up, a status line that names the last upload,
// the watchdog fed, and stopping said before the end.
TEST(CollectEndToEnd, TellsTheServiceManagerReadyStatusWatchdogAndStopping) {
    k52::test::TempDir f;
    f.Write("a.txt", "A1\nA2\n");
    const int manager = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, f("notify").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(manager, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const pid_t peer = Start({K52PEER_PATH, "--records", f("a.txt")}, f("peer.out"));
    const std::string pty = FirstLine(f("peer.out"));
    const pid_t collect = Start({K52CLI_PATH, "collect", f("out"), "--device", pty, "--interval", "1"},
                                f("collect.out"), {"NOTIFY_SOCKET=" + f("notify"), "WATCHDOG_USEC=600000"});
    std::vector<std::string> said;
    auto take = [&] {
        char buffer[4096];
        for (ssize_t n; (n = recv(manager, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
            said.emplace_back(buffer, static_cast<std::size_t>(n));
    };
    auto saidSome = [&](const std::string& text) {
        take();
        for (const std::string& s : said)
            if (s.find(text) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(WaitFor([&] { return saidSome("; last upload "); })) << ReadAll(f("collect.out"));
    EXPECT_TRUE(WaitFor([&] { return saidSome("WATCHDOG=1"); }));
    kill(collect, SIGTERM);
    EXPECT_EQ(Wait(collect), 0);
    Wait(peer);
    take();
    close(manager);
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.front().rfind("READY=1\nSTATUS=1 port served", 0), 0u) << said.front();
    EXPECT_EQ(said.back().rfind("STOPPING=1\n", 0), 0u) << said.back();
}

// A station whose terminals never answer still shows the ports it serves, without waiting for an event.
TEST(CollectEndToEnd, StatusAndMetricsShowTheServedPortsBeforeAnyEvent) {
    k52::test::TempDir f;
    const pid_t peer = Start({K52PEER_PATH, "--fault", "silent"}, f("peer.out"));
    const std::string pty = FirstLine(f("peer.out"));
    const pid_t collect = Start(
        {K52CLI_PATH, "collect", f("out"), "--device", pty, "--metrics", f("k52.prom")}, f("collect.out"));
    EXPECT_TRUE(WaitFor([&] {
        return ReadAll(f("out/status.json")).find("\"" + pty + "\"") != std::string::npos;
    })) << ReadAll(f("out/status.json"));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(f("k52.prom")).find("k52_") != std::string::npos; }));
    kill(collect, SIGTERM);
    EXPECT_EQ(Wait(collect), 0);
    kill(peer, SIGTERM);
    Wait(peer);
}

}  // namespace
