// Which device COMn is (environment, then the user's file, then the default), its stable by-id name, and
// the reasons given when a port will not open.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>

#include "TempFolder.h"
#include "i18n/Translate.h"
#include "ports/PortDevices.h"
#include "ports/PortErrors.h"
#include "ports/PortPatterns.h"
#include "ports/PortResolver.h"

namespace k52 {
namespace {

using test::TempFolder;

// Points the resolver at a folder of this test's own and clears K52_COM1..6.
class ResolverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", tmp.path.c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (tmp / "no-system").c_str(), 1);  // not the machine's /etc/xdg
        for (int i = 1; i <= 6; ++i) unsetenv(("K52_COM" + std::to_string(i)).c_str());
    }
    void TearDown() override {
        for (int i = 1; i <= 6; ++i) unsetenv(("K52_COM" + std::to_string(i)).c_str());
        unsetenv("XDG_CONFIG_DIRS");
    }
    void WriteConf(const std::string& text) {
        mkdir((tmp / "k52").c_str(), 0700);
        std::ofstream(tmp / "k52/ports.conf") << text;
    }
    TempFolder tmp;
};

TEST_F(ResolverTest, EnvironmentThenFileThenDefault) {
    const std::string plugged = tmp / "ttyUSB0";
    std::ofstream(plugged) << "";
    WriteConf("COM1=" + plugged + "\nCOM2=/dev/serial/by-id/usb-gone\nCOM3=/dev/ttyACM7\n");
    setenv("K52_COM3", plugged.c_str(), 1);
    setenv("K52_COM4", "", 1);  // empty: as if unset

    struct Want {
        std::string device;
        std::string_view source;
        bool present;
    };
    const Want want[] = {{plugged, "file", true},
                         {"/dev/serial/by-id/usb-gone", "file", false},
                         {plugged, "environment", true},
                         {"/dev/ttyS3", "default", access("/dev/ttyS3", F_OK) == 0},
                         {"/dev/ttyS4", "default", access("/dev/ttyS4", F_OK) == 0},
                         {"/dev/ttyS5", "default", access("/dev/ttyS5", F_OK) == 0}};
    for (int i = 0; i < kComPortCount; ++i) {
        const ComPortResolution r = ResolveComPort(i);
        EXPECT_EQ(r.device, want[i].device) << i;
        EXPECT_EQ(AssignmentSourceName(r.source), want[i].source) << i;
        EXPECT_EQ(r.present, want[i].present) << i;
    }
}

TEST_F(ResolverTest, TheFileIsReadAtEachCallAndItsWarningsPassedOn) {
    EXPECT_EQ(ResolveComPort(1).device, "/dev/ttyS1");
    WriteConf("COM2=/dev/ttyUSB4\nCOM2 /dev/ttyUSB5\n");
    std::vector<std::string> warnings;
    EXPECT_EQ(ResolveComPort(1, &warnings).device, "/dev/ttyUSB4");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], tmp / "k52/ports.conf" +
                               ":2: ignored \"COM2 /dev/ttyUSB5\" (expected COM1..COM6=/path/of/device)");
}

class FakeScanner : public PortScanner {
  public:
    std::vector<DiscoveredPort> ports;
    int scans = 0;
    std::vector<DiscoveredPort> Scan() override {
        ++scans;
        return ports;
    }
};

DiscoveredPort Usb(std::string device, std::string byId, int vid, int pid, std::string serial) {
    DiscoveredPort p;
    p.device = std::move(device);
    p.byId = std::move(byId);
    p.transport = PortTransport::Usb;
    p.vid = vid;
    p.pid = pid;
    p.serial = std::move(serial);
    return p;
}

