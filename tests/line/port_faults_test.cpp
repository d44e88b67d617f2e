// What a real desk's port faults look like from the programs, on pseudo-terminals: a device owned by a
// group the user is not in, one held by another program, an assigned adapter that is not plugged in, and
// an adapter pulled out in the middle of a receive.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "line/SerialLine.h"
#include "support/LinkHarness.h"

namespace k52 {
namespace {

using test::B;
using test::Bytes;

// A pseudo-terminal whose terminal side the test holds, and a private config folder for the resolver.
class PortFaultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        path = ptsname(master);
        char pattern[] = "/tmp/k52-faults-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        config = pattern;
        chmod(config.c_str(), 0755);  // readable by the unprivileged child too
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        for (int i = 1; i <= 6; ++i) unsetenv(("K52_COM" + std::to_string(i)).c_str());
    }
    void TearDown() override {
        if (master >= 0) close(master);
        std::error_code ignored;
        std::filesystem::remove_all(config, ignored);
        for (int i = 1; i <= 6; ++i) unsetenv(("K52_COM" + std::to_string(i)).c_str());
    }
    void Assign(const std::string& line) {
        mkdir((config + "/k52").c_str(), 0700);
        std::ofstream(config + "/k52/ports.conf") << line << "\n";
    }
    int master = -1;
    std::string path;
    std::string config;
};

TEST_F(PortFaultsTest, AbsentAdapterIsNamedWithItsAssignment) {
    Assign("COM3=/dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0");
    SystemLineFactory lines;
    std::string error;
    EXPECT_FALSE(lines.OpenPort(2, &error));
    EXPECT_EQ(
        error,
        "COM3 is assigned to /dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0, which is not connected");
}

TEST_F(PortFaultsTest, BusyDeviceSaysAnotherProgramHoldsIt) {
    Assign("COM2=" + path);
    SystemLineFactory lines;
    auto first = lines.OpenPort(1);
    ASSERT_TRUE(first);
    std::string error;
    EXPECT_FALSE(lines.OpenPort(1, &error));
    EXPECT_EQ(error, "COM2: " + path + " is in use by another program; close it and try again");
    first.reset();
    EXPECT_TRUE(lines.OpenPort(1, &error));
    EXPECT_EQ(error, "");  // a success gives no reason
}

// Root may open anything, so the permission case runs as "nobody" in a child process.
TEST_F(PortFaultsTest, PermissionDeniedNamesTheGroupToJoin) {
    const group* dialout = getgrnam("dialout");
    if (geteuid() != 0 || dialout == nullptr) GTEST_SKIP() << "needs root and a dialout group";
    ASSERT_EQ(chown(path.c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(chmod(path.c_str(), 0660), 0);
    setenv("K52_COM1", path.c_str(), 1);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeFds[0]);
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        SystemLineFactory lines;
        std::string error;
        const bool opened = lines.OpenPort(0, &error) != nullptr;
        const ssize_t n = write(pipeFds[1], error.data(), error.size());
        _exit(opened || n != static_cast<ssize_t>(error.size()) ? 1 : 0);
    }
    close(pipeFds[1]);
    std::string said;
    char buf[512];
    for (ssize_t n; (n = read(pipeFds[0], buf, sizeof buf)) > 0;)
        said.append(buf, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(said,
              "COM1: permission denied on " + path +
                  ", which belongs to the group 'dialout': join that group (sudo usermod -aG dialout $USER) "
                  "and log in again");
}

// The terminal sends five records and is pulled out after the host acknowledged three: the receive ends
// with its time-out and interruption messages, never spins, and the three records stay in the file.
TEST_F(PortFaultsTest, UnpluggedDuringAReceiveKeepsEveryAcknowledgedRecord) {
    PeerOptions options;
    for (const char* r : {"A001", "B002", "C003", "D004", "E005"}) options.records.push_back(B(r));
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    std::thread terminal([this, options] {
        TerminalPeer peer(options);
        MonotonicClock clock;
        for (;;) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 10000) <= 0 || (p.revents & POLLIN) == 0) break;
            u8 buf[256];
            const ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0) continue;
            peer.Receive(buf, static_cast<std::size_t>(n), PeerLineState{}, clock.NowMs());
            // Out before the fourth record is sent.
            if (peer.report().recordsAcknowledged >= 3) break;
            for (const PeerEmission& e : peer.TakeOutput())
                ASSERT_EQ(write(master, e.bytes.data(), e.bytes.size()),
                          static_cast<ssize_t>(e.bytes.size()));
        }
        close(master);  // the cable comes out
        master = -1;
    });

    char data[] = "/tmp/k52-received-XXXXXX";
    const int dataFd = mkstemp(data);
    ASSERT_GE(dataFd, 0);
    close(dataFd);
    ApplicationTemplate tmpl = StartupTemplate();
    SystemLineFactory lines(path);
    // Counts how often the transfer looks at the time: a tight loop would look millions of times.
    struct CountingClock : MonotonicClock {
        std::int64_t NowMs() override {
            ++looks;
            return MonotonicClock::NowMs();
        }
        long looks = 0;
    } clock;
    test::RecordingUi ui(clock);
    TerminalLink link(tmpl, lines, clock);
    ReceiveRequest request;
    request.dataFile = data;
    const TransferOutcome outcome = link.Receive(request, ui);
    terminal.join();

    EXPECT_FALSE(outcome.Succeeded());
    EXPECT_EQ(outcome.recordsStored, 3);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"通訊埠已中斷 (傳輸線或轉接器被拔除?)!!",
                                                    "接收中斷, 已接收的 3 筆資料已保存在檔案中. "
                                                    "第 3 筆資料下次可能會再傳送一次."}));
    EXPECT_EQ(outcome.failure, LinkFailure::LineLost);
    std::ifstream in(data, std::ios::binary);
    std::ostringstream kept;
    kept << in.rdbuf();
    unlink(data);
    EXPECT_EQ(kept.str(), "A001\r\nB002\r\nC003\r\n");
    // Nothing spun: a broken line is waited on in slices, not polled in a tight loop.
    EXPECT_LT(clock.looks, 100000);
}

}  // namespace
}  // namespace k52
