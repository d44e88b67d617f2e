// The port settings window's device chooser on a fake list of the host's ports: choosing, typing a path,
// refreshing, an environment override, and what OK and Cancel store.
#include <unistd.h>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "shell/MainWindow.h"
#include "shell/PortDeviceChooser.h"
#include "shell/PortSettingsDialog.h"
#include "shell/TransferWindows.h"
#include "support/InLanguage.h"
#include "support/UiTestSupport.h"

using namespace k52;
using k52::test::ScriptedMessages;

namespace {

class FakeScanner : public PortScanner {
  public:
    std::vector<DiscoveredPort> ports;
    int scans = 0;
    std::vector<DiscoveredPort> Scan() override {
        ++scans;
        return ports;
    }
};

DiscoveredPort Port(std::string device, std::optional<std::string> byId, std::string description) {
    DiscoveredPort p;
    p.device = std::move(device);
    p.byId = std::move(byId);
    p.description = std::move(description);
    return p;
}

}  // namespace

class PortSettingsTest : public QObject {
    Q_OBJECT

    QTemporaryDir config_;
    std::string adapter_;  // a device that is there

    std::string Conf() const {
        std::ifstream in(config_.filePath(QStringLiteral("k52/ports.conf")).toStdString());
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void SetConf(const std::string& text) const {
        QDir(config_.path()).mkpath(QStringLiteral("k52"));
        std::ofstream(config_.filePath(QStringLiteral("k52/ports.conf")).toStdString()) << text;
    }
    static QStringList Items(QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    }

  private slots:
    void init() {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        for (int i = 1; i <= 6; ++i) qunsetenv(("K52_COM" + std::to_string(i)).c_str());
        QFile::remove(config_.filePath(QStringLiteral("k52/ports.conf")));
        adapter_ = config_.filePath(QStringLiteral("usb-FTDI_FT232R_A12B-if00-port0")).toStdString();
        std::ofstream(adapter_) << "";
    }

    void choosingADiscoveredPortStoresItsStableNameOnOk() {
        FakeScanner scanner;
        scanner.ports = {Port("/dev/ttyS0", std::nullopt, "ttyS0"),
                         Port("/dev/ttyUSB0", adapter_, "FT232R USB UART")};
        PortSettings ports{1, 4};
        ScriptedMessages messages;
        PortSettingsDialog dlg(nullptr, ports, &scanner, &messages);
        QComboBox* box = dlg.deviceChooser()->deviceBox();
        QCOMPARE(Items(box),
                 (QStringList{QStringLiteral("ttyS0 — /dev/ttyS0"),
                              QStringLiteral("FT232R USB UART — ") + QString::fromStdString(adapter_)}));
        // Nothing assigned yet: the box is empty and its hint is the default device.
        QCOMPARE(box->currentText(), QString());
        QCOMPARE(box->lineEdit()->placeholderText(), QStringLiteral("/dev/ttyS1"));
        box->setCurrentIndex(1);
        QCOMPARE(dlg.deviceChooser()->statusLabel()->text(), QString());
        dlg.show();
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        QCOMPARE(dlg.result(), 1);
        QCOMPARE(Conf(), "COM2=" + adapter_ + "\n");
        QCOMPARE(ports.comPort, 1);
        QCOMPARE(ports.baudRate, 4);
        QVERIFY(messages.shown.empty());
    }

    void aTypedPathThatIsAbsentSaysSoAndIsStored() {
        FakeScanner scanner;
        PortSettings ports{0, 0};
        PortSettingsDialog dlg(nullptr, ports, &scanner);
        QComboBox* box = dlg.deviceChooser()->deviceBox();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("/dev/ttyACM3"));
        QCOMPARE(dlg.deviceChooser()->statusLabel()->text(), QStringLiteral("未連接"));
        box->lineEdit()->setText(QString::fromStdString(adapter_));
        QCOMPARE(dlg.deviceChooser()->statusLabel()->text(), QString());
        box->lineEdit()->setText(QStringLiteral("  /dev/ttyACM3 "));
        dlg.show();
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        QCOMPARE(Conf(), std::string("COM1=/dev/ttyACM3\n"));
    }

