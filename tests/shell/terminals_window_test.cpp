// The Terminals window against k52peer terminals reached as COM1..COM3: one silent terminal holds up no
// other, its row says why, Retry tries it again, and a receive fills the folder by k52cli's rule.
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "app/DeskTransfer.h"
#include "app/TransferWording.h"
#include "shell/MainWindow.h"
#include "shell/TerminalsWindow.h"
#include "shell/Translations.h"
#include "station/Ledger.h"
#include "support/UiTestSupport.h"
#include "template/Defaults.h"

using namespace k52;
using k52::test::ScriptedMessages;

namespace {

struct NoAdapters : PortScanner {
    std::vector<DiscoveredPort> Scan() override { return {}; }
};

struct Files : TransferChoices {
    std::vector<std::string> viewed;
    std::optional<std::string> ChooseLookupFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseDataFile() override { return std::nullopt; }
    void OpenForViewing(const std::string& path) override { viewed.push_back(path); }
};

std::string ReadAll(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class TerminalsWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    // Starts k52peer and points COMn at its pseudo-terminal; its path, or empty.
    static QByteArray StartPeer(QProcess& peer, int comPort, const QStringList& args) {
        peer.setProgram(QStringLiteral(K52PEER_PATH));
        peer.setArguments(args);
        peer.start();
        if (!peer.waitForStarted(10000)) return {};
        while (!peer.canReadLine())
            if (!peer.waitForReadyRead(10000)) return {};
        const QByteArray path = peer.readLine().trimmed();
        qputenv(ComPortVariable(comPort).c_str(), path);
        return path;
    }
    static bool Verified(QProcess& peer) {
        return (peer.state() == QProcess::NotRunning || peer.waitForFinished(20000)) && peer.exitCode() == 0;
    }
    static QString Result(TerminalsWindow& w, int row) {
        if (auto* label = qobject_cast<QLabel*>(w.table()->cellWidget(row, TerminalsWindow::kResult)))
            return label->text();
        return w.table()->item(row, TerminalsWindow::kResult)->text();
    }

  private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path()));
        InstallTranslations(LanguageFromEnvironment());
    }

    // K52_GRAB_DIR=FOLDER keeps a picture of the window at each stage, for people to look at.
    static void Grab(QWidget* w, const char* name) {
        if (const QByteArray folder = qgetenv("K52_GRAB_DIR"); !folder.isEmpty())
            w->grab().save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
    }

    void downloadToThreeThenReceiveFromTwo() {
        QProcess peers[3];
        const QString images[2] = {dir_.filePath(QStringLiteral("a.bin")),
                                   dir_.filePath(QStringLiteral("b.bin"))};
        QVERIFY(!StartPeer(peers[0], 0, {"--image-out", images[0]}).isEmpty());
        QVERIFY(!StartPeer(peers[1], 1, {"--image-out", images[1]}).isEmpty());
        QVERIFY(!StartPeer(peers[2], 2, {"--fault", "silent"}).isEmpty());

        ScriptedMessages messages;
        Files files;
        NoAdapters scanner;
        DesktopServices services;
        services.messages = &messages;
        services.transferFiles = &files;
        services.scanner = &scanner;
        MainWindow main(services);
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(&main, Qt::Key_T, Qt::ControlModifier);
        TerminalsWindow* w = main.terminalsWindow();
        QVERIFY(w && w->isVisible());
        QApplication::setActiveWindow(w);
        w->table()->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(w->table()->rowCount(), 3);

        // The terminal's picture keeps handling events while the three run.
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(0);
        QSignalSpy ended(w, &TerminalsWindow::allEnded);
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w->table()->item(i, TerminalsWindow::kName)->checkState(), Qt::Checked);
        QTest::keyClick(w, Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(w->running());  // a mnemonic clicks once its button has been seen pressed
        QVERIFY(!main.transferRunning());
        QVERIFY(ended.wait(60000));
        QVERIFY(ticks > 10);

        QVERIFY(Verified(peers[0]) && Verified(peers[1]));
        const std::string image = ReadAll(images[0]);
        QCOMPARE(image.size(), std::size_t{10500});
        QCOMPARE(ReadAll(images[1]), image);
        const auto& rows = w->rack().rows();
        QCOMPARE(rows[0].state, RowState::Done);
        QCOMPARE(rows[1].state, RowState::Done);
        QCOMPARE(rows[2].state, RowState::Failed);
        QCOMPARE(FailureCode(rows[2].last->outcome), std::string("no-reply"));
        QCOMPARE(Result(*w, 2).toStdString(), RowResultText(*rows[2].last));
        QVERIFY(messages.shown.empty());
        Grab(w, "downloaded");

        // Retry runs the silent row alone again; cancelling it ends it as cancelled.
        QVERIFY(w->retryButton()->isEnabled());
        QTest::keyClick(w, Qt::Key_T, Qt::AltModifier);
        QTRY_COMPARE(rows[2].state, RowState::Running);
        QCOMPARE(rows[0].state, RowState::Done);
        w->CancelAll();
        QVERIFY(ended.wait(60000));
        QCOMPARE(rows[2].state, RowState::Cancelled);
        peers[2].kill();
        peers[2].waitForFinished();

        // Receive from COM1 and COM2, now two other terminals; one file stands already.
        const QString records = dir_.filePath(QStringLiteral("records.txt"));
        std::ofstream(records.toStdString(), std::ios::binary) << "A001,3\nB002,15\n";
        QProcess senders[2];
        const QByteArray first = StartPeer(senders[0], 0, {"--records", records});
        QVERIFY(!StartPeer(senders[1], 1, {"--records", records}).isEmpty());
        w->Rescan();
        QTRY_COMPARE(w->table()->item(0, TerminalsWindow::kDevice)->text(), QString::fromUtf8(first));
        const QString folder = dir_.filePath(QStringLiteral("shift"));
        QVERIFY(QDir().mkpath(folder));
        const QString taken = folder + "/" + QFileInfo(QString::fromUtf8(first)).fileName() + ".TXT";
        std::ofstream(taken.toStdString()) << "old\r\n";
        w->SetChecked(2, false);
        messages.answers = {MessageAnswer::Yes};
        k52::test::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            dialog->selectFile(folder);
            static_cast<QDialog*>(dialog)->accept();
        });
        w->receiveButton()->click();
        QVERIFY(ended.wait(60000));

        QCOMPARE(messages.shown.size(), std::size_t{1});
        QVERIFY(messages.shown[0].text.find(taken.toStdString()) != std::string::npos);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(rows[static_cast<std::size_t>(i)].state, RowState::Done);
            const std::string file = rows[static_cast<std::size_t>(i)].file;
            QCOMPARE(ReadAll(QString::fromStdString(file)), std::string("A001,3\r\nB002,15\r\n"));
            QVERIFY(Verified(senders[i]));
        }
        QCOMPARE(rows[0].file, taken.toStdString());
        QCOMPARE(rows[2].state, RowState::Cancelled);
        auto* link = qobject_cast<QLabel*>(w->table()->cellWidget(1, TerminalsWindow::kResult));
        QVERIFY(link);
        emit link->linkActivated(QString::fromStdString(rows[1].file));
        QCOMPARE(files.viewed, std::vector<std::string>{rows[1].file});
        Grab(w, "received");
    }

    // The station takes the checked terminal's upload into its dated file and the ledger, and stopping
    // it, or closing the window, ends every row.
    void collectsAutomaticallyUntilStopped() {
        const QString records = dir_.filePath(QStringLiteral("upload.txt"));
        std::ofstream(records.toStdString(), std::ios::binary) << "C1,1\nC2,2\n";
        QProcess peer;
        const QByteArray device = StartPeer(peer, 0, {"--records", records});
        QVERIFY(!device.isEmpty());
        const QString folder = dir_.filePath(QStringLiteral("collected"));

        ScriptedMessages messages;
        Files files;
        NoAdapters scanner;
        TerminalsServices services;
        services.messages = &messages;
        services.files = &files;
        services.scanner = &scanner;
        services.chooseFolder = [&](const std::string&) { return std::optional(folder.toStdString()); };
        ApplicationTemplate tmpl = StartupTemplate();
        TerminalsWindow w(tmpl, services, nullptr);
        w.show();
        const auto& rows = w.rack().rows();
        QCOMPARE(rows[0].device, device.toStdString());
        w.SetChecked(0, true);
        QSignalSpy ended(&w, &TerminalsWindow::collectingEnded);
        w.collectButton()->click();
        QVERIFY(w.collecting());
        QTRY_VERIFY_WITH_TIMEOUT(rows[0].lastUpload.has_value(), 30000);
        QVERIFY(Verified(peer));
        Grab(&w, "collecting");

        const QDir terminal(folder + "/" + QFileInfo(QString::fromUtf8(device)).fileName());
        const QStringList stored = terminal.entryList({QStringLiteral("*.TXT")}, QDir::Files);
        QCOMPARE(stored.size(), 1);
        QCOMPARE(ReadAll(terminal.filePath(stored[0])), std::string("C1,1\r\nC2,2\r\n"));
        std::string reason;
        std::optional<Ledger> ledger = Ledger::OpenExisting(folder.toStdString(), &reason);
        QVERIFY2(ledger, reason.c_str());
        const auto uploads = ledger->List("", "", &reason);
        QVERIFY(uploads && uploads->size() == 1);
        QCOMPARE(uploads->front().outcome, std::string("complete"));
        QCOMPARE(uploads->front().records, 2);
        QVERIFY(Result(w, 0).contains(QStringLiteral("2")));

        w.collectButton()->click();
        QVERIFY(ended.wait(20000));
        QVERIFY(!w.collecting() && !w.collectButton()->isChecked() && w.collectButton()->isEnabled());
        QVERIFY(!rows[0].collecting);

        // Closing the window stops the station first, then closes.
        w.collectButton()->click();
        QVERIFY(w.collecting());
        w.close();
        QVERIFY(ended.wait(20000));
        QTRY_VERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TerminalsWindowTest)
#include "terminals_window_test.moc"