// One file for every desk: the system-wide files beneath the user's, the first folder of
// XDG_CONFIG_DIRS over the next, and patterns matched against the ports the host has.
TEST_F(ResolverTest, SystemWideFilesLieBeneathTheUsersAndPatternsFindTheAdapter) {
    const std::string first = tmp / "site", second = tmp / "vendor";
    for (const std::string& dir : {first, second}) std::filesystem::create_directories(dir + "/k52");
    std::ofstream(first + "/k52/ports.conf") << "# every desk\nCOM1=usb:0403:6001\nCOM2=/dev/ttyS9\n"
                                                "COM5=serial:NONE\n";
    std::ofstream(second + "/k52/ports.conf") << "COM2=/dev/ttyX\nCOM3=/dev/serial/by-id/*Prolific*\n";
    setenv("XDG_CONFIG_DIRS", (first + ":relative/ignored:" + second).c_str(), 1);
    WriteConf("COM2=/dev/ttyUSB5\n");
    FakeScanner scanner;
    scanner.ports = {
        Usb("/dev/ttyUSB0", "/dev/serial/by-id/usb-Prolific_PL2303-if00-port0", 0x067b, 0x2303, "P1"),
        Usb("/dev/ttyUSB1", "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0", 0x0403, 0x6001, "A1")};
    std::vector<std::string> warnings;
    const std::string user = tmp / "k52/ports.conf";
    const ConfiguredPorts configured =
        LayerPortAssignments(ReadPortsConf(user).assignments(), user, &warnings);
    EXPECT_EQ(warnings, std::vector<std::string>{});
    const struct {
        std::string device, origin, pattern;
    } want[] = {
        {"/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0", first + "/k52/ports.conf", "usb:0403:6001"},
        {"/dev/ttyUSB5", user, ""},
        {"/dev/serial/by-id/usb-Prolific_PL2303-if00-port0", second + "/k52/ports.conf",
         "/dev/serial/by-id/*Prolific*"},
        {"/dev/ttyS3", "", ""},
        {"serial:NONE", first + "/k52/ports.conf", "serial:NONE"},  // matches nothing: not connected
    };
    for (int i = 0; i < 5; ++i) {
        const ComPortResolution r = ResolveComPort(i, configured, scanner);
        EXPECT_EQ(r.device, want[i].device) << i;
        EXPECT_EQ(r.origin, want[i].origin) << i;
        EXPECT_EQ(r.pattern, want[i].pattern) << i;
        if (!want[i].pattern.empty() && r.device == want[i].pattern) {
            EXPECT_FALSE(r.present) << i;
        }
    }
    EXPECT_EQ(scanner.scans, 3);  // only a pattern asks for the host's ports
    setenv("K52_COM1", "/dev/ttyACM0", 1);
    EXPECT_EQ(ResolveComPort(0, configured, scanner).origin, "K52_COM1");
}

TEST(DevicePattern, ReadsUsbIdsSerialNumbersAndGlobs) {
    const DiscoveredPort ftdi =
        Usb("/dev/ttyUSB1", "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0", 0x0403, 0x6001, "A1");
    DiscoveredPort native;
    native.device = "/dev/ttyS0";
    const struct {
        const char* text;
        bool pattern, ftdi, native;  // a pattern at all; matches each port
    } kCases[] = {
        {"usb:0403:6001", true, true, false},
        {"usb:0403:6001:A1", true, true, false},
        {"USB:0403:6001", false, false, false},
        {"usb:0403:6001:B2", true, false, false},
        {"usb:0403:6001:", false, false, false},
        {"usb:0403:600", false, false, false},
        {"usb:0403-6001", false, false, false},
        {"usb:04g3:6001", false, false, false},
        {"usb:0403:6001x", false, false, false},
        {"serial:A1", true, true, false},
        {"serial:", false, false, false},
        {"/dev/serial/by-id/usb-FTDI_*", true, true, false},
        {"/dev/ttyS?", true, false, true},
        {"/dev/tty*", true, true, true},
        {"/dev/*A1*port?", true, true, false},
        {"/dev/ttyUSB1", false, false, false},  // a device path, not a pattern
        {"ttyUSB*", false, false, false},
    };
    for (const auto& c : kCases) {
        const std::optional<DevicePattern> p = ParseDevicePattern(c.text);
        EXPECT_EQ(p.has_value(), c.pattern) << c.text;
        if (!p) continue;
        EXPECT_EQ(PatternMatches(*p, ftdi), c.ftdi) << c.text;
        EXPECT_EQ(PatternMatches(*p, native), c.native) << c.text;
    }
    // A pattern is stored as it is; a line that is neither a path nor a pattern is not.
    EXPECT_TRUE(StorableDevicePath("usb:0403:6001"));
    EXPECT_FALSE(StorableDevicePath("usb:0403"));
    EXPECT_EQ(PortsConf::Parse("COM1=usb:0403:6001\n", "x").assignments()[0], "usb:0403:6001");
}

