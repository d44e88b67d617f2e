// The user's assignment file: what counts as a line, what an edit keeps, and the atomic rewrite.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempFolder.h"
#include "ports/PortAssignments.h"
#include "util/FaultPoint.h"

namespace k52 {
namespace {

using test::TempFolder;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Spit(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(ComPortName, NamesAndParsesOnlyComOneToSix) {
    EXPECT_EQ(ComPortName(0), "COM1");
    EXPECT_EQ(ComPortName(5), "COM6");
    const std::pair<const char*, std::optional<int>> cases[] = {{"COM1", 0},
                                                                {"com6", 5},
                                                                {"Com3", 2},
                                                                {"COM0", std::nullopt},
                                                                {"COM7", std::nullopt},
                                                                {"COM10", std::nullopt},
                                                                {"COM", std::nullopt},
                                                                {"CON1", std::nullopt},
                                                                {" COM1", std::nullopt},
                                                                {"", std::nullopt}};
    for (const auto& [text, want] : cases) EXPECT_EQ(ParseComPortName(text), want) << text;
}

TEST(PortsConf, ReadsAssignmentsAndNamesEachDamagedLine) {
    const std::string text =
        "# my desk\n"
        "COM1=/dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0\n"
        "\n"
        "  com3 =  /dev/ttyACM0  \n"
        "COM7=/dev/ttyUSB3\n"
        "COM2=ttyUSB0\n"
        "COM4\n"
        "COM5=\n"
        "garbage \xff\xfe\n"
        "COM6=/dev/ttyUSB1\r\n"
        "COM3=/dev/ttyACM1";  // the later line for a port counts; no final newline
    std::vector<std::string> warnings;
    PortsConf conf = PortsConf::Parse(text, "ports.conf", &warnings);
    const PortAssignments want = {"/dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0",
                                  std::nullopt,
                                  "/dev/ttyACM1",
                                  std::nullopt,
                                  std::nullopt,
                                  "/dev/ttyUSB1"};
    EXPECT_EQ(conf.assignments(), want);
    const std::vector<std::string> wantWarnings = {
        "ports.conf:5: ignored \"COM7=/dev/ttyUSB3\" (expected COM1..COM6=/path/of/device)",
        "ports.conf:6: ignored \"COM2=ttyUSB0\" (expected COM1..COM6=/path/of/device)",
        "ports.conf:7: ignored \"COM4\" (expected COM1..COM6=/path/of/device)",
        "ports.conf:8: ignored \"COM5=\" (expected COM1..COM6=/path/of/device)",
        "ports.conf:9: ignored \"garbage \xff\xfe\" (expected COM1..COM6=/path/of/device)"};
    EXPECT_EQ(warnings, wantWarnings);
}

TEST(PortsConf, AnEditChangesOnlyAssignmentLines) {
    PortsConf conf = PortsConf::Parse(
        "# desk 4\nCOM2=/dev/ttyUSB0\nbroken line\nCOM2=/dev/ttyUSB9\nCOM5=/dev/ttyS4\n", "f");
    ASSERT_TRUE(conf.Assign(1, "/dev/serial/by-id/usb-x"));
    EXPECT_TRUE(conf.Assign(0, "/dev/ttyACM0"));
    conf.Unassign(4);
    EXPECT_EQ(conf.Text(), "# desk 4\nCOM2=/dev/serial/by-id/usb-x\nbroken line\nCOM1=/dev/ttyACM0\n");
    EXPECT_EQ(conf.assignments()[1], "/dev/serial/by-id/usb-x");
    EXPECT_EQ(conf.assignments()[4], std::nullopt);

    // Anything that would not read back the same is refused and changes nothing.
    for (const char* bad : {"", "ttyUSB0", " /dev/ttyUSB0", "/dev/ttyUSB0 ", "/dev/tty\nCOM2=/x"})
        EXPECT_FALSE(conf.Assign(2, bad)) << bad;
    EXPECT_FALSE(conf.Assign(6, "/dev/ttyUSB0"));
    EXPECT_EQ(conf.Text(), "# desk 4\nCOM2=/dev/serial/by-id/usb-x\nbroken line\nCOM1=/dev/ttyACM0\n");
}

TEST(PortsConf, NamesPortsByDeviceOrComPortAndKeepsTheRest) {
    PortsConf conf = PortsConf::Parse(
        "COM1=/dev/ttyUSB0\ncom1.name = Cradle A, aisle 3\n/dev/ttyACM2.name=Desk=2\nx.name=lost\n", "f");
    EXPECT_EQ(conf.NameOf("/dev/ttyUSB0"), "Cradle A, aisle 3");   // through COM1's assignment
    EXPECT_EQ(conf.NameOf("/dev/ttyS9", 0), "Cradle A, aisle 3");  // served as COM1
    EXPECT_EQ(conf.NameOf("/dev/ttyACM2"), "Desk=2");              // its own line; '=' kept in the name
    EXPECT_EQ(conf.NameOf("/dev/ttyACM3"), "");
    // A device's own name wins over its COM port's.
    ASSERT_TRUE(conf.SetName("/dev/ttyUSB0", "Cradle B"));
    EXPECT_EQ(conf.NameOf("/dev/ttyUSB0"), "Cradle B");
    ASSERT_TRUE(conf.SetName("COM1", ""));
    EXPECT_EQ(conf.NameOf("/dev/ttyS9", 0), "");
    for (const auto& [key, name] : std::vector<std::pair<std::string, std::string>>{
             {"COM7", "x"}, {"ttyUSB0", "x"}, {"COM2", " x"}, {"COM2", "a\nCOM3=/dev/x"}})
        EXPECT_FALSE(conf.SetName(key, name)) << key << name;
    EXPECT_EQ(conf.Text(),
              "COM1=/dev/ttyUSB0\n/dev/ttyACM2.name=Desk=2\nx.name=lost\n/dev/ttyUSB0.name=Cradle B\n");
    EXPECT_EQ(PortsConf::Parse(conf.Text(), "f").NameOf("/dev/ttyUSB0"), "Cradle B");
}

TEST(PortsConfFile, WriteCreatesTheFolderAndReadsBack) {
    TempFolder tmp;
    const std::string path = tmp / "config/k52/ports.conf";
    PortsConf conf;
    conf.Assign(2, "/dev/ttyUSB0");
    std::string error;
    ASSERT_TRUE(WritePortsConf(path, conf, &error)) << error;
    EXPECT_EQ(Slurp(path), "COM3=/dev/ttyUSB0\n");
    EXPECT_EQ(ReadPortsConf(path).assignments()[2], "/dev/ttyUSB0");
    // Nothing but the file is left in its folder.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(tmp / "config/k52")) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(PortsConfFile, RewriteKeepsPermissionsAndALinkedFileLinked) {
    TempFolder tmp;
    const std::string real = tmp / "dotfiles-ports.conf";
    Spit(real, "# kept\nCOM1=/dev/ttyS0\n");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(mkdir((tmp / "k52").c_str(), 0700), 0);
    ASSERT_EQ(symlink(real.c_str(), (tmp / "k52/ports.conf").c_str()), 0);

    PortsConf conf = ReadPortsConf(tmp / "k52/ports.conf");
    conf.Assign(0, "/dev/ttyUSB0");
    ASSERT_TRUE(WritePortsConf(tmp / "k52/ports.conf", conf));
    EXPECT_TRUE(std::filesystem::is_symlink(tmp / "k52/ports.conf"));
    EXPECT_EQ(Slurp(real), "# kept\nCOM1=/dev/ttyUSB0\n");
    struct stat st {};
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(PortsConfFile, FailuresLeaveTheOldFileAndSayWhy) {
    TempFolder tmp;
    Spit(tmp / "plain", "not a folder");
    PortsConf conf;
    conf.Assign(0, "/dev/ttyUSB0");
    std::string error;
    EXPECT_FALSE(WritePortsConf(tmp / "plain/k52/ports.conf", conf, &error));
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;

    // A folder where the file should be: the rename fails, the folder and no temporary file remain.
    ASSERT_EQ(mkdir((tmp / "ports.conf").c_str(), 0700), 0);
    EXPECT_FALSE(WritePortsConf(tmp / "ports.conf", conf, &error));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(tmp.path)) ++entries;
    EXPECT_EQ(entries, 2);  // "plain" and the folder "ports.conf"

    std::vector<std::string> warnings;
    EXPECT_EQ(ReadPortsConf(tmp / "ports.conf", &warnings).assignments(), PortAssignments{});
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("Is a directory"), std::string::npos) << warnings[0];
    warnings.clear();
    EXPECT_EQ(ReadPortsConf(tmp / "missing.conf", &warnings).assignments(), PortAssignments{});
    EXPECT_TRUE(warnings.empty());  // no file yet is the usual state, not a fault
}

// Every call of an edit's save failed in turn: the edit is said to have failed with the system's reason,
// and the file is the old one, or (when only the folder's sync failed) the new one, never a mix; no
// temporary file stays behind.
TEST(PortsConfFile, EachCallOfASaveFailedSaysSoAndLeavesOneWholeFile) {
    const std::string before = "# desk 4\nCOM1=/dev/ttyS0\nCOM2=/dev/ttyUSB0\n";
    const std::string after = "# desk 4\nCOM1=/dev/ttyS0\nCOM2=/dev/ttyUSB0\nCOM3=/dev/ttyACM0\n";
    auto edit = [](PortsConf& conf) { return conf.Assign(2, "/dev/ttyACM0"); };
    int calls = 0;
    {
        TempFolder tmp;
        Spit(tmp / "ports.conf", before);
        FaultPlan count;
        SetFaultPlan(&count);
        std::string error;
        EXPECT_TRUE(EditPortsConf(tmp / "ports.conf", edit, nullptr, &error)) << error;
        SetFaultPlan(nullptr);
        calls = count.calls.load();
        EXPECT_EQ(Slurp(tmp / "ports.conf"), after);
    }
    ASSERT_GE(calls, 4);  // the temporary file's open, write and sync, the rename, the folder's sync
    for (int at = 1; at <= calls; ++at) {
        TempFolder tmp;
        Spit(tmp / "ports.conf", before);
        FaultPlan plan;
        plan.at = at;
        plan.error = EIO;
        SetFaultPlan(&plan);
        std::string error;
        const bool saved = EditPortsConf(tmp / "ports.conf", edit, nullptr, &error).has_value();
        SetFaultPlan(nullptr);
        EXPECT_FALSE(saved) << "call " << at;
        EXPECT_NE(error.find(std::strerror(EIO)), std::string::npos) << "call " << at << ": " << error;
        const std::string now = Slurp(tmp / "ports.conf");
        EXPECT_TRUE(now == before || (at == calls && now == after)) << "call " << at << ": " << now;
        for (const auto& e : std::filesystem::directory_iterator(tmp.path))
            EXPECT_EQ(e.path().filename().string().rfind(".k52-", 0), std::string::npos) << "call " << at;
    }
}

// A file that is there but could not be read is never replaced by one holding only the new line.
TEST(PortsConfFile, AnEditRefusesAFileItCouldNotReadAndStoresNothing) {
    TempFolder tmp;
    std::string big = "COM1=/dev/ttyS0\nCOM2=/dev/ttyUSB0\n";
    big.resize(1024 * 1024 + 1, '#');
    Spit(tmp / "ports.conf", big);
    std::string error;
    EXPECT_FALSE(EditPortsConf(
        tmp / "ports.conf", [](PortsConf& conf) { return conf.Assign(2, "/dev/ttyACM0"); }, nullptr, &error));
    EXPECT_NE(error.find("nothing stored"), std::string::npos) << error;
    EXPECT_EQ(Slurp(tmp / "ports.conf"), big);
}

TEST(PortsConfFile, DefaultPathFollowsXdgConfigHomeThenHome) {
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string xdg = savedXdg ? savedXdg : "", home = savedHome ? savedHome : "";
    setenv("XDG_CONFIG_HOME", "/srv/cfg", 1);
    setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(DefaultPortsConfPath(), "/srv/cfg/k52/ports.conf");
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);  // not absolute: ignored
    EXPECT_EQ(DefaultPortsConfPath(), "/home/ann/.config/k52/ports.conf");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DefaultPortsConfPath(), "/home/ann/.config/k52/ports.conf");
    savedXdg ? setenv("XDG_CONFIG_HOME", xdg.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
}

}  // namespace
}  // namespace k52
