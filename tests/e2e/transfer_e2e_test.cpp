// k52cli's transfers against k52peer on a pseudo-terminal, as a person would run them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "i18n/Translate.h"
#include "support/TempDir.h"

extern char** environ;

namespace {

struct Process {
    pid_t pid = -1;
    int out = -1;  // standard output
    int err = -1;  // standard error
};

Process Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv = {}) {
    int out[2], err[2];
    EXPECT_EQ(pipe(out), 0);
    EXPECT_EQ(pipe(err), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // The programs speak their own language (Chinese), whatever the locale the tests run in.
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        const std::string_view entry(*e);
        if (!entry.starts_with("LC_ALL=") && !entry.starts_with("LC_MESSAGES=") &&
            !entry.starts_with("LANG="))
            envStrings.emplace_back(entry);
    }
    for (const std::string& e : extraEnv) envStrings.push_back(e);
    std::vector<char*> envp;
    for (std::string& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    Process p;
    EXPECT_EQ(posix_spawn(&p.pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0) << args[0];
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    p.out = out[0];
    p.err = err[0];
    return p;
}

// Reads both pipes to their end and waits for the process; kills it after `limitMs`.
int Finish(Process& p, std::string* out, std::string* err, int limitMs = 30000) {
    pollfd fds[2] = {{p.out, POLLIN, 0}, {p.err, POLLIN, 0}};
    std::string* sinks[2] = {out, err};
    int open = 2;
    int waited = 0;
    while (open > 0) {
        int r = poll(fds, 2, 100);
        if (r == 0 && (waited += 100) >= limitMs) {
            ADD_FAILURE() << "process " << p.pid << " did not finish";
            kill(p.pid, SIGKILL);
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buf[4096];
            ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                if (sinks[i]) sinks[i]->append(buf, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (pollfd& f : fds)
        if (f.fd >= 0) close(f.fd);
    int status = 0;
    waitpid(p.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Result {
    int code;
    std::string out, err;
};

Result Exec(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    Process p = Spawn(args, env);
    Result r;
    r.code = Finish(p, &r.out, &r.err);
    return r;
}

// A running k52peer and the pseudo-terminal it printed.
struct Peer {
    explicit Peer(std::vector<std::string> args) {
        args.insert(args.begin(), K52PEER_PATH);
        process = Spawn(args);
        char c;
        while (read(process.out, &c, 1) == 1 && c != '\n') path += c;
        EXPECT_EQ(path.rfind("/dev/", 0), 0u) << path;
    }
    // Waits for the peer to end on its own; its exit code.
    int Finish() { return ::Finish(process, &report, &errors); }
    Process process;
    std::string path;
    std::string report, errors;
};

using Files = k52::test::TempDir;
// k52cli's own lines as the user reads them: its English patterns in the program's language.
using k52::Localize;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(EndToEnd, DownloadProgram) {
    Files f;
    ASSERT_EQ(Exec({K52CLI_PATH, "new", f("plan.ATC")}).code, 0);
    ASSERT_EQ(Exec({K52CLI_PATH, "image", f("plan.ATC"), f("expected.img")}).code, 0);
    Peer peer({"--image-out", f("received.img")});
    Result cli = Exec({K52CLI_PATH, "download", f("plan.ATC"), "--device", peer.path, "--quiet"});
    EXPECT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(cli.err, "Download: 下載完畢!!\n");
    EXPECT_EQ(peer.Finish(), 0) << peer.report << peer.errors;
    EXPECT_TRUE(Has(peer.report, "image: complete, 105 packets verified")) << peer.report;
    EXPECT_TRUE(Has(peer.report, "errors: 0")) << peer.report;
    EXPECT_EQ(f.Read("received.img").size(), 10500u);
    EXPECT_EQ(f.Read("received.img"), f.Read("expected.img"));
}

TEST(EndToEnd, DownloadLookupThroughAComPortName) {
    Files f;
    f.Write("stock.txt", "4710001,Tea\r\n4710002,Coffee\r\n\r\nlast line");
    Peer peer({"--lookup-out", f("received.txt")});
    Result cli =
        Exec({K52CLI_PATH, "download-lookup", f("stock.txt"), "--port", "COM2"}, {"K52_COM2=" + peer.path});
    EXPECT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(peer.Finish(), 0) << peer.report;
    EXPECT_TRUE(Has(peer.report, "lookup: complete, 4 records verified")) << peer.report;
    EXPECT_EQ(f.Read("received.txt"), "4710001,Tea\r\n4710002,Coffee\r\n\r\nlast line\r\n");
}

TEST(EndToEnd, ReceiveRecordsWithARepeatAndABadChecksum) {
    Files f;
    f.Write("records.txt", "A001,3\nA002,1\r\nA003,12\n");
    Peer peer({"--records", f("records.txt"), "--fault", "repeat-record=0", "--fault", "bad-checksum=1"});
    Result cli = Exec({K52CLI_PATH, "receive", f("out.txt"), "--device", peer.path, "--speed", "9600"});
    EXPECT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(cli.out, Localize("%1 records stored in %2", {"3", f("out.txt")}) + "\n");
    // Nobody can answer "view them now?" here: the count above is the whole report.
    EXPECT_FALSE(Has(cli.err, "完成 : 共接收")) << cli.err;
    EXPECT_EQ(f.Read("out.txt"), "A001,3\r\nA002,1\r\nA003,12\r\n");
    EXPECT_EQ(peer.Finish(), 0) << peer.report;
    EXPECT_TRUE(Has(peer.report, "upload: complete, 3 records acknowledged, 5 frames sent, 1 NAK received"))
        << peer.report;
}

TEST(EndToEnd, DownloadThroughTheInfraredCradle) {
    Files f;
    ASSERT_EQ(Exec({K52CLI_PATH, "new", f("plan.ATC")}).code, 0);
    Peer peer({"--cradle-speed", "57600"});
    Result cli =
        Exec({K52CLI_PATH, "download", f("plan.ATC"), "--device", peer.path, "--ir", "--speed", "19200"});
    EXPECT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(peer.Finish(), 0) << peer.report;
    EXPECT_TRUE(
        Has(peer.report, "cradle: 1 of 4 probes echoed, relaying at 19200 bps (commands 0x07 0x33 0x51)"))
        << peer.report;
    EXPECT_TRUE(Has(peer.report, "image: complete, 105 packets verified")) << peer.report;
}

TEST(EndToEnd, RefusedPacketIsRetriedWhenTheUserSaysYes) {
    Files f;
    ASSERT_EQ(Exec({K52CLI_PATH, "new", f("plan.ATC")}).code, 0);
    Peer peer({"--fault", "refuse-packet=60:4"});
    Result cli =
        Exec({K52CLI_PATH, "download", f("plan.ATC"), "--device", peer.path, "--retries", "1", "--quiet"});
    EXPECT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(cli.err, "錯誤: 下載失敗!!\n錯誤: 下載失敗,再試一次嗎??\nDownload: 下載完畢!!\n");
    EXPECT_EQ(peer.Finish(), 0) << peer.report;
    EXPECT_TRUE(Has(peer.report, "handshakes: 2")) << peer.report;
}

TEST(EndToEnd, FailuresAndTheirExitCodes) {
    Files f;
    f.Write("long.txt", "ok\r\n" + std::string(300, 'x') + "\r\n");
    Result tooLong = Exec({K52CLI_PATH, "download-lookup", f("long.txt"), "--device", "/nonexistent/tty"});
    EXPECT_EQ(tooLong.code, 3);
    EXPECT_TRUE(Has(tooLong.err, "錯誤: 檔案第 2 行")) << tooLong.err;

    Result noPort = Exec({K52CLI_PATH, "receive", f("out.txt"), "--device", "/nonexistent/tty"});
    EXPECT_EQ(noPort.code, 4);
    EXPECT_TRUE(Has(noPort.err, "錯誤: 無法打開通訊埠!!")) << noPort.err;

    EXPECT_EQ(Exec({K52CLI_PATH, "receive", f("out.txt")}).code, 2);
    EXPECT_EQ(Exec({K52CLI_PATH, "download", f("x.ATC"), "--port", "COM7"}).code, 2);
    EXPECT_EQ(Exec({K52CLI_PATH, "download", f("x.ATC"), "--port", "COM1", "--speed", "4800"}).code, 2);
}

TEST(EndToEnd, ALateFirstRecordAndALaterRefusalLoseNothing) {
    Files f;
    f.Write("r.txt", "first\nsecond\nthird\n");
    Peer peer({"--records", f("r.txt"), "--fault", "pause-record=0:700", "--fault", "bad-checksum=2"});
    Result cli = Exec({K52CLI_PATH, "receive", f("out.txt"), "--device", peer.path});
    EXPECT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(cli.out, Localize("%1 records stored in %2", {"3", f("out.txt")}) + "\n");
    EXPECT_EQ(f.Read("out.txt"), "first\r\nsecond\r\nthird\r\n");
    peer.Finish();
    EXPECT_TRUE(Has(peer.report, "upload: complete, 3 records acknowledged")) << peer.report;
}

TEST(EndToEnd, ALookupRecordSentAgainAfterALateAnswerIsNamed) {
    Files f;
    f.Write("lk6.txt", "L0\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5\r\n");
    Peer peer({"--lookup-out", f("got.txt"), "--fault", "pause-packet=1:3100"});
    Result cli = Exec({K52CLI_PATH, "download-lookup", f("lk6.txt"), "--device", peer.path});
    EXPECT_EQ(cli.code, 1) << cli.err;
    EXPECT_TRUE(Has(cli.err, "k52cli: " + Localize("the terminal may hold line %1 of %2 more than once",
                                                   {"2", f("lk6.txt")})))
        << cli.err;
    EXPECT_TRUE(Has(cli.err, "錯誤: 終端機可能重複存了第 2 行的資料")) << cli.err;
    EXPECT_EQ(peer.Finish(), 0) << peer.report;
    // The terminal holds L1 twice (a record carries no number), never three times.
    EXPECT_EQ(f.Read("got.txt"), "L0\r\nL1\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5\r\n");
}

TEST(EndToEnd, ReceiveLeavesAnExistingFileAloneUnlessToldToOverwrite) {
    Files f;
    f.Write("out.txt", "yesterday\r\n");
    Result refused = Exec({K52CLI_PATH, "receive", f("out.txt"), "--device", "/nonexistent/tty"});
    EXPECT_EQ(refused.code, 3);
    EXPECT_EQ(refused.err,
              "k52cli: " + Localize("%1 exists; add --overwrite to replace it", {f("out.txt")}) + "\n");
    EXPECT_EQ(f.Read("out.txt"), "yesterday\r\n");

    // A receive that fails leaves it as it was, --overwrite or not.
    Result failed =
        Exec({K52CLI_PATH, "receive", f("out.txt"), "--device", "/nonexistent/tty", "--overwrite"});
    EXPECT_EQ(failed.code, 4);
    EXPECT_EQ(f.Read("out.txt"), "yesterday\r\n");

    f.Write("r.txt", "today\n");
    Peer peer({"--records", f("r.txt")});
    Result replaced = Exec({K52CLI_PATH, "receive", f("out.txt"), "--device", peer.path, "--overwrite"});
    EXPECT_EQ(replaced.code, 0) << replaced.err;
    EXPECT_EQ(f.Read("out.txt"), "today\r\n");
    peer.Finish();
}

TEST(EndToEnd, ATerminalWithNothingToSendIsNotAFailure) {
    Files f;
    Peer peer({});
    Result cli = Exec({K52CLI_PATH, "receive", f("out.txt"), "--device", peer.path, "--quiet"});
    EXPECT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(cli.out, Localize("%1 records stored", {"0"}) + "\n");
    EXPECT_EQ(cli.err, "接收資料: 沒有接收到任何資料!!\n");
    EXPECT_EQ(f.Read("out.txt"), "");
    peer.Finish();
}

TEST(EndToEnd, ANamedDeviceMakesADamagedPortNumberIrrelevant) {
    Files f;
    ASSERT_EQ(Exec({K52CLI_PATH, "new", f("plan.ATC")}).code, 0);
    std::string bytes = f.Read("plan.ATC");
    bytes[8] = static_cast<char>(99);  // the port number, just after the 8-byte magic
    f.Write("plan.ATC", bytes);
    Peer peer({});
    Result cli = Exec({K52CLI_PATH, "download", f("plan.ATC"), "--device", peer.path});
    EXPECT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(peer.Finish(), 0) << peer.report;
}

// A few fault mixes drawn at random (seeded, so a failure can be replayed): the terminal's account and
// k52cli's must agree.
TEST(EndToEnd, RandomFaultMixes) {
    std::mt19937 random(20261207);
    const char* receiveFaults[] = {"late-frame=%:700", "garble-frame=%", "lose-reply=%", "late-reply=%:650",
                                   "lose-frame=%"};
    for (int run = 0; run < 3; ++run) {
        Files f;
        f.Write("r.txt", "a1\nb2\nc3\n");
        std::vector<std::string> args = {"--records", f("r.txt")};
        std::string described;
        for (int k = 0; k < 2; ++k) {
            std::string fault = receiveFaults[random() % 5];
            fault.replace(fault.find('%'), 1, std::to_string(random() % 4));
            args.insert(args.end(), {"--fault", fault});
            described += " " + fault;
        }
        Peer peer(args);
        Result cli = Exec({K52CLI_PATH, "receive", f("out.txt"), "--device", peer.path});
        peer.Finish();
        SCOPED_TRACE(described);
        ASSERT_EQ(cli.code, 0) << cli.err;
        EXPECT_TRUE(Has(peer.report, "upload: complete, 3 records acknowledged")) << peer.report;
        EXPECT_EQ(f.Read("out.txt"), "a1\r\nb2\r\nc3\r\n");
    }
    const char* lookupFaults[] = {"garble-packet=%", "lose-answer=%", "lose-packet=%", "refuse-packet=%"};
    for (int run = 0; run < 2; ++run) {
        Files f;
        f.Write("stock.txt", "x1\r\ny2\r\nz3\r\n");
        std::vector<std::string> args = {"--lookup-out", f("got.txt")};
        std::string described;
        for (int k = 0; k < 2; ++k) {
            std::string fault = lookupFaults[random() % 4];
            fault.replace(fault.find('%'), 1, std::to_string(random() % 4));
            args.insert(args.end(), {"--fault", fault});
            described += " " + fault;
        }
        Peer peer(args);
        Result cli = Exec({K52CLI_PATH, "download-lookup", f("stock.txt"), "--device", peer.path});
        peer.Finish();
        SCOPED_TRACE(described);
        std::string got = f.Read("got.txt");
        if (cli.code == 0) {
            EXPECT_EQ(got, "x1\r\ny2\r\nz3\r\n");
        } else {
            ASSERT_EQ(cli.code, 1) << cli.err;
            // Only a line k52cli named may stand twice.
            for (const char* line : {"x1", "y2", "z3"}) {
                const std::string twice = std::string(line) + "\r\n" + line + "\r\n";
                if (Has(got, twice)) {
                    const int number = line[1] - '0';
                    EXPECT_TRUE(Has(cli.err, Localize("the terminal may hold line %1 of %2 more than once",
                                                      {std::to_string(number), f("stock.txt")})))
                        << cli.err;
                    got.replace(got.find(twice), twice.size(), std::string(line) + "\r\n");
                }
            }
            EXPECT_EQ(got, "x1\r\ny2\r\nz3\r\n") << cli.err;
        }
    }
}

// A port assigned once with `k52cli ports assign` downloads with no environment variable; one assigned to
// an adapter that is not plugged in says so.
TEST(EndToEnd, AnAssignedPortNeedsNoEnvironmentVariable) {
    Files f;
    const std::vector<std::string> env = {"XDG_CONFIG_HOME=" + f.path().string()};
    Result list = Exec({K52CLI_PATH, "ports", "--json"}, env);
    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_TRUE(Has(list.out,
                    "\"name\": \"COM6\",\n      \"device\": \"/dev/ttyS5\",\n      \"source\": \"default\""))
        << list.out;

    ASSERT_EQ(Exec({K52CLI_PATH, "new", f("plan.ATC")}).code, 0);
    Peer peer({"--image-out", f("received.img")});
    Result assign = Exec({K52CLI_PATH, "ports", "assign", "com3", peer.path}, env);
    EXPECT_EQ(assign.code, 0) << assign.err;
    EXPECT_EQ(assign.out, "COM3 = " + peer.path + "\n");
    EXPECT_EQ(f.Read("k52/ports.conf"), "COM3=" + peer.path + "\n");
    Result cli = Exec({K52CLI_PATH, "download", f("plan.ATC"), "--port", "COM3"}, env);
    EXPECT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(peer.Finish(), 0) << peer.report;
    EXPECT_EQ(f.Read("received.img").size(), 10500u);

    const std::string absent = "/dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0";
    EXPECT_EQ(Exec({K52CLI_PATH, "ports", "assign", "COM3", absent}, env).code, 0);
    cli = Exec({K52CLI_PATH, "download", f("plan.ATC"), "--port", "COM3", "--quiet"}, env);
    EXPECT_EQ(cli.code, 4);
    EXPECT_EQ(cli.err, "錯誤: 連接埠無法打開!!\nk52cli: COM3 指定為 " + absent + ", 但該裝置未連接\n");

    EXPECT_EQ(Exec({K52CLI_PATH, "ports", "unassign", "COM3"}, env).out,
              "COM3 = /dev/ttyS2 (" + Localize("default") + ")\n");
    EXPECT_EQ(f.Read("k52/ports.conf"), "");
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"ports", "assign", "COM7", "/dev/ttyUSB0"}, {"ports", "assign", "COM1"}, {"ports", "list"}}) {
        std::vector<std::string> args = {K52CLI_PATH};
        args.insert(args.end(), bad.begin(), bad.end());
        Result r = Exec(args, env);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(Has(r.err, Localize("usage: k52cli %1",
                                        {"ports [--json] | ports assign COMn DEVICE | ports unassign COMn"}) +
                                   "\n"))
            << r.err;
    }
}

}  // namespace

// Several terminals in one command: each verified on its own, a silent one named in the report, and the
// exit code the silent one would have given alone.
TEST(EndToEnd, ThreeTerminalsAtOnceWithOneSilent) {
    Files f;
    ASSERT_EQ(Exec({K52CLI_PATH, "new", f("plan.ATC")}).code, 0);
    ASSERT_EQ(Exec({K52CLI_PATH, "image", f("plan.ATC"), f("expected.img")}).code, 0);
    Peer a({"--image-out", f("a.img")}), silent({"--fault", "silent"}), c({"--image-out", f("c.img")});
    Result cli = Exec({K52CLI_PATH, "download", f("plan.ATC"), "--device", a.path, "--device", silent.path,
                       "--device", c.path});
    EXPECT_EQ(cli.code, 1) << cli.err;
    EXPECT_EQ(a.Finish(), 0) << a.report;
    EXPECT_EQ(c.Finish(), 0) << c.report;
    kill(silent.process.pid, SIGTERM);
    silent.Finish();
    EXPECT_EQ(f.Read("a.img"), f.Read("expected.img"));
    EXPECT_EQ(f.Read("c.img"), f.Read("expected.img"));
    // The report: a header and one row per terminal in command-line order.
    const auto rowA = cli.out.find("\n" + a.path + " "), rowS = cli.out.find("\n" + silent.path + " "),
               rowC = cli.out.find("\n" + c.path + " ");
    ASSERT_NE(rowA, std::string::npos) << cli.out;
    EXPECT_LT(rowA, rowS);
    EXPECT_LT(rowS, rowC);
    const std::string noReply = Localize("failed: %1", {Localize("no-reply")});
    EXPECT_TRUE(Has(cli.out.substr(rowS, rowC - rowS), noReply)) << cli.out;
    EXPECT_TRUE(Has(cli.out.substr(rowA, rowS - rowA), " " + Localize("ok") + " ")) << cli.out;
    // Messages name their terminal; progress comes as plain lines without control characters.
    EXPECT_TRUE(Has(cli.err, silent.path + ": 錯誤: 終端機尚未就緒!!\n")) << cli.err;
    EXPECT_TRUE(Has(cli.err, a.path + ": " + Localize("handshake") + "\n")) << cli.err;
    EXPECT_TRUE(Has(cli.err, c.path + ": " + Localize("sending packet %1/%2", {"0", "105"}) + "\n"))
        << cli.err;
    EXPECT_TRUE(Has(cli.err, c.path + ": " + Localize("done") + Localize(" (%1 bytes)", {"11246"}) + "\n"))
        << cli.err;
    EXPECT_TRUE(Has(cli.err, silent.path + ": " + noReply)) << cli.err;
    for (char ch : cli.err) EXPECT_TRUE(ch == '\n' || static_cast<unsigned char>(ch) >= 0x20);
}

TEST(EndToEnd, TwoTerminalsReceiveIntoAFolderWithAJsonReport) {
    Files f;
    f.Write("one.txt", "A1\nA2\n");
    f.Write("two.txt", "B1\n");
    Peer one({"--records", f("one.txt")}), two({"--records", f("two.txt")});
    Result cli = Exec(
        {K52CLI_PATH, "receive", f("got"), "--device", one.path, "--device", two.path, "--json", "--quiet"});
    EXPECT_EQ(cli.code, 0) << cli.err;
    const std::string nameOne = one.path.substr(one.path.rfind('/') + 1) + ".TXT";
    const std::string nameTwo = two.path.substr(two.path.rfind('/') + 1) + ".TXT";
    EXPECT_EQ(f.Read("got/" + nameOne), "A1\r\nA2\r\n");
    EXPECT_EQ(f.Read("got/" + nameTwo), "B1\r\n");
    const auto doc = nlohmann::json::parse(cli.out);
    ASSERT_EQ(doc.size(), 2u) << cli.out;
    EXPECT_EQ(doc[0]["device"], one.path);
    EXPECT_EQ(doc[0]["ok"], true);
    EXPECT_TRUE(doc[0]["failure"].is_null());
    EXPECT_EQ(doc[0]["records"], 2);
    EXPECT_EQ(doc[0]["file"], f("got/" + nameOne));
    EXPECT_EQ(doc[1]["device"], two.path);
    EXPECT_EQ(doc[1]["records"], 1);
    EXPECT_GE(doc[1]["seconds"].get<double>(), 0.0);
    one.Finish();
    two.Finish();

    // A file already there is refused as a single receive would refuse it; the other terminal goes on.
    Peer three({"--records", f("one.txt")}), four({"--records", f("two.txt")});
    const std::string nameThree = three.path.substr(three.path.rfind('/') + 1) + ".TXT";
    std::filesystem::create_directory(f("got2"));
    f.Write("got2/" + nameThree, "kept\r\n");
    Result again = Exec({K52CLI_PATH, "receive", f("got2"), "--device", three.path, "--device", four.path,
                         "--json", "--quiet"});
    EXPECT_EQ(again.code, 3) << again.err;
    EXPECT_TRUE(
        Has(again.err, three.path + ": k52cli: " +
                           Localize("%1 exists; add --overwrite to replace it", {f("got2/" + nameThree)})))
        << again.err;
    EXPECT_EQ(f.Read("got2/" + nameThree), "kept\r\n");
    const auto second = nlohmann::json::parse(again.out);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0]["failure"], "file");
    EXPECT_EQ(second[1]["ok"], true);
    four.Finish();
    kill(three.process.pid, SIGTERM);
    three.Finish();
}

// One k52peer process playing two terminals: both paths first, then each one's image in a file of its own.
TEST(EndToEnd, OnePeerProcessPlaysTwoTerminals) {
    Files f;
    ASSERT_EQ(Exec({K52CLI_PATH, "new", f("plan.ATC")}).code, 0);
    ASSERT_EQ(Exec({K52CLI_PATH, "image", f("plan.ATC"), f("expected.img")}).code, 0);
    Peer peers({"--count", "2", "--image-out", f("got.img")});
    std::string second;
    char c;
    while (read(peers.process.out, &c, 1) == 1 && c != '\n') second += c;
    ASSERT_EQ(second.rfind("/dev/", 0), 0u) << second;
    Result cli =
        Exec({K52CLI_PATH, "download", f("plan.ATC"), "--device", peers.path, "--device", second, "--quiet"});
    EXPECT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(peers.Finish(), 0) << peers.report;
    EXPECT_TRUE(Has(peers.report, peers.path + ":\nhandshakes: 1\nimage: complete")) << peers.report;
    EXPECT_EQ(f.Read("got.img.1"), f.Read("expected.img"));
    EXPECT_EQ(f.Read("got.img.2"), f.Read("expected.img"));
}