TEST(StableDevicePath, PrefersTheByIdLinkToTheSameDevice) {
    TempFolder tmp;
    std::ofstream(tmp / "ttyUSB0") << "";
    std::ofstream(tmp / "ttyUSB1") << "";
    mkdir((tmp / "by-id").c_str(), 0755);
    ASSERT_EQ(symlink("../ttyUSB1", (tmp / "by-id/usb-Prolific_PL2303-if00-port0").c_str()), 0);
    ASSERT_EQ(symlink("../ttyUSB0", (tmp / "by-id/usb-FTDI_FT232R_A12B-if00-port0").c_str()), 0);
    ASSERT_EQ(symlink("../ttyUSB0", (tmp / "by-id/usb-FTDI_FT232R_A12B-if00").c_str()), 0);
    const std::string byId = tmp / "by-id";
    EXPECT_EQ(StableDevicePath(tmp / "ttyUSB0", byId), tmp / "by-id/usb-FTDI_FT232R_A12B-if00");
    EXPECT_EQ(StableDevicePath(tmp / "ttyUSB1", byId), tmp / "by-id/usb-Prolific_PL2303-if00-port0");
    // A by-id name is kept as given; a device without a link, a missing one or no folder is unchanged.
    EXPECT_EQ(StableDevicePath(tmp / "by-id/usb-FTDI_FT232R_A12B-if00-port0", byId),
              tmp / "by-id/usb-FTDI_FT232R_A12B-if00-port0");
    EXPECT_EQ(StableDevicePath("/dev/null", byId), "/dev/null");
    EXPECT_EQ(StableDevicePath(tmp / "ttyUSB9", byId), tmp / "ttyUSB9");
    EXPECT_EQ(StableDevicePath(tmp / "ttyUSB0", tmp / "no-such-folder"), tmp / "ttyUSB0");
}

TEST(ExplainPortOpenFailure, SaysWhatIsWrongAndWhatToDo) {
    using S = AssignmentSource;
    const std::string byId = "/dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0";
    struct Case {
        PortOpenFailure failure;
        std::string want;
    };
    const Case cases[] = {
        {{ENOENT, byId, 2, S::File}, "COM3 is assigned to " + byId + ", which is not connected"},
        {{ENXIO, "/dev/ttyUSB0", 0, S::Environment},
         "COM1 is set to /dev/ttyUSB0 by K52_COM1 in the environment, which is not connected"},
        {{ENOENT, "/dev/ttyS1", 1, S::Default},
         "COM2 is /dev/ttyS1 (no device assigned), which is not connected; choose the terminal's adapter in "
         "the "
         "port settings or with 'k52cli ports assign COM2 DEVICE'"},
        {{ENOENT, "/dev/ttyUSB7", std::nullopt, S::Default}, "/dev/ttyUSB7 is not connected"},
        {{EBUSY, "/dev/ttyUSB0", 3, S::File},
         "COM4: /dev/ttyUSB0 is in use by another program; close it and try again"},
        {{EBUSY, "/dev/ttyUSB0", std::nullopt, S::Default},
         "/dev/ttyUSB0 is in use by another program; close it and try again"},
        {{ENOTTY, "/dev/null", 4, S::File}, "COM5 is assigned to /dev/null, which is not a serial port"},
        {{EIO, "/dev/ttyUSB0", 5, S::File}, "COM6 is assigned to /dev/ttyUSB0: Input/output error"},
    };
    for (const Case& c : cases) EXPECT_EQ(ExplainPortOpenFailure(c.failure), c.want);
}

