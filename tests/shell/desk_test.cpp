// The desk around the terminal: zoom (size, hit areas, display cells, the menu, persistence), the editor
// placed beside the terminal, the waiting window of a transfer to a silent terminal, and the title.
// Key geometry: key 16 (down) is hit at logical x 126..147, y 348..360; the power key's origin is 126,370.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "editor/ui/EditorSheetDialog.h"
#include "editor/ui/SheetPlacement.h"
#include "i18n/Translate.h"
#include "shell/DeskSettings.h"
#include "shell/HelpWindow.h"
#include "shell/MainWindow.h"
#include "shell/TransferWindows.h"
#include "simulator/ui/SimulatorWidget.h"
#include "support/MemoryLine.h"
#include "support/UiTestSupport.h"
#include "template/TemplateFile.h"

using namespace k52;
using k52::test::CountPixels;
using k52::test::ScriptedFileDialogs;
using k52::test::ScriptedMessages;

namespace {

constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kCyan = qRgb(0, 255, 255);

// Notes each time the waiting window comes up, with its text and the busy cursor.
class WaitingWatcher : public QObject {
  public:
    WaitingWatcher() { qApp->installEventFilter(this); }
    ~WaitingWatcher() override { qApp->removeEventFilter(this); }
    int appearances = 0;
    QString text;
    bool busyCursor = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* w = qobject_cast<WaitingWindow*>(watched)) {
                ++appearances;
                text = w->label()->text();
                const QCursor* cursor = QGuiApplication::overrideCursor();
                busyCursor = cursor && cursor->shape() == Qt::WaitCursor;
            }
        return false;
    }
};

class NoEditor : public EditorHost {
    void TemplateApplied() override {}
};

}  // namespace

class DeskTest : public QObject {
    Q_OBJECT

    QTemporaryDir config_;

    struct Fixture {
        ScriptedMessages messages;
        ScriptedFileDialogs dialogs;
        FixedLocalClock clock{LocalTime{2024, 3, 6, 9, 5, 0}};
        VirtualClock linkClock;
        WaitingWatcher waiting;
        MemoryLineFactory lines{linkClock, nullptr};  // a terminal that never answers
        std::unique_ptr<MainWindow> window;
        std::function<void(TemplateDocument&)> edit = [](TemplateDocument&) {};

        Fixture() {
            DesktopServices services;
            services.messages = &messages;
            services.templateDialogs = &dialogs;
            services.clock = &clock;
            services.lines = &lines;
            services.linkClock = &linkClock;
            window = std::make_unique<MainWindow>(services);
            window->setEditorSheet([this](QWidget*, TemplateDocument& doc, EditorHost&) {
                edit(doc);
                return 1;
            });
            window->show();
        }
        SimulatorWidget* sim() { return window->simulatorWidget(); }
        // The key a left press at widget point `p` lands on (0: none, a drag starts).
        int KeyAt(QPoint p) {
            QTest::mousePress(sim(), Qt::LeftButton, {}, p);
            const int key = sim()->keypad().keyDown() ? sim()->keypad().pressedKey() : 0;
            QTest::mouseRelease(sim(), Qt::LeftButton, {}, p);
            return key;
        }
    };

    QString SettingsFile() const { return config_.path() + QStringLiteral("/k52/k52gen.conf"); }

  private slots:
    void initTestCase() {
        // Before any QSettings: the user's own settings are never touched.
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
        qputenv("K52_COM1", "/dev/k52-test-line");
    }

