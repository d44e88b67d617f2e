// The transfer commands from the desktop, against k52peer on a pseudo-terminal reached as COM1, with the
// message boxes and file choices answered here.
#include <QFileDialog>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "shell/DataViewer.h"
#include "shell/MainWindow.h"
#include "shell/RecordTableModel.h"
#include "shell/TransferWindows.h"
#include "support/UiTestSupport.h"

using namespace k52;
using k52::test::OnNextModal;
using k52::test::ScriptedFileDialogs;
using k52::test::ScriptedMessages;

namespace {

class ScriptedTransferFiles : public TransferChoices {
  public:
    std::optional<std::string> lookupFile, dataFile;
    std::vector<std::string> viewed;
    std::optional<std::string> ChooseLookupFile(const std::string&) override { return lookupFile; }
    std::optional<std::string> ChooseDataFile() override { return dataFile; }
    void OpenForViewing(const std::string& path) override { viewed.push_back(path); }
};

std::string ReadAll(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Which transfer windows came up while a transfer ran; the bar and the count as they stood when each
// window went (its values follow the transfer's reports, which the presenter's test checks).
struct Watcher : QObject {
    int progressSeen = 0, maxProgress = -1, statusSeen = 0, maxCount = 0;
    explicit Watcher(QtTransferUi&) { qApp->installEventFilter(this); }
    ~Watcher() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool shown = event->type() == QEvent::Show, painted = event->type() == QEvent::Paint;
        if (!shown && !painted && event->type() != QEvent::Hide) return false;
        if (auto* p = qobject_cast<ProgressDialog*>(watched)) {
            progressSeen += shown;
            maxProgress = std::max(maxProgress, p->bar()->value());
        }
        if (auto* b = qobject_cast<ReceiveStatusBox*>(watched)) {
            statusSeen += shown;
            maxCount = std::max(maxCount, b->count());
        }
        return false;
    }
};

}  // namespace

class DesktopTransferTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Starts k52peer with `args` and points COM1 at its pseudo-terminal.
    bool StartPeer(QProcess& peer, const QStringList& args) {
        peer.setProgram(QStringLiteral(K52PEER_PATH));
        peer.setArguments(args);
        peer.setProcessChannelMode(QProcess::SeparateChannels);
        peer.start();
        if (!peer.waitForStarted(10000)) return false;
        while (!peer.canReadLine())
            if (!peer.waitForReadyRead(10000)) return false;
        QByteArray path = peer.readLine().trimmed();
        qputenv("K52_COM1", path);
        return path.startsWith('/');
    }

    // The desktop handled events while the transfer ran, so the peer may have been seen to end already.
    static bool PeerVerified(QProcess& peer) {
        return (peer.state() == QProcess::NotRunning || peer.waitForFinished(20000)) &&
               peer.exitStatus() == QProcess::NormalExit && peer.exitCode() == 0;
    }

    struct Desktop {
        ScriptedMessages messages;
        ScriptedFileDialogs dialogs;
        ScriptedTransferFiles files;
        std::unique_ptr<MainWindow> window;
        Desktop() {
            DesktopServices services;
            services.messages = &messages;
            services.templateDialogs = &dialogs;
            services.transferFiles = &files;
            window = std::make_unique<MainWindow>(services);
            window->document().tmpl.portSettings = {0, 0};  // COM1, 115200
            window->show();
        }
    };

  private slots:
    void programDownloadWithARefusedPacketAndARetry() {
        QVERIFY(dir_.isValid());
        QProcess peer;
        const QString imageOut = dir_.filePath(QStringLiteral("image.bin"));
        QVERIFY(StartPeer(peer,
                          {"--expect", "program", "--image-out", imageOut, "--fault", "refuse-packet=7:4"}));

        Desktop d;
        d.messages.answers = {MessageAnswer::Ok, MessageAnswer::Yes};  // "下載失敗!!", then try again
        Watcher watch(d.window->transferUi());
        d.window->OnCommand(3020);
        QVERIFY(test::WaitForTransfer(*d.window));

        QCOMPARE(d.messages.texts(),
                 (std::vector<std::string>{"下載失敗!!", "下載失敗,再試一次嗎??", "下載完畢!!"}));
        QCOMPARE(d.messages.shown[1].buttons, MessageButtons::YesNo);
        QCOMPARE(d.messages.shown[1].icon, MessageIcon::Question);
        QCOMPARE(d.messages.shown[2].title, std::string("Download"));
        QCOMPARE(watch.progressSeen, 2);  // one window for each attempt
        QVERIFY(!d.window->transferUi().progress());
        QVERIFY(!d.window->document().templateModified);

        QVERIFY(PeerVerified(peer));
        const DownloadImage& sent = d.window->link().imageBuilder().image();
        QCOMPARE(ReadAll(imageOut), std::string(sent.begin(), sent.end()));
    }

    void receiveShowsTheCountAndKeepsTheFile() {
        QVERIFY(dir_.isValid());
        const QString records = dir_.filePath(QStringLiteral("records.txt"));
        {
            std::ofstream out(records.toStdString(), std::ios::binary);
            out << "A001,3\nB002,15\nC003,1\n";
        }
        QProcess peer;
        QVERIFY(StartPeer(peer, {"--records", records}));

        Desktop d;
        const QString data = dir_.filePath(QStringLiteral("collected.TXT"));
        d.files.dataFile = data.toStdString();
        d.messages.answers = {MessageAnswer::Yes};  // view the data now
        Watcher watch(d.window->transferUi());
        d.window->OnCommand(3030);
        QVERIFY(test::WaitForTransfer(*d.window));

        QCOMPARE(d.messages.texts(),
                 std::vector<std::string>{"完成 : 共接收 3 筆資料. \n立即瀏覽接收到的資料嗎??"});
        QCOMPARE(d.messages.shown[0].title, std::string("接收資料"));
        // Beneath the count: where the records went.
        QVERIFY(d.messages.shown[0].detail.find(data.toStdString()) != std::string::npos);
        QCOMPARE(ReadAll(data), std::string("A001,3\r\nB002,15\r\nC003,1\r\n"));
        QCOMPARE(d.files.viewed, std::vector<std::string>{data.toStdString()});
        QCOMPARE(watch.statusSeen, 1);
        QVERIFY(watch.maxCount >= 1);
        QVERIFY(!d.window->transferUi().statusBox());
        QVERIFY(PeerVerified(peer));
    }

    void receiveAnsweredYesOpensTheDataViewerOnTheTemplateSeparators() {
        QVERIFY(dir_.isValid());
        // CP950: 蘋果 C4 AB AA 47, 香蕉 AD BB BF BC; 四 A5 7C ends with the separator's byte '|'.
        const QString records = dir_.filePath(QStringLiteral("chinese.txt"));
        {
            std::ofstream out(records.toStdString(), std::ios::binary);
            out << "A001|\xC4\xAB\xAA\x47|3\nB002|\xAD\xBB\xBF\xBC|\xA5\x7C\n";
        }
        QProcess peer;
        QVERIFY(StartPeer(peer, {"--records", records}));

        // The desktop's own file dialog and viewer, the messages answered here.
        ScriptedMessages messages;
        ScriptedFileDialogs dialogs;
        DesktopServices services;
        services.messages = &messages;
        services.templateDialogs = &dialogs;
        MainWindow window(services);
        window.document().tmpl.portSettings = {0, 0};
        window.document().tmpl.fieldSeparators = {'|', 0};
        window.show();
        const QString data = dir_.filePath(QStringLiteral("fruit.TXT"));
        OnNextModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            dialog->selectFile(data);
            static_cast<QDialog*>(dialog)->accept();
        });
        messages.answers = {MessageAnswer::Yes};
        window.OnCommand(3030);
        QVERIFY(test::WaitForTransfer(window));

        QCOMPARE(messages.texts(),
                 std::vector<std::string>{"完成 : 共接收 2 筆資料. \n立即瀏覽接收到的資料嗎??"});
        // The file holds the terminal's bytes exactly.
        QCOMPARE(ReadAll(data), std::string("A001|\xC4\xAB\xAA\x47|3\r\nB002|\xAD\xBB\xBF\xBC|\xA5\x7C\r\n"));
        auto* viewer = window.findChild<DataViewer*>();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("fruit.TXT"));
        const RecordTableModel& m = *viewer->model();
        QCOMPARE(m.rowCount(), 2);
        QCOMPARE(m.columnCount(), 3);
        const QStringList expected[] = {{"A001", "蘋果", "3"}, {"B002", "香蕉", "四"}};
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c) QCOMPARE(m.Text(r, c), expected[r][c]);
        QVERIFY(PeerVerified(peer));
    }
};

QTEST_MAIN(DesktopTransferTest)
#include "desktop_transfer_test.moc"