// Each explanation is one whole sentence, so a front end finds its Chinese from the finished English:
// every errno it knows, through every way a device is reached, for a device with a group and one without.
TEST(ExplainPortOpenFailure, EverySentenceIsFoundAgainInTheProgramsChinese) {
    ASSERT_EQ(CurrentLanguage(), Language::Chinese);
    using S = AssignmentSource;
    const std::pair<std::optional<int>, S> ways[] = {
        {std::nullopt, S::Default}, {0, S::Environment}, {1, S::File}, {2, S::Default}};
    int checked = 0;
    for (int error : {EACCES, EBUSY, ENOENT, ENOTTY, EIO})
        for (const std::string device : {"/dev/null", "/dev/k52-absent"})
            for (const auto& [com, source] : ways) {
                if (error == EIO && !com) continue;  // "DEVICE: REASON": the system's words alone
                std::string shown = LocalizeFinished(ExplainPortOpenFailure({error, device, com, source}));
                // What is left once the names and commands it carries are taken out holds no English.
                for (const std::string& name :
                     {device, OwningGroup(device), SerialPortGroup(), std::string(std::strerror(error)),
                      std::string("sudo usermod -aG"), std::string("k52cli ports assign"),
                      std::string("udev"), std::string("root")})
                    for (std::size_t at; !name.empty() && (at = shown.find(name)) != std::string::npos;)
                        shown.erase(at, name.size());
                EXPECT_FALSE(std::regex_search(shown, std::regex("[a-z]{3}"))) << shown;
                ++checked;
            }
    std::cout << checked << " explanations checked\n";
}

TEST(ExplainPortOpenFailure, PermissionNamesTheOwningGroup) {
    TempFolder tmp;
    const std::string device = tmp / "ttyUSB0";
    std::ofstream(device) << "";
    const group* dialout = getgrnam("dialout");
    if (dialout == nullptr || getgrgid(54321) != nullptr)
        GTEST_SKIP() << "needs a dialout group and no group 54321";
    ASSERT_EQ(chown(device.c_str(), 0, dialout->gr_gid), 0) << "tests run as root";
    EXPECT_EQ(
        ExplainPortOpenFailure({EACCES, device, 0, AssignmentSource::File}),
        "COM1: permission denied on " + device +
            ", which belongs to the group 'dialout': join that group (sudo usermod -aG dialout $USER) and "
            "log in again");
    // A device of root's group: root's group is never the advice, the serial ports' group through a rule is.
    ASSERT_EQ(chown(device.c_str(), 0, 0), 0);
    EXPECT_EQ(ExplainPortOpenFailure({EACCES, device, 0, AssignmentSource::File}),
              "COM1: permission denied on " + device +
                  ", which belongs to root: ask the administrator for a udev rule that gives it to the group "
                  "'dialout', then join that group (sudo usermod -aG dialout $USER) and log in again");
    EXPECT_EQ(ExplainPortOpenFailure({EPERM, device, std::nullopt, AssignmentSource::Default}),
              "permission denied on " + device +
                  ", which belongs to root: ask the administrator for a udev rule that gives it to the group "
                  "'dialout', then join that group (sudo usermod -aG dialout $USER) and log in again");
    ASSERT_EQ(chown(device.c_str(), 0, 54321), 0);  // a group with no name
    EXPECT_EQ(
        ExplainPortOpenFailure({EACCES, device, std::nullopt, AssignmentSource::Default}),
        "permission denied on " + device +
            ", which belongs to the group '54321': join that group (sudo usermod -aG 54321 $USER) and log in "
            "again");
}

}  // namespace
}  // namespace k52
