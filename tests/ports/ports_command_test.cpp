// k52cli ports: the discovered ports and the COM table as text and JSON, and assign / unassign editing
// the user's file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "TempFolder.h"
#include "cli/Commands.h"
#include "ports/PortDiscovery.h"
#include "support/InLanguage.h"
#include "util/FileLock.h"
#include "util/RegularFile.h"

namespace k52 {
namespace {

using test::TempFolder;

class FakeScanner : public PortScanner {
  public:
    std::vector<DiscoveredPort> ports;
    std::vector<DiscoveredPort> Scan() override { return ports; }
};

class PortsCommandTest : public ::testing::Test {
  protected:
    const test::InLanguage english{Language::English};  // the lines as written
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", tmp.path.c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (tmp / "system").c_str(), 1);  // not the machine's /etc/xdg
        for (int i = 1; i <= 6; ++i) unsetenv(("K52_COM" + std::to_string(i)).c_str());
    }
    void TearDown() override {
        unsetenv("K52_COM2");
        unsetenv("XDG_CONFIG_DIRS");
    }
    std::string Conf() {
        std::ifstream in(tmp / "k52/ports.conf");
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    TempFolder tmp;
    FakeScanner scanner;
    std::ostringstream out, err;
};

// The text with each run of spaces made one, so columns padded to any width compare alike.
std::string Squeezed(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ') out += c;
    return out;
}

std::string DefaultDevice(int n) {
    return "/dev/ttyS" + std::to_string(n);
}

TEST_F(PortsCommandTest, NoSerialHardwareListsNothingAndTheDefaultTable) {
    ASSERT_EQ(cli::PortsList(scanner, true, out, err), 0);
    nlohmann::json doc = nlohmann::json::parse(out.str());
    EXPECT_EQ(doc["ports"], nlohmann::json::array());
    ASSERT_EQ(doc["com"].size(), 6u);
    for (int i = 0; i < 6; ++i) {
        const nlohmann::json& c = doc["com"][static_cast<std::size_t>(i)];
        EXPECT_EQ(c["name"], "COM" + std::to_string(i + 1));
        EXPECT_EQ(c["device"], DefaultDevice(i));
        EXPECT_EQ(c["source"], "default");
        EXPECT_EQ(c["present"], access(DefaultDevice(i).c_str(), F_OK) == 0);
    }
    EXPECT_EQ(err.str(), "");

    std::ostringstream text;
    ASSERT_EQ(cli::PortsList(scanner, false, text, err), 0);
    EXPECT_EQ(text.str().substr(0, text.str().find("\n\n") + 2), "Serial ports:\n  (none found)\n\n");
    EXPECT_NE(text.str().find("  COM6  /dev/ttyS5  default      "), std::string::npos) << text.str();
}

TEST_F(PortsCommandTest, JsonHoldsEveryFieldWithNullWhereUnknown) {
    DiscoveredPort usb;
    usb.device = "/dev/ttyUSB0";
    usb.byId = "/dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0";
    usb.description = "FT232R USB UART";
    usb.transport = PortTransport::Usb;
    usb.vid = 0x0403;
    usb.pid = 0x6001;
    usb.serial = "A12B";
    DiscoveredPort native;
    native.device = "/dev/ttyS0";
    native.description = "ttyS0";
    scanner.ports = {native, usb};
    const std::string plugged = tmp / "ttyACM0";
    std::ofstream(plugged) << "";
    setenv("K52_COM2", plugged.c_str(), 1);
    ASSERT_EQ(cli::PortsAssign(0, "/dev/serial/by-id/usb-gone", out, err), 0);
    out.str("");

    ASSERT_EQ(cli::PortsList(scanner, true, out, err), 0);
    const nlohmann::json doc = nlohmann::json::parse(out.str());
    EXPECT_EQ(doc["ports"], nlohmann::json::parse(R"([
        {"device": "/dev/ttyS0", "byId": null, "description": "ttyS0", "transport": "native",
         "vid": null, "pid": null, "serial": null},
        {"device": "/dev/ttyUSB0", "byId": "/dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0",
         "description": "FT232R USB UART", "transport": "usb", "vid": "0403", "pid": "6001", "serial": "A12B"}
    ])"));
    EXPECT_EQ(doc["com"][0], nlohmann::json::parse(
                                 R"({"name": "COM1", "device": "/dev/serial/by-id/usb-gone", "source": "file",
                                     "present": false, "origin": ")" +
                                 tmp / "k52/ports.conf" + R"(", "pattern": null})"));
    EXPECT_EQ(doc["com"][1], nlohmann::json({{"name", "COM2"},
                                             {"device", plugged},
                                             {"source", "environment"},
                                             {"present", true},
                                             {"origin", "K52_COM2"},
                                             {"pattern", nullptr}}));
    EXPECT_EQ(doc["com"][2]["origin"], nullptr);
    // The keys come in the order the format gives them.
    const auto ordered = nlohmann::ordered_json::parse(out.str());
    std::vector<std::string> keys;
    for (const auto& [key, value] : ordered.items()) keys.push_back(key);
    for (const auto& [key, value] : ordered["ports"][1].items()) keys.push_back(key);
    for (const auto& [key, value] : ordered["com"][0].items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"ports", "com", "device", "byId", "description", "transport",
                                              "vid", "pid", "serial", "name", "device", "source", "present",
                                              "origin", "pattern"}));