    void zoomScalesTheWindowKeysAndDisplayCells() {
        Fixture f;
        struct Case {
            int command, zoom;
            QSize size;
            QPoint keyCorners[2];  // the first and last widget pixels of key 16's hit area
            QPoint offKey[3];      // just outside them
            QRect barBand;         // display row 0 under the highlight bar
        };
        const Case cases[] = {
            {2215,
             150,
             {270, 600},
             {{189, 522}, {221, 541}},
             {{188, 530}, {222, 530}, {200, 521}},
             {39, 80, 180, 15}},
            {2220,
             200,
             {360, 800},
             {{252, 696}, {295, 721}},
             {{251, 705}, {296, 705}, {270, 695}},
             {52, 106, 240, 20}},
        };
        for (const Case& c : cases) {
            f.window->OnCommand(c.command);
            QCOMPARE(f.window->Zoom(), c.zoom);
            QCOMPARE(f.window->size(), c.size);
            QCOMPARE(f.sim()->size(), c.size);
            for (QPoint p : c.keyCorners) QCOMPARE(f.KeyAt(p), 16);
            for (QPoint p : c.offKey) QCOMPARE(f.KeyAt(p), 0);
            f.sim()->simulator().DispatchKey(kRestartCode);  // back at the main menu, row 0 highlighted
            QImage shot = f.sim()->grab().toImage();
            const int cell = c.barBand.width() * c.barBand.height();
            QVERIFY2(CountPixels(shot, c.barBand, kBlue) > cell / 2, qPrintable(QString::number(c.zoom)));
            // The row above the bar stays clear of it.
            QCOMPARE(CountPixels(shot, c.barBand.translated(0, -c.barBand.height()), kBlue), 0);
        }
    }

    void displayTextIsRenderedSharpAtTheScaledSize() {
        Fixture f;
        f.window->OnCommand(2220);
        QImage shot = f.sim()->grab().toImage();
        // "2. 上 傳 檔 案", black on cyan, below the last line of row 0's bar.
        const QRect row1(52, 126, 240, 18);
        const int black = CountPixels(shot, row1, kBlack);
        QVERIFY(black > 80);
        // Unsmoothed: nothing but the two colours.
        QCOMPARE(black + CountPixels(shot, row1, kCyan), row1.width() * row1.height());
        // Drawn at 20 pixels, not a 10-pixel row doubled: some stroke edge falls between pixel pairs.
        bool oddEdge = false;
        for (int y = row1.top(); y <= row1.bottom() && !oddEdge; ++y)
            for (int x = row1.left() + 1; x < row1.right(); x += 2)
                if (shot.pixel(x, y) != shot.pixel(x + 1, y)) oddEdge = true;
        QVERIFY(oddEdge);
    }

    void theCommandMenuOpensAtThePowerKeyAndShowsTheZoom() {
        Fixture f;
        f.window->OnCommand(2220);
        QMenu* menu = f.window->commandMenu();
        QMenu* zoomMenu = nullptr;
        for (QAction* a : menu->actions())
            if (a->menu() && a->text() == QStringLiteral("縮放")) zoomMenu = a->menu();
        QVERIFY(zoomMenu);
        QStringList checked;
        for (QAction* a : zoomMenu->actions())
            if (a->isChecked()) checked << a->text();
        QCOMPARE(checked, QStringList{QStringLiteral("200%")});

        bool opened = false;
        QMetaObject::invokeMethod(
            qApp,
            [&] {
                opened = menu->isVisible();
                menu->close();
            },
            Qt::QueuedConnection);
        QTest::mousePress(f.sim(), Qt::LeftButton, {}, QPoint(260, 750));  // power key at 200%
        QTest::mouseRelease(f.sim(), Qt::LeftButton, {}, QPoint(260, 750));
        QVERIFY(opened);
        QCOMPARE(f.sim()->lastMenuPoint(), f.sim()->mapToGlobal(QPoint(252, 740)));
    }

