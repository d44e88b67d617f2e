// The Terminals window on in-memory lines, each terminal emulated on a virtual clock of its own: one
// silent terminal holds up no other, its row says why, Retry tries it again, a receive fills the folder
// by k52cli's rule, and the collection station takes an upload into its ledger.
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

#include "app/DeskTransfer.h"
#include "app/TransferWording.h"
#include "peer/TerminalPeer.h"
#include "ports/PortAssignments.h"
#include "shell/DeskSettings.h"
#include "shell/MainWindow.h"
#include "shell/QtDialogs.h"
#include "shell/Shell.h"
#include "shell/TerminalsExport.h"
#include "shell/TerminalsModel.h"
#include "shell/TerminalsWindow.h"
#include "shell/Translations.h"
#include "station/Ledger.h"
#include "station/StationLock.h"
#include "station/StationStatus.h"
#include "support/MemoryLine.h"
#include "support/UiTestSupport.h"
#include "template/Defaults.h"

using namespace k52;
using k52::test::ScriptedMessages;

namespace {

struct Adapters : PortScanner {
    std::vector<DiscoveredPort> Scan() override {
        std::vector<DiscoveredPort> ports;
        for (int i = 0; i < 3; ++i) {
            DiscoveredPort p;
            p.device = "/dev/ttyUSB" + std::to_string(i);
            p.description = "Cradle " + std::to_string(i);
            p.transport = PortTransport::Usb;
            ports.push_back(p);
        }
        return ports;
    }
};

struct Files : TransferChoices {
    std::vector<std::string> viewed;
    std::optional<std::string> ChooseLookupFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseDataFile() override { return std::nullopt; }
    void OpenForViewing(const std::string& path) override { viewed.push_back(path); }
};

// A clock that holds its reader until the gate opens: the job waits there until the test has acted.
class GateClock : public VirtualClock {
  public:
    std::atomic<bool> open{true};
    std::int64_t NowMs() override {
        while (!open.load()) std::this_thread::yield();
        return VirtualClock::NowMs();
    }
};

// A terminal behind each device, on a clock of its own; the test swaps them between runs.
struct Terminal {
    explicit Terminal(PeerOptions options) : peer(std::move(options)) {}
    GateClock clock;
    TerminalPeer peer;
};

struct ClockRef : Clock {
    explicit ClockRef(Clock& c) : clock(c) {}
    std::int64_t NowMs() override { return clock.NowMs(); }
    void SleepUntil(std::int64_t until) override { clock.SleepUntil(until); }
    Clock& clock;
};

struct Rack {
    std::map<std::string, std::unique_ptr<Terminal>> terminals;
    void Put(int i, std::initializer_list<const char*> faults, std::vector<std::vector<u8>> records = {}) {
        PeerOptions o;
        for (const char* f : faults) o.faults.push_back(*ParsePeerFault(f, nullptr));
        o.records = std::move(records);
        terminals["/dev/ttyUSB" + std::to_string(i)] = std::make_unique<Terminal>(std::move(o));
    }
    Terminal& at(int i) { return *terminals.at("/dev/ttyUSB" + std::to_string(i)); }
    std::function<PortLine(const std::string&)> Lines() {
        return [this](const std::string& device) {
            Terminal& t = *terminals.at(device);
            PortLine line;
            line.lines = std::make_unique<MemoryLineFactory>(t.clock, &t.peer);
            line.clock = std::make_unique<ClockRef>(t.clock);
            return line;
        };
    }
};

std::vector<std::vector<u8>> Records(std::initializer_list<const char*> texts) {
    std::vector<std::vector<u8>> records;
    for (const char* t : texts) records.emplace_back(t, t + std::char_traits<char>::length(t));
    return records;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

QString Cell(TerminalsWindow& w, int row, int column) {
    return w.model()->index(row, column).data().toString();
}

}  // namespace

class TerminalsWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    // K52_GRAB_DIR=FOLDER keeps a picture of the window at each stage, for people to look at.
    static void Grab(QWidget* w, const char* name) {
        if (const QByteArray folder = qgetenv("K52_GRAB_DIR"); !folder.isEmpty())
            w->grab().save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
    }

    // Port locks in the test's folder: a test never meets a station of the host's.
    std::string Locks() {
        const QString locks = dir_.filePath(QStringLiteral("locks"));
        QDir().mkpath(locks);
        return locks.toStdString();
    }

