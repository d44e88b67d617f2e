// What the service manager and the journal receive: datagrams on a socket this test listens on.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "support/TempDir.h"
#include "util/platform/System.h"

namespace k52::test {
namespace {

class Listener {
  public:
    explicit Listener(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~Listener() { ::close(fd_); }
    bool Bound() const { return bound_; }
    // What has come, without waiting: the sender's sendto has returned by then.
    std::string Next() {
        char buffer[4096];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        return n < 0 ? std::string("(nothing)") : std::string(buffer, static_cast<std::size_t>(n));
    }

  private:
    int fd_;
    bool bound_ = false;
};

TEST(ServiceNotify, StatesGoToTheNamedSocketAndNowhereWithoutOne) {
    TempDir dir;
    Listener manager(dir("notify"));
    ASSERT_TRUE(manager.Bound());
    ::unsetenv("NOTIFY_SOCKET");
    EXPECT_FALSE(platform::NotifyServiceManager("READY=1\n"));
    ::setenv("NOTIFY_SOCKET", dir("notify").c_str(), 1);
    EXPECT_TRUE(platform::NotifyServiceManager("READY=1\nSTATUS=2 ports served\n"));
    EXPECT_EQ(manager.Next(), "READY=1\nSTATUS=2 ports served\n");
    ::setenv("NOTIFY_SOCKET", "relative/name", 1);  // neither a path nor an abstract name
    EXPECT_FALSE(platform::NotifyServiceManager("WATCHDOG=1\n"));
    ::unsetenv("NOTIFY_SOCKET");
}

TEST(ServiceNotify, TheWatchdogIsOursOnlyWhenItNamesThisProcess) {
    const std::string self = std::to_string(platform::ProcessId());
    const struct {
        const char *usec, *pid;
        std::int64_t ms;
    } cases[] = {
        {nullptr, nullptr, 0}, {"30000000", nullptr, 30000}, {"30000000", self.c_str(), 30000},
        {"30000000", "1", 0},  {"500", nullptr, 1},          {"0", nullptr, 0},
        {"12x", nullptr, 0},
    };
    for (const auto& c : cases) {
        c.usec ? ::setenv("WATCHDOG_USEC", c.usec, 1) : ::unsetenv("WATCHDOG_USEC");
        c.pid ? ::setenv("WATCHDOG_PID", c.pid, 1) : ::unsetenv("WATCHDOG_PID");
        EXPECT_EQ(platform::ServiceWatchdogMs(), c.ms)
            << (c.usec ? c.usec : "-") << " " << (c.pid ? c.pid : "-");
    }
    ::unsetenv("WATCHDOG_USEC");
    ::unsetenv("WATCHDOG_PID");
}

TEST(ServiceNotify, AJournalEntryCarriesAValueWithALineBreakByItsLength) {
    TempDir dir;
    Listener journal(dir("journal"));
    ASSERT_TRUE(journal.Bound());
    ASSERT_TRUE(
        platform::SendToJournal({{"MESSAGE", "0 (COM1): finished"}, {"K52_NOTE", "a\nb"}}, dir("journal")));
    EXPECT_EQ(journal.Next(),
              std::string("MESSAGE=0 (COM1): finished\nK52_NOTE\n\x03\0\0\0\0\0\0\0a\nb\n", 48));
    EXPECT_FALSE(platform::SendToJournal({{"MESSAGE", "x"}}, dir("no-journal")));
}

}  // namespace
}  // namespace k52::test