    void theZoomKeysStepThroughTheZoom() {
        Fixture f;
        MainWindow& w = *f.window;
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const std::pair<QKeyCombination, int> keys[] = {
            {Qt::ControlModifier | Qt::Key_Plus, 150},  {Qt::ControlModifier | Qt::Key_Equal, 200},
            {Qt::ControlModifier | Qt::Key_Plus, 300},  {Qt::ControlModifier | Qt::Key_Plus, 300},
            {Qt::ControlModifier | Qt::Key_Minus, 200}, {Qt::ControlModifier | Qt::Key_0, 100},
            {Qt::ControlModifier | Qt::Key_Minus, 100},
        };
        for (const auto& [key, zoom] : keys) {
            QTest::keyClick(&w, key.key(), key.keyboardModifiers());
            QCOMPARE(w.Zoom(), zoom);
        }
    }

    void theZoomIsRememberedAndRestored() {
        QFile::remove(SettingsFile());
        QCOMPARE(RestoredZoom(), 100);  // the offscreen screen is small
        {
            Fixture f;
            f.window->OnCommand(2201);  // Ctrl++
            f.window->OnCommand(2201);
            QCOMPARE(f.window->Zoom(), 200);
        }
        QVERIFY(QFile::exists(SettingsFile()));
        QCOMPARE(RestoredZoom(), 200);
        Fixture again;
        QCOMPARE(again.window->Zoom(), 100);  // start-up applies it, not the window itself
        again.window->ApplyZoom(RestoredZoom());
        QCOMPARE(again.window->size(), QSize(360, 800));
        // A value written by hand snaps to the nearest step.
        QSettings(SettingsFile(), QSettings::IniFormat).setValue(QStringLiteral("view/zoom"), 170);
        QCOMPARE(RestoredZoom(), 150);
        again.window->OnCommand(2210);  // Ctrl+0
        QCOMPARE(RestoredZoom(), 100);
    }

    // Everything k52gen keeps is in the one documented file: the terminal's place, and what an earlier
    // run left in the toolkit's default place, moved there once without replacing what it holds.
    void everySettingLivesInTheOneFile() {
        const QString stray = config_.path() + QStringLiteral("/Unknown Organization/k52gen.conf");
        QSettings(stray, QSettings::IniFormat)
            .setValue(QStringLiteral("terminals/receiveFolder"), "/srv/shift");
        QSettings(stray, QSettings::IniFormat).setValue(QStringLiteral("view/zoom"), 300);
        QSettings(SettingsFile(), QSettings::IniFormat).setValue(QStringLiteral("view/zoom"), 150);
        MoveStraySettings();
        QVERIFY(!QFile::exists(stray));
        QCOMPARE(DeskSettings().fileName(), SettingsFile());
        QCOMPARE(DeskSettings().value(QStringLiteral("terminals/receiveFolder")).toString(),
                 QStringLiteral("/srv/shift"));
        QCOMPARE(RestoredZoom(), 150);

        DeskSettings().remove(QStringLiteral("view/position"));
        QVERIFY(!RestoredPosition());
        {
            Fixture f;
            f.window->move(420, 130);
            f.window->close();
        }
        QCOMPARE(RestoredPosition(), std::optional(QPoint(420, 130)));
        // A place where a screen used to be comes back onto the one there is.
        Fixture g;
        g.window->PlaceAt(QPoint(5000, -700));
        QVERIFY(g.window->screen()->availableGeometry().contains(g.window->geometry()));
    }