    void refreshListsAgainAndKeepsWhatIsTyped() {
        FakeScanner scanner;
        scanner.ports = {Port("/dev/ttyS0", std::nullopt, "ttyS0")};
        PortSettings ports{2, 0};
        PortSettingsDialog dlg(nullptr, ports, &scanner);
        PortDeviceChooser* chooser = dlg.deviceChooser();
        chooser->deviceBox()->lineEdit()->setText(QStringLiteral("/dev/ttyUSB5"));
        scanner.ports.push_back(Port("/dev/ttyUSB0", adapter_, "FT232R USB UART"));
        const int before = scanner.scans;
        QTest::mouseClick(chooser->refreshButton(), Qt::LeftButton);
        QCOMPARE(scanner.scans, before + 1);
        QCOMPARE(chooser->deviceBox()->count(), 2);
        QCOMPARE(chooser->deviceBox()->currentText(), QStringLiteral("/dev/ttyUSB5"));
        QCOMPARE(chooser->ChosenPath(), std::string("/dev/ttyUSB5"));
    }

    void anEnvironmentOverrideIsShownAndNotStored() {
        SetConf("COM2=/dev/ttyUSB1\n");
        qputenv("K52_COM2", "/dev/pts/77");
        FakeScanner scanner;
        PortSettings ports{1, 0};
        PortSettingsDialog dlg(nullptr, ports, &scanner);
        PortDeviceChooser* chooser = dlg.deviceChooser();
        QVERIFY(!chooser->deviceBox()->isEnabled());
        QCOMPARE(chooser->deviceBox()->currentText(), QStringLiteral("/dev/pts/77"));
        QCOMPARE(chooser->statusLabel()->text(), QStringLiteral("由環境變數 K52_COM2 指定"));
        QCOMPARE(dlg.deviceLabel()->text(), QStringLiteral("/dev/pts/77"));
        // Another port is the user's to choose.
        dlg.portList()->setCurrentIndex(3);
        QVERIFY(chooser->deviceBox()->isEnabled());
        QCOMPARE(chooser->statusLabel()->text().isEmpty(), access("/dev/ttyS3", F_OK) == 0);
        dlg.show();
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        QCOMPARE(dlg.result(), 1);
        QCOMPARE(Conf(), std::string("COM2=/dev/ttyUSB1\n"));  // the file's line under the override stays
        qunsetenv("K52_COM2");
    }

    void eachPortKeepsItsChoiceUntilCancelDropsThemAll() {
        SetConf("# desk 2\nCOM1=/dev/ttyUSB1\n");
        FakeScanner scanner;
        PortSettings ports{0, 2};
        for (bool ok : {false, true}) {
            PortSettingsDialog dlg(nullptr, ports, &scanner);
            QComboBox* box = dlg.deviceChooser()->deviceBox();
            QCOMPARE(box->currentText(), QStringLiteral("/dev/ttyUSB1"));
            box->lineEdit()->setText(QStringLiteral("/dev/ttyUSB7"));
            dlg.portList()->setCurrentIndex(4);
            QCOMPARE(box->currentText(), QString());
            box->lineEdit()->setText(QStringLiteral("/dev/ttyACM0"));
            dlg.portList()->setCurrentIndex(0);
            QCOMPARE(box->currentText(), QStringLiteral("/dev/ttyUSB7"));
            dlg.portList()->setCurrentIndex(4);
            dlg.speedList()->setCurrentIndex(1);
            dlg.show();
            QTest::mouseClick(ok ? dlg.okButton() : dlg.cancelButton(), Qt::LeftButton);
            if (!ok) {
                QCOMPARE(Conf(), std::string("# desk 2\nCOM1=/dev/ttyUSB1\n"));
                QCOMPARE(ports.comPort, 0);
                QCOMPARE(ports.baudRate, 2);
            }
        }
        QCOMPARE(Conf(), std::string("# desk 2\nCOM1=/dev/ttyUSB7\nCOM5=/dev/ttyACM0\n"));
        QCOMPARE(ports.comPort, 4);
        QCOMPARE(ports.baudRate, 1);
    }

