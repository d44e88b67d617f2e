// The termios backend on a real pseudo-terminal (raw bytes both ways, exclusive open, speeds, reads and
// waits that never block when told not to) and the devices the port names stand for.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "line/PosixSerialLine.h"

namespace k52 {
namespace {

class Pty {
  public:
    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(master, 0);
        grantpt(master);
        unlockpt(master);
        path = ptsname(master);
        // Hold the other side open so that the master never sees a hang-up between tests.
        keeper = open(path.c_str(), O_RDWR | O_NOCTTY);
    }
    ~Pty() {
        close(keeper);
        if (master >= 0) close(master);
    }
    std::vector<u8> ReadMaster() {
        std::vector<u8> out;
        fcntl(master, F_SETFL, O_NONBLOCK);
        u8 buf[256];
        for (;;) {
            ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0) break;
            out.insert(out.end(), buf, buf + n);
        }
        return out;
    }
    int master = -1;
    int keeper = -1;
    std::string path;
};

const std::vector<u8> kAwkward = {0x0D, 0x0A, 0x03, 0x04, 0x11, 0x13, 0x1A, 0x7F, 0x00, 0xFF, 0x0D};

TEST(PosixSerialLine, PassesEveryByteUnchangedBothWays) {
    Pty pty;
    auto line = PosixSerialLine::Open(pty.path);
    ASSERT_TRUE(line);
    LineSettings s;
    s.speed = 115200;
    s.dtr = s.rts = true;  // a pseudo-terminal has no modem lines: not an error
    ASSERT_TRUE(line->Apply(s));

    ASSERT_TRUE(line->Write(kAwkward.data(), kAwkward.size()));
    EXPECT_EQ(pty.ReadMaster(), kAwkward);

    ASSERT_EQ(write(pty.master, kAwkward.data(), kAwkward.size()), static_cast<ssize_t>(kAwkward.size()));
    ASSERT_TRUE(line->WaitForInput(0) || line->WaitForInput(1000));
    std::vector<u8> got;
    u8 buf[4];
    while (got.size() < kAwkward.size()) {
        std::size_t n = line->Read(buf, sizeof buf);
        if (n == 0 && !line->WaitForInput(1000)) break;
        got.insert(got.end(), buf, buf + n);
    }
    EXPECT_EQ(got, kAwkward);
    // Nothing was echoed back to the terminal's side.
    EXPECT_TRUE(pty.ReadMaster().empty());
}

TEST(PosixSerialLine, SetsTheSpeedAndRefusesOthers) {
    Pty pty;
    auto line = PosixSerialLine::Open(pty.path);
    ASSERT_TRUE(line);
    const std::pair<std::uint32_t, speed_t> speeds[] = {
        {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (auto [bps, constant] : speeds) {
        LineSettings s;
        s.speed = bps;
        ASSERT_TRUE(line->Apply(s));
        termios t{};
        ASSERT_EQ(tcgetattr(pty.master, &t), 0);  // the master reports the slave's settings
        EXPECT_EQ(cfgetospeed(&t), constant);
        EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR), 0u);
    }
    LineSettings bad;
    bad.speed = 0;  // would hang the line up
    EXPECT_FALSE(line->Apply(bad));
    bad.speed = 12345;
    EXPECT_FALSE(line->Apply(bad));
}

TEST(PosixSerialLine, OpensExclusivelyAndCanBeOpenedAgainAfterClose) {
    Pty pty;
    auto first = PosixSerialLine::Open(pty.path);
    ASSERT_TRUE(first);
    std::string error;
    EXPECT_FALSE(PosixSerialLine::Open(pty.path, &error));
    EXPECT_FALSE(error.empty());
    first->Close();
    EXPECT_TRUE(PosixSerialLine::Open(pty.path));
}

TEST(PosixSerialLine, MissingDeviceAndNonTerminalAreRefused) {
    std::string error;
    EXPECT_FALSE(PosixSerialLine::Open("/nonexistent/ttyS9", &error));
    EXPECT_NE(error.find("/nonexistent/ttyS9"), std::string::npos);
    EXPECT_FALSE(PosixSerialLine::Open("/dev/null", &error));
}

TEST(PosixSerialLine, ReadReturnsAtOnceAndDiscardDropsPendingInput) {
    Pty pty;
    auto line = PosixSerialLine::Open(pty.path);
    ASSERT_TRUE(line);
    LineSettings s;
    s.speed = 9600;
    ASSERT_TRUE(line->Apply(s));
    u8 buf[8];
    EXPECT_EQ(line->Read(buf, sizeof buf), 0u);
    EXPECT_FALSE(line->WaitForInput(0));
    ASSERT_EQ(write(pty.master, "junk", 4), 4);
    ASSERT_TRUE(line->WaitForInput(1000));
    line->DiscardInput();
    EXPECT_EQ(line->Read(buf, sizeof buf), 0u);
}