  private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path()));
        InstallTranslations(LanguageFromEnvironment());
    }

    void downloadToThreeThenReceiveFromTwo() {
        Rack rack;
        rack.Put(0, {});
        rack.Put(1, {});
        rack.Put(2, {"silent"});
        ScriptedMessages messages;
        Files files;
        Adapters scanner;
        TerminalsServices services;
        services.messages = &messages;
        services.files = &files;
        services.scanner = &scanner;
        services.lines = rack.Lines();
        services.lockDirs = {Locks()};
        ApplicationTemplate tmpl = StartupTemplate();
        NewTemplateReset(tmpl);
        TerminalsWindow w(tmpl, services, nullptr);
        w.show();
        QCOMPARE(w.model()->rowCount(), 3);
        QCOMPARE(Cell(w, 1, TerminalsModel::kName), QStringLiteral("Cradle 1"));
        QVERIFY(w.emptyHint()->isHidden());
        QVERIFY(!w.cancelButton()->isEnabled() && !w.cancelAllButton()->isEnabled());

        QSignalSpy ended(&w, &TerminalsWindow::allEnded);
        QApplication::setActiveWindow(&w);
        w.table()->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
        for (std::size_t i = 0; i < 3; ++i) QVERIFY(w.model()->checked(i));
        w.downloadButton()->click();
        QVERIFY(w.running());
        QVERIFY(ended.wait(20000));

        for (int i = 0; i < 2; ++i) {
            QVERIFY(rack.at(i).peer.report().imageComplete);
            QCOMPARE(rack.at(i).peer.report().image.size(), std::size_t{10500});
        }
        QCOMPARE(rack.at(0).peer.report().image, rack.at(1).peer.report().image);
        const auto& rows = w.rack().rows();
        QCOMPARE(rows[0].state, RowState::Done);
        QCOMPARE(rows[1].state, RowState::Done);
        QCOMPARE(rows[2].state, RowState::Failed);
        QCOMPARE(FailureCode(rows[2].last->outcome), std::string("no-reply"));
        QCOMPARE(Cell(w, 2, TerminalsModel::kResult).toStdString(), RowResultText(*rows[2].last));
        QCOMPARE(rack.at(2).clock.VirtualClock::NowMs(), std::int64_t{9000});  // its own time only
        QVERIFY(messages.shown.empty());
        Grab(&w, "downloaded");

        // Retry runs the silent row alone again; cancelled before it reads the time, it ends cancelled.
        QVERIFY(w.retryButton()->isEnabled());
        rack.at(2).clock.open = false;
        w.retryButton()->click();
        QCOMPARE(rows[2].state, RowState::Running);
        QVERIFY(w.cancelButton()->isEnabled() && w.cancelAllButton()->isEnabled());
        QCOMPARE(rows[0].state, RowState::Done);
        w.CancelAll();
        rack.at(2).clock.open = true;
        QVERIFY(ended.wait(20000));
        QCOMPARE(rows[2].state, RowState::Cancelled);

        // Receive from the first two, now with records to give; one file stands already.
        rack.Put(0, {}, Records({"A001,3", "B002,15"}));
        rack.Put(1, {}, Records({"A001,3", "B002,15"}));
        const QString folder = dir_.filePath(QStringLiteral("shift"));
        QVERIFY(QDir().mkpath(folder));
        const std::string taken = folder.toStdString() + "/ttyUSB0.TXT";
        std::ofstream(taken) << "old\r\n";
        w.SetChecked(2, false);
        messages.answers = {MessageAnswer::Yes};
        k52::test::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            dialog->selectFile(folder);
            static_cast<QDialog*>(dialog)->accept();
        });
        w.receiveButton()->click();
        QVERIFY(ended.wait(20000));

        QCOMPARE(messages.shown.size(), std::size_t{1});
        QVERIFY(messages.shown[0].text.find(taken) != std::string::npos);
        for (std::size_t i = 0; i < 2; ++i) {
            QCOMPARE(rows[i].state, RowState::Done);
            QCOMPARE(ReadAll(rows[i].file), std::string("A001,3\r\nB002,15\r\n"));
        }
        QCOMPARE(rows[0].file, taken);
        QCOMPARE(rows[2].state, RowState::Cancelled);
        QVERIFY(Cell(w, 1, TerminalsModel::kResult).contains(QString::fromStdString(rows[1].file)));
        emit w.table()->doubleClicked(w.model()->index(1, TerminalsModel::kResult));
        QCOMPARE(files.viewed, std::vector<std::string>{rows[1].file});
        Grab(&w, "received");
    }

    // The station takes the checked terminal's upload into its dated file and the ledger, and stopping
    // it, or closing the window, ends every row.
    void collectsAutomaticallyUntilStopped() {
        Rack rack;
        for (int i = 0; i < 3; ++i) rack.Put(i, {}, i == 0 ? Records({"C1,1", "C2,2"}) : Records({}));
        const QString folder = dir_.filePath(QStringLiteral("collected"));
        ScriptedMessages messages;
        Files files;
        Adapters scanner;
        TerminalsServices services;
        services.messages = &messages;
        services.files = &files;
        services.scanner = &scanner;
        services.lines = rack.Lines();
        services.lockDirs = {Locks()};
        services.chooseFolder = [&](const std::string&) { return std::optional(folder.toStdString()); };
        ApplicationTemplate tmpl = StartupTemplate();
        TerminalsWindow w(tmpl, services, nullptr);
        w.show();
        const auto& rows = w.rack().rows();
        w.SetChecked(0, true);
        QSignalSpy ended(&w, &TerminalsWindow::collectingEnded);
        w.collectButton()->click();
        QVERIFY(w.collecting());
        QCOMPARE(w.rack().Summary().collecting, 1);
        QVERIFY(w.summaryLabel()->text().contains(QLatin1Char('1')));
        QTRY_VERIFY_WITH_TIMEOUT(rows[0].lastUpload.has_value(), 20000);
        Grab(&w, "collecting");

        const QDir terminal(folder + QStringLiteral("/ttyUSB0"));
        // The emulated terminal gives its records at every request, so there may be several uploads by now.
        const QStringList stored = terminal.entryList({QStringLiteral("*.TXT")}, QDir::Files, QDir::Name);
        QVERIFY(!stored.isEmpty());
        QCOMPARE(ReadAll(terminal.filePath(stored[0]).toStdString()), std::string("C1,1\r\nC2,2\r\n"));
        std::string reason;
        std::optional<Ledger> ledger = Ledger::OpenExisting(folder.toStdString(), &reason);
        QVERIFY2(ledger, reason.c_str());
        const auto uploads = ledger->List("", "", &reason);
        QVERIFY(uploads && !uploads->empty());
        QCOMPARE(uploads->front().outcome, std::string("complete"));
        QCOMPARE(uploads->front().records, 2);
        QVERIFY(Cell(w, 0, TerminalsModel::kResult).contains(QStringLiteral("2")));

        w.collectButton()->click();
        QVERIFY(ended.wait(20000));
        QVERIFY(!w.collecting() && !w.collectButton()->isChecked() && w.collectButton()->isEnabled());
        QVERIFY(!rows[0].collecting);
        QCOMPARE(w.rack().Summary().collecting, 0);

        // "Export shift..." writes the file k52cli's export writes: a header, then each record with its
        // upload; a window of time before the uploads gives the header alone.
        const QString shift = dir_.filePath(QStringLiteral("shift.csv"));
        QSignalSpy exported(&w, &TerminalsWindow::exportEnded);
        k52::test::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<ShiftExportDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->folderEdit()->text(), folder);  // the folder collected into
            QVERIFY(!dialog->buttons()->button(QDialogButtonBox::Ok)->isEnabled());
            dialog->outEdit()->setText(shift);
            QVERIFY(dialog->bomSwitch()->isChecked() && dialog->bomSwitch()->isEnabled());
            dialog->sinceEdit()->setDateTime(QDateTime::currentDateTime().addDays(-1));
            dialog->untilEdit()->setDateTime(QDateTime::currentDateTime().addDays(1));
            Grab(dialog, "export");
            dialog->buttons()->button(QDialogButtonBox::Ok)->click();
        });
        w.exportButton()->click();
        QVERIFY(exported.wait(20000));
        const std::string csv = ReadAll(shift.toStdString());
        const std::string head =
            "\xEF\xBB\xBFterminal,name,device,upload,started,ended,line,field1,field2\r\n";
        QCOMPARE(csv.substr(0, head.size()), head);
        const std::string first = csv.substr(head.size(), csv.find("\r\n", head.size()) + 2 - head.size());
        QVERIFY2(first.rfind("ttyUSB0,,/dev/ttyUSB0," + uploads->front().key + ",", 0) == 0, first.c_str());
        QVERIFY2(first.ends_with(",1,C1,1\r\n"), first.c_str());
        QCOMPARE(messages.shown.size(), std::size_t{1});
        QVERIFY(messages.shown[0].text.find(shift.toStdString()) != std::string::npos);
        ShiftExportRequest before;
        before.folder = folder.toStdString();
        before.out = dir_.filePath(QStringLiteral("none.csv")).toStdString();
        before.filter.untilUtc = "2001-01-01T00:00:00Z";
        before.bom = false;
        w.ExportShift(before);
        QVERIFY(exported.wait(20000));
        QCOMPARE(ReadAll(before.out),
                 std::string("terminal,name,device,upload,started,ended,line,field1\r\n"));
        messages.shown.clear();

        // A desk with nothing plugged in says what makes a row.
        struct None : PortScanner {
            std::vector<DiscoveredPort> Scan() override { return {}; }
        } none;
        TerminalsServices bare = services;
        bare.scanner = &none;
        TerminalsWindow empty(tmpl, bare, nullptr);
        empty.show();
        QCOMPARE(empty.model()->rowCount(), 0);
        QVERIFY(empty.emptyHint()->isVisible());

        // Closing the window stops the station first, then closes.
        w.collectButton()->click();
        QVERIFY(w.collecting());
        w.close();
        QVERIFY(ended.wait(20000));
        QTRY_VERIFY(!w.isVisible());
    }

    // The folder offered is there to be chosen, one typed by name is made as k52cli makes it, and each
    // kind of file starts in the folder last used for it, not where another dialog left off.
    void theFoldersOfferedAndTypedAreMade() {
        const QString home = dir_.filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(home));
        qputenv("HOME", QFile::encodeName(home));
        DeskSettings().remove(QStringLiteral("terminals"));
        Rack rack;
        for (int i = 0; i < 3; ++i) rack.Put(i, {}, Records({"R1"}));
        ScriptedMessages messages;
        Files files;
        Adapters scanner;
        TerminalsServices services;
        services.messages = &messages;
        services.files = &files;
        services.scanner = &scanner;
        services.lines = rack.Lines();
        services.lockDirs = {Locks()};
        ApplicationTemplate tmpl = StartupTemplate();
        TerminalsWindow w(tmpl, services, nullptr);
        w.show();
        w.SetChecked(0, true);
        QString offered;
        auto look = [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            offered = dialog->directory().absolutePath();
            dialog->reject();
        };
        k52::test::OnNextModal(look);
        w.collectButton()->click();
        QCOMPARE(offered, home + QStringLiteral("/K52/collected"));
        QVERIFY(QFileInfo(offered).isDir() && !w.collecting());

        const QString typed = home + QStringLiteral("/shift/early");
        k52::test::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            // Typed, as a person would: the name field takes the whole path.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(typed);
            static_cast<QDialog*>(dialog)->accept();
        });
        QSignalSpy ended(&w, &TerminalsWindow::allEnded);
        w.receiveButton()->click();
        QVERIFY(ended.wait(20000));
        QCOMPARE(QString::fromStdString(w.rack().rows()[0].file), typed + QStringLiteral("/ttyUSB0.TXT"));
        QCOMPARE(ReadAll(w.rack().rows()[0].file), std::string("R1\r\n"));

        const QString plans = home + QStringLiteral("/plans");
        QVERIFY(QDir().mkpath(plans));
        k52::test::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            dialog->selectFile(plans + QStringLiteral("/a.ATC"));
            static_cast<QDialog*>(dialog)->accept();
        });
        QVERIFY(ChooseFile(&w, true, {{"T", "*.ATC"}}, "ATC", {}, kTemplateFolderKey));
        k52::test::OnNextModal(look);
        ChooseFile(&w, false, {{"L", "*.TXT"}}, "TXT", {}, kLookupFolderKey);
        QCOMPARE(offered, home);
        k52::test::OnNextModal(look);
        ChooseFile(&w, false, {{"T", "*.ATC"}}, "ATC", {}, kTemplateFolderKey);
        QCOMPARE(offered, plans);
    }

    // Closing k52gen while the Terminals window collects ends the program, with status 0, once every
    // row has stopped; the event loop returning at all is the point.
    void closingTheProgramWhileCollectingEndsIt() {
        Rack rack;
        for (int i = 0; i < 3; ++i) rack.Put(i, {}, Records({"C1,1"}));
        ScriptedMessages messages;
        k52::test::ScriptedFileDialogs dialogs;
        Files files;
        Adapters scanner;
        DesktopServices services;
        services.messages = &messages;
        services.templateDialogs = &dialogs;
        services.transferFiles = &files;
        services.scanner = &scanner;
        services.terminals.lines = rack.Lines();
        services.terminals.lockDirs = {Locks()};
        const std::string folder = dir_.filePath(QStringLiteral("quit")).toStdString();
        services.terminals.chooseFolder = [&](const std::string&) { return std::optional(folder); };
        MainWindow main(services);
        main.show();
        main.OnCommand(kCmdTerminals);
        TerminalsWindow* w = main.terminalsWindow();
        QVERIFY(w && w->isVisible());
        w->SetChecked(0, true);
        w->SetChecked(1, true);
        w->collectButton()->click();
        QVERIFY(w->collecting());

        QTimer::singleShot(0, &main, [&] { main.close(); });
        QTimer hung;  // only a failure's bound: the loop that never returns
        hung.setSingleShot(true);
        connect(&hung, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        hung.start(30000);
        QCOMPARE(QApplication::exec(), 0);
        hung.stop();
        QVERIFY(!w->collecting() && !w->running());
        QVERIFY(!w->isVisible() && !main.isVisible());
        QVERIFY(messages.shown.empty());
    }

    // A service's ports, known by its port lock (or by the folder it holds) and its status file, are
    // shown as served by it, refreshed, and left alone; once it stops they are this desk's again.
    void showsTheServicesPortsAsServed() {
        struct Sink : CollectObserver {
            void OnEvent(const CollectEvent&) override {}
        } sink;
        auto service = [&](const char* name, const char* device, int records) {
            const std::string folder = dir_.filePath(QString::fromLatin1(name)).toStdString();
            QDir().mkpath(QString::fromStdString(folder));
            auto status = std::make_unique<StationStatus>(
                StationInfo{"k52cli 1.0", "desk9", folder, "id", 4711, 1765000000},
                StationStatus::Files{folder + "/status.json", ""}, sink,
                [] { return std::time_t{1765000000}; });
            CollectPort port;
            port.device = device;
            status->AddPort(port);
            CollectEvent e;
            e.kind = CollectEventKind::Finished;
            e.device = device;
            e.terminal = "ttyUSB1";
            e.time = "2026-12-08T10:32:05+00:00";
            e.records = records;
            status->OnEvent(e);
            return std::pair(folder, std::move(status));
        };
        auto [folder, status] = service("service", "/dev/ttyUSB1", 12);
        StationHolder held;
        std::string reason;
        std::optional<StationLock> portLock =
            StationLock::Take(PortLockPath(Locks(), "/dev/ttyUSB1"),
                              {4711, folder, folder + "/status.json", "desk9"}, &held, &reason);
        QVERIFY2(portLock, reason.c_str());

        Rack rack;
        for (int i = 0; i < 3; ++i) rack.Put(i, {});
        ScriptedMessages messages;
        Files files;
        Adapters scanner;
        TerminalsServices services;
        services.messages = &messages;
        services.files = &files;
        services.scanner = &scanner;
        services.lines = rack.Lines();
        services.lockDirs = {Locks()};
        ApplicationTemplate tmpl = StartupTemplate();
        TerminalsWindow w(tmpl, services, nullptr);
        w.show();
        const auto& rows = w.rack().rows();
        QVERIFY(rows[1].served && rows[1].served->status);
        QCOMPARE(rows[1].served->holder.pid, 4711ul);
        QCOMPARE(rows[1].served->status->lastUploadRecords, 12);
        QVERIFY(!rows[0].served && !rows[2].served);
        QCOMPARE(Cell(w, 1, TerminalsModel::kState).toStdString(), RowStateText(rows[1]));
        QVERIFY(Cell(w, 1, TerminalsModel::kResult).contains(QStringLiteral("12")));
        QVERIFY(Cell(w, 1, TerminalsModel::kResult).contains(QStringLiteral("pid 4711")));
        QCOMPARE(w.rack().Summary().served, 1);
        Grab(&w, "served");

        // Every row checked: the served one is left out.
        QSignalSpy ended(&w, &TerminalsWindow::allEnded);
        w.CheckAll();
        w.downloadButton()->click();
        QVERIFY(ended.wait(20000));
        QCOMPARE(rows[0].state, RowState::Done);
        QCOMPARE(rows[1].state, RowState::Idle);
        QVERIFY(!rack.at(1).peer.report().imageComplete);

        // What the service does next shows at the next look.
        CollectEvent started;
        started.kind = CollectEventKind::Started;
        started.device = "/dev/ttyUSB1";
        status->OnEvent(started);
        TransferProgress p;
        p.done = 5;
        status->OnProgress("/dev/ttyUSB1", p);
        QVERIFY(status->Write());
        w.Rescan();
        QTRY_COMPARE_WITH_TIMEOUT(rows[1].served->status->state, std::string("receiving"), 10000);
        QVERIFY(Cell(w, 1, TerminalsModel::kState).contains(QStringLiteral("5")));

        // A service known only by the folder it holds, named in the settings.
        auto [other, otherStatus] = service("other", "/dev/ttyUSB2", 3);
        std::optional<StationLock> folderLock =
            StationLock::Take(FolderLockPath(other), {4712, other, "", "desk9"}, &held, &reason);
        QVERIFY2(folderLock, reason.c_str());
        DeskSettings().setValue(QStringLiteral("terminals/serviceFolder"), QString::fromStdString(other));
        w.Rescan();
        QTRY_VERIFY_WITH_TIMEOUT(rows[2].served.has_value(), 10000);
        QCOMPARE(rows[2].served->holder.pid, 4712ul);

        // This desk's station will not collect into a folder another station holds.
        w.SetChecked(1, false);
        w.SetChecked(2, false);
        services.chooseFolder = [&](const std::string&) { return std::optional(other); };
        TerminalsWindow second(tmpl, services, nullptr);
        second.SetChecked(0, true);
        second.collectButton()->click();
        QVERIFY(!second.collecting() && !second.collectButton()->isChecked());
        QCOMPARE(messages.shown.size(), std::size_t{1});
        QVERIFY(messages.shown[0].text.find("pid 4712") != std::string::npos);

        // The service stopped: its ports are the desk's again.
        portLock.reset();
        folderLock.reset();
        DeskSettings().remove(QStringLiteral("terminals/serviceFolder"));
        w.Rescan();
        QTRY_VERIFY_WITH_TIMEOUT(!rows[1].served && !rows[2].served, 10000);
        QVERIFY(Cell(w, 1, TerminalsModel::kResult).isEmpty());
        QVERIFY(w.rack().Start(1, JobKind::Program, "", false, 0).has_value());
        w.rack().Cancel(1);
    }

    // An adapter found plugged in is given to a COM port in the user's ports.conf, as the ports dialog
    // does, and its row becomes that port's: one row for one device.
    void anAdapterIsAssignedToAComPort() {
        Rack rack;
        for (int i = 0; i < 3; ++i) rack.Put(i, {});
        ScriptedMessages messages;
        Files files;
        Adapters scanner;
        TerminalsServices services;
        services.messages = &messages;
        services.files = &files;
        services.scanner = &scanner;
        services.lines = rack.Lines();
        services.lockDirs = {Locks()};
        ApplicationTemplate tmpl = StartupTemplate();
        TerminalsWindow w(tmpl, services, nullptr);
        const auto& rows = w.rack().rows();
        QVERIFY(!rows[1].comPort);
        QVERIFY(w.AssignRow(1, 2));
        QVERIFY(ReadAll(DefaultPortsConfPath()).find("COM3=/dev/ttyUSB1") != std::string::npos);
        QTRY_VERIFY_WITH_TIMEOUT(rows[1].comPort == 2, 10000);
        QCOMPARE(Cell(w, 1, TerminalsModel::kName), QStringLiteral("COM3"));
        QCOMPARE(w.model()->rowCount(), 3);
        QVERIFY(rows[1].present && messages.shown.empty());
        QFile::remove(QString::fromStdString(DefaultPortsConfPath()));
    }
};

QTEST_MAIN(TerminalsWindowTest)
#include "terminals_window_test.moc"
