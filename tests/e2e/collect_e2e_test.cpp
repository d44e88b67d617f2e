// k52cli collect against two k52peer terminals that appear at different moments, stopped with SIGTERM;
// then the ledger read back and verified.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

pid_t Start(const std::vector<std::string>& args, const std::string& out) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::freopen(out.c_str(), "w", stdout);
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