TEST(PosixSerialLine, HungUpLineIsNotReportedReadable) {
    Pty pty;
    auto line = PosixSerialLine::Open(pty.path);
    ASSERT_TRUE(line);
    close(pty.master);
    pty.master = -1;
    u8 buf[4];
    EXPECT_EQ(line->Read(buf, sizeof buf), 0u);
    // poll() calls a hung-up line readable; a caller waiting for bytes must not be sent round a loop.
    EXPECT_FALSE(line->WaitForInput(0));
    EXPECT_FALSE(line->WaitForInput(1));
}

// A driver that keeps its flags in memory, or refuses them as a pseudo-terminal does.
class FakeDriver : public SerialDriverAccess {
  public:
    std::optional<int> GetFlags(int) override { return accepts ? std::optional<int>(flags) : std::nullopt; }
    bool SetFlags(int, int f) override {
        if (accepts) flags = f;
        return accepts;
    }
    std::optional<int> LatencyTimerMs(const std::string& name) override {
        asked = name;
        return timer;
    }
    bool accepts = true;
    int flags = 0x0040;  // some unrelated flag the driver had before
    std::optional<int> timer;
    std::string asked;
};

TEST(PosixSerialLine, AsksForLowLatencyAndRestoresTheOldFlagsWhereTheDriverAllows) {
    Pty pty;
    FakeDriver accepting;
    auto line = PosixSerialLine::Open(pty.path, nullptr, nullptr, accepting);
    ASSERT_TRUE(line);
    EXPECT_EQ(accepting.flags, 0x0040 | 0x2000);
    line->Close();
    EXPECT_EQ(accepting.flags, 0x0040);

    FakeDriver refusing;
    refusing.accepts = false;
    line = PosixSerialLine::Open(pty.path, nullptr, nullptr, refusing);
    ASSERT_TRUE(line);  // a pseudo-terminal works without it
    line->Close();
    EXPECT_EQ(refusing.flags, 0x0040);
}

TEST(PosixSerialLine, HintsOnlyAtAnAdapterTimerAboveOneMs) {
    Pty pty;
    const std::string name = pty.path.substr(pty.path.rfind('/') + 1);
    for (auto [timer, hints] : {std::pair{std::optional<int>(16), true},
                                {std::optional<int>(1), false},
                                {std::optional<int>(), false}}) {
        FakeDriver driver;
        driver.timer = timer;
        auto line = PosixSerialLine::Open(pty.path, nullptr, nullptr, driver);
        ASSERT_TRUE(line);
        EXPECT_EQ(driver.asked, name);
        EXPECT_EQ(!line->latencyHint().empty(), hints);
        if (hints) {
            EXPECT_NE(line->latencyHint().find("/" + name + "/latency_timer"), std::string::npos);
        }
    }
}

TEST(SystemLineFactory, OpensTheDeviceAPortMapsTo) {
    Pty pty;
    setenv("K52_COM3", pty.path.c_str(), 1);
    SystemLineFactory byName;
    auto line = byName.OpenPort(2);
    EXPECT_TRUE(line);
    line.reset();
    unsetenv("K52_COM3");
    SystemLineFactory fixed(pty.path);
    EXPECT_TRUE(fixed.OpenPort(5));
}

TEST(PortNames, ComPortsMapToSerialDevicesUnlessTheEnvironmentSaysOtherwise) {
    setenv("XDG_CONFIG_HOME", "/nonexistent/k52-no-assignments", 1);  // whatever the user running us chose
    unsetenv("K52_COM1");
    unsetenv("K52_COM6");
    EXPECT_EQ(ComPortName(0), "COM1");
    EXPECT_EQ(ComPortName(5), "COM6");
    EXPECT_EQ(ComPortDevice(0), "/dev/ttyS0");
    EXPECT_EQ(ComPortDevice(5), "/dev/ttyS5");
    setenv("K52_COM6", "/dev/ttyUSB0", 1);
    EXPECT_EQ(ComPortDevice(5), "/dev/ttyUSB0");
    setenv("K52_COM6", "", 1);
    EXPECT_EQ(ComPortDevice(5), "/dev/ttyS5");
    unsetenv("K52_COM6");
}

}  // namespace
}  // namespace k52