    std::ostringstream text;
    ASSERT_EQ(cli::PortsList(scanner, false, text, err), 0);
    EXPECT_NE(text.str().find("  /dev/ttyUSB0  FT232R USB UART  (USB 0403:6001, serial A12B)\n"
                              "    /dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0\n"),
              std::string::npos)
        << text.str();
    EXPECT_NE(Squeezed(text.str())
                  .find("\n COM1 /dev/serial/by-id/usb-gone file not connected " + tmp / "k52/ports.conf" +
                        "\n COM2 " + plugged + " environment present K52_COM2\n COM3 /dev/ttyS2 default "),
              std::string::npos)
        << text.str();
}

// The table says which file each assignment came from and which pattern found the adapter.
TEST_F(PortsCommandTest, EachAssignmentShowsItsFileAndPattern) {
    std::filesystem::create_directories(tmp / "system/k52");
    std::ofstream(tmp / "system/k52/ports.conf") << "COM1=usb:0403:6001\nCOM2=/dev/ttyS7\nCOM7=/dev/x\n";
    DiscoveredPort usb;
    usb.device = "/dev/ttyUSB3";
    usb.transport = PortTransport::Usb;
    usb.vid = 0x0403;
    usb.pid = 0x6001;
    scanner.ports = {usb};
    ASSERT_EQ(cli::PortsAssign(1, "/dev/ttyACM0", out, err), 0);  // the user's own beats the site's
    out.str("");
    err.str("");
    ASSERT_EQ(cli::PortsList(scanner, false, out, err), 0);
    const std::string system = tmp / "system/k52/ports.conf";
    EXPECT_NE(Squeezed(out.str()).find("\n COM1 /dev/ttyUSB3 file not connected " + system +
                                       " (by usb:0403:6001)\n COM2 /dev/ttyACM0 file not connected " +
                                       tmp / "k52/ports.conf" + "\n"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(err.str(), "k52cli: warning: " + system +
                             ":3: ignored \"COM7=/dev/x\" (expected COM1..COM6=/path/of/device)\n");
}

TEST_F(PortsCommandTest, AssignAndUnassignEditTheFileAndKeepTheRest) {
    ASSERT_EQ(mkdir((tmp / "k52").c_str(), 0700), 0);
    std::ofstream(tmp / "k52/ports.conf") << "# front desk\nCOM9=/dev/ttyUSB9\n";

    EXPECT_EQ(cli::PortsAssign(2, "/dev/ttyUSB7", out, err), 0);
    EXPECT_EQ(out.str(), "COM3 = /dev/ttyUSB7\n/dev/ttyUSB7 is not connected at the moment\n");
    EXPECT_EQ(err.str(), "k52cli: warning: " + tmp / "k52/ports.conf" +
                             ":2: ignored \"COM9=/dev/ttyUSB9\" (expected COM1..COM6=/path/of/device)\n");
    EXPECT_EQ(Conf(), "# front desk\nCOM9=/dev/ttyUSB9\nCOM3=/dev/ttyUSB7\n");

    out.str("");
    EXPECT_EQ(cli::PortsAssign(2, "/dev/null", out, err), 0);
    EXPECT_EQ(out.str(), "COM3 = /dev/null\n");
    EXPECT_EQ(Conf(), "# front desk\nCOM9=/dev/ttyUSB9\nCOM3=/dev/null\n");

    out.str("");
    EXPECT_EQ(cli::PortsUnassign(2, out, err), 0);
    EXPECT_EQ(out.str(), "COM3 = /dev/ttyS2 (default)\n");
    EXPECT_EQ(Conf(), "# front desk\nCOM9=/dev/ttyUSB9\n");

    out.str("");
    err.str("");
    EXPECT_EQ(cli::PortsAssign(0, "ttyUSB0", out, err), cli::kExitUsage);
    EXPECT_EQ(err.str(), "k52cli: DEVICE must be an absolute path such as /dev/ttyUSB0\n");
    EXPECT_EQ(Conf(), "# front desk\nCOM9=/dev/ttyUSB9\n");
}

TEST_F(PortsCommandTest, AnAssignmentUnderAnEnvironmentOverrideIsStoredWithANote) {
    setenv("K52_COM2", "/dev/pts/9", 1);
    EXPECT_EQ(cli::PortsAssign(1, "/dev/ttyUSB1", out, err), 0);
    EXPECT_EQ(Conf(), "COM2=/dev/ttyUSB1\n");
    EXPECT_EQ(err.str(), "k52cli: note: K52_COM2 in the environment overrides this assignment\n");
}

TEST_F(PortsCommandTest, AFileThatCannotBeWrittenFailsWithTheReason) {
    std::ofstream(tmp / "k52") << "a file where the folder should be";
    EXPECT_EQ(cli::PortsAssign(0, "/dev/ttyUSB0", out, err), cli::kExitFile);
    EXPECT_NE(err.str().find("k52cli: cannot store the assignment: "), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
}

TEST_F(PortsCommandTest, AConfThatIsNoRegularFileIsNeitherWaitedOnNorReplaced) {
    ASSERT_EQ(mkdir((tmp / "k52").c_str(), 0700), 0);
    ASSERT_EQ(mkfifo((tmp / "k52/ports.conf").c_str(), 0600), 0);
    EXPECT_EQ(cli::PortsList(scanner, true, out, err), 0);
    EXPECT_NE(err.str().find(std::string("ports.conf: ") + kNotRegularFileReason), std::string::npos)
        << err.str();
    EXPECT_EQ(cli::PortsAssign(0, "/dev/ttyUSB0", out, err), cli::kExitFile);
    EXPECT_TRUE(std::filesystem::is_fifo(tmp / "k52/ports.conf"));

    // A link to something that is no regular file: refused, and what it names stays as it was.
    ASSERT_EQ(rename((tmp / "k52/ports.conf").c_str(), (tmp / "elsewhere").c_str()), 0);
    ASSERT_EQ(symlink((tmp / "elsewhere").c_str(), (tmp / "k52/ports.conf").c_str()), 0);
    EXPECT_EQ(cli::PortsAssign(0, "/dev/ttyUSB0", out, err), cli::kExitFile);
    EXPECT_TRUE(std::filesystem::is_fifo(tmp / "elsewhere"));
}

// Three assignments made at once while someone else edits the file: every one of them is kept.
TEST_F(PortsCommandTest, EditsMadeAtOnceAllReachTheFile) {
    ASSERT_EQ(mkdir((tmp / "k52").c_str(), 0700), 0);
    std::vector<std::thread> assigns;
    std::ostringstream outs[3], errs[3];
    int results[3] = {-1, -1, -1};
    {
        std::optional<FileLock> lock = FileLock::Acquire(tmp / "k52/ports.conf.lock");
        ASSERT_TRUE(lock);
        for (int i = 0; i < 3; ++i)
            assigns.emplace_back([&, i] {
                results[i] = cli::PortsAssign(i, "/dev/ttyUSB" + std::to_string(i), outs[i], errs[i]);
            });
        // Written while the assignments wait for the lock; none of them may have read the file before.
        std::ofstream(tmp / "k52/ports.conf") << "COM6=/dev/ttyACM5\n";
    }
    for (std::thread& t : assigns) t.join();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(results[i], 0) << errs[i].str();
    const std::string conf = Conf();
    for (const char* line :
         {"COM6=/dev/ttyACM5\n", "COM1=/dev/ttyUSB0\n", "COM2=/dev/ttyUSB1\n", "COM3=/dev/ttyUSB2\n"})
        EXPECT_NE(conf.find(line), std::string::npos) << line << " in\n" << conf;
}

}  // namespace
}  // namespace k52
