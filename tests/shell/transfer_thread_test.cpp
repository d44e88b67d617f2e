// Transfers from the desktop run on a worker: the window keeps handling events, a stop keeps what the
// terminal was told is stored, and quitting waits for the worker.
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "app/DeskTransfer.h"
#include "peer/TerminalPeer.h"
#include "shell/MainWindow.h"
#include "support/MemoryLine.h"
#include "support/UiTestSupport.h"

using namespace k52;
using k52::test::ScriptedMessages;

namespace {

struct Files : TransferChoices {
    std::string data;
    std::optional<std::string> ChooseLookupFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseDataFile() override { return data; }
    void OpenForViewing(const std::string&) override {}
};

// Asks the window to stop its transfer once the terminal has heard `after` acknowledgements.
class StoppingClock : public VirtualClock {
  public:
    MainWindow* window = nullptr;
    const TerminalPeer* peer = nullptr;
    int after = -1;
    std::int64_t NowMs() override {
        if (window && peer && after >= 0 && peer->report().recordsAcknowledged >= after)
            window->CancelTransfer();
        return VirtualClock::NowMs();
    }
};

struct Desk {
    ScriptedMessages messages;
    Files files;
    StoppingClock clock;
    std::optional<TerminalPeer> peer;
    std::unique_ptr<MemoryLineFactory> lines;
    std::unique_ptr<MainWindow> window;

    explicit Desk(std::optional<PeerOptions> options) {
        if (options) peer.emplace(std::move(*options));
        lines = std::make_unique<MemoryLineFactory>(clock, peer ? &*peer : nullptr);
        DesktopServices services;
        services.messages = &messages;
        services.transferFiles = &files;
        services.lines = lines.get();
        services.linkClock = &clock;
        window = std::make_unique<MainWindow>(services);
        window->show();
    }
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class TransferThreadTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

  private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path())); }

    void aDownloadRunsWhileTheWindowHandlesEvents() {
        Desk d{PeerOptions{}};
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(0);
        d.window->OnCommand(kCmdDownloadProgram);
        QVERIFY(d.window->transferRunning());  // the command returned with the transfer under way
        QVERIFY(test::WaitForTransfer(*d.window));
        QVERIFY(!d.window->transferRunning());
        QVERIFY(ticks > 0);
        QCOMPARE(d.messages.texts(), std::vector<std::string>{"下載完畢!!"});
        QVERIFY(d.peer->report().imageComplete);
    }

    void aStoppedReceiveKeepsEveryAcknowledgedRecord() {
        PeerOptions o;
        for (int i = 0; i < 8; ++i) o.records.push_back({u8('A' + i)});
        Desk d{std::move(o)};
        d.files.data = dir_.filePath(QStringLiteral("stopped.txt")).toStdString();
        d.clock.window = d.window.get();
        d.clock.peer = &*d.peer;
        d.clock.after = 3;
        d.window->OnCommand(kCmdReceiveData);
        QVERIFY(test::WaitForTransfer(*d.window));
        const int acknowledged = d.peer->report().recordsAcknowledged;
        QVERIFY(acknowledged >= 3 && acknowledged < 8);
        std::string expected;
        for (int i = 0; i < acknowledged; ++i) expected += std::string(1, char('A' + i)) + "\r\n";
        QCOMPARE(ReadAll(d.files.data), expected);
        QCOMPARE(d.messages.texts(),
                 std::vector<std::string>{"接收中斷, 已接收的 " + std::to_string(acknowledged) +
                                          " 筆資料已保存在檔案中."});
    }

    void quittingStopsTheTransferAndWaitsForIt() {
        Desk d{std::nullopt};  // a terminal that never answers
        // The quit question comes while the first message is up, so it takes the first answer.
        d.messages.answers = {MessageAnswer::Yes};
        d.messages.onShow = [&](const test::Shown& shown) {
            if (shown.text == "終端機尚未就緒!!") d.window->close();
        };
        d.window->OnCommand(kCmdDownloadProgram);
        QVERIFY(test::WaitForTransfer(*d.window));
        QVERIFY(!d.window->isVisible());
        // Once the person said Yes, nothing more of the transfer is shown.
        QCOMPARE(d.messages.texts(),
                 (std::vector<std::string>{"終端機尚未就緒!!", "傳輸尚未結束, 要停止傳輸並結束程式嗎??"}));
    }
};

QTEST_MAIN(TransferThreadTest)
#include "transfer_thread_test.moc"