    void anEmptyBoxUnassignsAndABadPathKeepsTheWindowOpen() {
        const test::InLanguage english{Language::English};  // the message as written
        SetConf("COM3=/dev/ttyUSB3\nCOM4=/dev/ttyUSB4\n");
        FakeScanner scanner;
        PortSettings ports{2, 0};
        ScriptedMessages messages;
        PortSettingsDialog dlg(nullptr, ports, &scanner, &messages);
        dlg.deviceChooser()->deviceBox()->lineEdit()->clear();
        dlg.portList()->setCurrentIndex(3);
        dlg.deviceChooser()->deviceBox()->lineEdit()->setText(QStringLiteral("ttyUSB0"));
        dlg.show();
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QCOMPARE(messages.texts(),
                 std::vector<std::string>{"COM4: \"ttyUSB0\" is not a device path such as /dev/ttyUSB0"});
        QCOMPARE(Conf(), std::string("COM3=/dev/ttyUSB3\nCOM4=/dev/ttyUSB4\n"));
        QCOMPARE(ports.comPort, 2);
        dlg.deviceChooser()->deviceBox()->lineEdit()->setText(QStringLiteral("/dev/ttyUSB0"));
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        QCOMPARE(dlg.result(), 1);
        QCOMPARE(Conf(), std::string("COM4=/dev/ttyUSB0\n"));
        QCOMPARE(ports.comPort, 3);
    }

    // The desktop keeps its message box and shows under it why the port would not open.
    void aPortThatWillNotOpenIsExplainedUnderTheMessage() {
        SetConf("COM1=/dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0\n");
        struct Files : TransferChoices {
            std::string data;
            std::optional<std::string> ChooseLookupFile(const std::string&) override { return std::nullopt; }
            std::optional<std::string> ChooseDataFile() override { return data; }
            void OpenForViewing(const std::string&) override {}
        } files;
        files.data = config_.filePath(QStringLiteral("received.txt")).toStdString();
        ScriptedMessages messages;
        DesktopServices services;
        services.messages = &messages;
        services.transferFiles = &files;
        MainWindow window(services);
        window.document().tmpl.portSettings = {0, 0};
        window.OnCommand(3020);  // download the program
        QVERIFY(test::WaitForTransfer(window));
        window.OnCommand(3030);  // receive data
        QVERIFY(test::WaitForTransfer(window));
        const std::string why =
            "COM1 is assigned to /dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0, which is not connected";
        QCOMPARE(messages.shown.size(), std::size_t{2});
        QCOMPARE(messages.shown[0].text, std::string("連接埠無法打開!!"));
        QCOMPARE(messages.shown[0].detail, why);
        QCOMPARE(messages.shown[1].text, std::string("無法打開通訊埠!!"));
        QCOMPARE(messages.shown[1].detail, why);
    }

    // The warning in the user's language: as written under English, in Chinese otherwise.
    void aDamagedLineIsShownAsAWarning() {
        SetConf("COM9=/dev/ttyUSB0\n");
        FakeScanner scanner;
        PortSettings ports{0, 0};
        auto shown = [&] {
            PortSettingsDialog dlg(nullptr, ports, &scanner);
            auto* warnings = dlg.findChild<QLabel*>(QStringLiteral("portsConfWarnings"));
            return warnings ? warnings->text() : QString();
        };
        {
            const test::InLanguage english{Language::English};
            QVERIFY(shown().endsWith(QStringLiteral(
                "ports.conf:1: ignored \"COM9=/dev/ttyUSB0\" (expected COM1..COM6=/path/of/device)")));
        }
        const QString chinese = shown();
        QVERIFY(chinese.contains(QStringLiteral("ports.conf:1: ")) &&
                !chinese.contains(QStringLiteral("ignored")));
    }
};

QTEST_MAIN(PortSettingsTest)
#include "port_settings_test.moc"