    // Help shows the guide and the template format; the hint on how to begin comes at the first start only.
    void helpAndTheFirstStartHint() {
        Fixture f;
        f.window->OnCommand(kCmdHelp);
        auto* help = qobject_cast<HelpWindow*>(f.window->helpWindow());
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->pages()->count(), 2);
        for (int i = 0; i < 2; ++i)
            QVERIFY(qobject_cast<QTextBrowser*>(help->pages()->widget(i))->toPlainText().contains("k52cli"));
        QWidget* hint = ShowFirstStartHint(f.window.get());
        QVERIFY(hint && hint->isVisible());
        QVERIFY(!ShowFirstStartHint(f.window.get()));
    }

    void placementKeepsTheSheetOffTheTerminal() {
        const QRect screen(0, 0, 1280, 800);
        struct Case {
            QRect terminal;
            QSize sheet;
            QRect screen;
            QRect expected;
        };
        const Case cases[] = {
            // Right of the terminal at its start-up place, then at 200%.
            {{300, 50, 180, 400}, {560, 520}, screen, {492, 50, 560, 520}},
            {{300, 0, 360, 800}, {560, 520}, screen, {672, 0, 560, 520}},
            // No room on the right: the left.
            {{900, 100, 180, 400}, {560, 520}, screen, {328, 100, 560, 520}},
            // Low on the screen: lifted to fit.
            {{300, 600, 180, 400}, {560, 520}, screen, {492, 280, 560, 520}},
            // Neither side has room: the wider side, kept on the screen.
            {{500, 50, 180, 400}, {700, 520}, screen, {580, 50, 700, 520}},
            // Larger than the screen: its top-left corner.
            {{300, 50, 180, 400}, {1400, 900}, screen, {0, 0, 1400, 900}},
            // A second screen to the right of the first.
            {{2000, 50, 180, 400}, {560, 520}, {1920, 0, 1280, 800}, {2192, 50, 560, 520}},
        };
        for (const Case& c : cases) QCOMPARE(PlaceBeside(c.terminal, c.sheet, c.screen), c.expected);
    }

    void theTerminalStepsAsideOnlyWhenTheSheetWouldCoverIt() {
        const QRect screen(0, 0, 1280, 800);
        struct Case {
            QRect terminal, sheet, screen, expected;
        };
        const Case cases[] = {
            // Already apart (exactly the gap between them): it stays.
            {{300, 50, 270, 600}, {582, 50, 560, 520}, screen, {300, 50, 270, 600}},
            // 150% on 1280 x 800: a 718-wide sheet kept on the screen covers it; it moves left of the sheet.
            {{300, 50, 270, 600}, {562, 50, 718, 520}, screen, {280, 50, 270, 600}},
            // The sheet kept at the screen's left edge: it moves to the sheet's right.
            {{100, 50, 270, 600}, {0, 50, 700, 520}, screen, {712, 50, 270, 600}},
            // No room anywhere: it stays.
            {{300, 50, 270, 600}, {100, 50, 1100, 520}, screen, {300, 50, 270, 600}},
        };
        for (const Case& c : cases) QCOMPARE(MakeRoomBeside(c.terminal, c.sheet, c.screen), c.expected);
    }

    void theRealSheetFitsBesideTheTerminalOnA1280By800Screen() {
        TemplateDocument doc;
        NoEditor host;
        EditorSheetDialog sheet(nullptr, doc, host);
        sheet.adjustSize();
        const QRect screen(0, 0, 1280, 800);
        // At its start-up place at 100%, 150% and 200%, and near the right edge.
        const QRect terminals[] = {
            {300, 50, 180, 400}, {300, 50, 270, 600}, {300, 0, 360, 800}, {1000, 200, 180, 400}};
        for (const QRect& terminal : terminals) {
            const QRect placed = PlaceBeside(terminal, sheet.size(), screen);
            const QRect moved = MakeRoomBeside(terminal, placed, screen);
            const QString what = QStringLiteral("sheet %1x%2, terminal %3 wide at %4")
                                     .arg(sheet.width())
                                     .arg(sheet.height())
                                     .arg(terminal.width())
                                     .arg(terminal.x());
            QVERIFY2(!placed.intersects(moved), qPrintable(what));
            QVERIFY2(screen.contains(placed) && screen.contains(moved), qPrintable(what));
        }
    }

    void aSilentTerminalShowsTheWaitingWindowAtOnce() {
        Fixture f;
        int seenBeforeTheFirstBox = -1;
        f.messages.onShow = [&](const test::Shown&) {
            if (seenBeforeTheFirstBox < 0) seenBeforeTheFirstBox = f.waiting.appearances;
        };
        f.window->OnCommand(3020);  // download the program over the cable
        QVERIFY(test::WaitForTransfer(*f.window));
        QCOMPARE(seenBeforeTheFirstBox, 1);
        QVERIFY(f.waiting.busyCursor);
        QCOMPARE(f.waiting.text, QStringLiteral("等待終端機回應… /dev/k52-test-line"));
        // The terminal's own messages are unchanged, and everything is gone at the end.
        QCOMPARE(f.messages.texts(), (std::vector<std::string>{"終端機尚未就緒!!", "下載失敗,再試一次嗎??"}));
        // Beneath both: the device (as the in-memory line names it) and what to check, in the chosen
        // language once shown.
        for (const test::Shown& box : f.messages.shown) {
            QCOMPARE(box.detail, f.messages.shown[0].detail);
            const std::string shown = LocalizeFinished(box.detail);
            QVERIFY2(shown != box.detail && shown.find("COM1 ") != std::string::npos, shown.c_str());
        }
        QVERIFY(!f.window->transferUi().waitingWindow());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void theWaitingWindowStepsAsideForMessagesAndTheStatusBox() {
        Fixture f;
        bool asideDuringMessages = true;
        f.messages.onShow = [&](const test::Shown&) {
            asideDuringMessages = asideDuringMessages && !f.window->transferUi().waitingWindow() &&
                                  !QGuiApplication::overrideCursor();
        };
        f.messages.answers = {MessageAnswer::Ok, MessageAnswer::Yes};  // one retry: the wait shows again
        f.window->OnCommand(3020);
        QVERIFY(test::WaitForTransfer(*f.window));
        QVERIFY(asideDuringMessages);
        QCOMPARE(f.messages.shown.size(), std::size_t{4});
        QCOMPARE(f.waiting.appearances, 2);

        QtTransferUi& ui = f.window->transferUi();
        ui.BeginTransfer(QStringLiteral("/dev/x"));
        ui.BeginReceiveStatus();
        ui.ShowWaiting();
        QVERIFY(ui.waitingWindow() && ui.waitingWindow()->isVisible());
        ui.UpdateReceiveStatus(1);
        QVERIFY(!ui.waitingWindow());
        ui.ShowWaiting();
        QVERIFY(!ui.waitingWindow());  // the status box now says what is going on
        ui.EndReceiveStatus();
        ui.EndTransfer();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void theTitleNamesTheFileAndMarksChanges() {
        QTemporaryDir dir;
        const std::string plan = (dir.path() + QStringLiteral("/plan.ATC")).toStdString();
        ApplicationTemplate saved{};
        QVERIFY(WriteTemplateFile(plan, saved));
        Fixture f;
        MainWindow& w = *f.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Application Generator"));

        f.dialogs.openAnswer = plan;
        w.OnCommand(1020);  // Open
        QCOMPARE(w.windowTitle(), QStringLiteral("plan.ATC[*] - Application Generator"));
        QVERIFY(!w.isWindowModified());

        f.edit = [](TemplateDocument& doc) { doc.templateModified = true; };
        w.OnCommand(2000);  // Edit, with a change
        QVERIFY(w.isWindowModified());

        w.OnCommand(1030);  // Save
        QVERIFY(!w.isWindowModified());
        QCOMPARE(w.windowTitle(), QStringLiteral("plan.ATC[*] - Application Generator"));

        f.dialogs.saveAnswer = (dir.path() + QStringLiteral("/stock")).toStdString();
        w.OnCommand(1040);  // Save As, the extension added
        QCOMPARE(w.windowTitle(), QStringLiteral("stock.ATC[*] - Application Generator"));

        f.edit = [](TemplateDocument&) {};
        f.messages.answers = {MessageAnswer::No};
        w.document().templateModified = true;
        w.OnCommand(1010);  // New: no path any more
        QCOMPARE(w.windowTitle(), QStringLiteral("Application Generator"));
        QVERIFY(!w.isWindowModified());
    }
};

QTEST_MAIN(DeskTest)
#include "desk_test.moc"
