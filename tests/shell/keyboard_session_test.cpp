// k52gen driven from the PC keyboard alone: five records of a three-line form without a click, a held
// key shown pressed, a paste and a wedge burst as scans, the shortcuts beside the keys, a recorded
// session that replays to the same screen, the screen copied and pictured, and the note on what the
// template uses that the terminal here does not simulate.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "shell/MainWindow.h"
#include "shell/UnsimulatedNote.h"
#include "simulator/KeyScript.h"
#include "simulator/ScreenCheck.h"
#include "simulator/ui/SimulatorWidget.h"
#include "support/TempDir.h"
#include "support/UiTestSupport.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

using namespace k52;
using k52::test::ScriptedFileDialogs;
using k52::test::ScriptedMessages;

class KeyboardSessionTest : public QObject {
    Q_OBJECT

    struct Fixture {
        ScriptedMessages messages;
        ScriptedFileDialogs dialogs;
        FixedLocalClock clock{LocalTime{2024, 3, 6, 9, 5, 0}};
        std::unique_ptr<MainWindow> window;
        int editorOpened = 0;

        Fixture() {
            DesktopServices services;
            services.messages = &messages;
            services.templateDialogs = &dialogs;
            services.clock = &clock;
            window = std::make_unique<MainWindow>(services);
            // The editor applies the form as it stands.
            window->setEditorSheet([this](QWidget*, TemplateDocument&, EditorHost& host) {
                ++editorOpened;
                host.TemplateApplied();
                return 1;
            });
            ApplicationTemplate& t = window->document().tmpl;
            const char* prompts[] = {"ITEM:", "QTY:", "BIN:"};
            const u8 types[] = {kLineString, kLineNumeric, kLineAlpha};
            for (int i = 0; i < 3; ++i) {
                t.form(1).lineType[i] = types[i];
                WriteFieldText(t.form(1).prompt[i], prompts[i]);
            }
            window->OnCommand(kCmdEdit);
            window->show();
            window->activateWindow();
        }
        SimulatorWidget* widget() { return window->simulatorWidget(); }
        TerminalSimulator& sim() { return widget()->simulator(); }
        std::string Line(int i) { return std::string(sim().runtimeState().lines[i].Text()); }
    };

    // Keys go to the focused widget, as they do while the terminal's window is active.
    static QWidget* Focused() { return static_cast<QWidget*>(nullptr); }
    static void Type(const char* keys) { QTest::keyClicks(Focused(), QString::fromLatin1(keys)); }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(Focused(), key, modifiers);
    }

  private slots:
    void fiveRecordsOfAThreeLineFormTakeNoClick() {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.widget()));
        Type("1");  // "1. collect data"
        QCOMPARE(f.sim().simState(), SimState::FormEntry);
        for (int record = 0; record < 5; ++record) {
            Type("ab-7");
            QCOMPARE(f.Line(0), std::string("AB-7"));
            Key(Qt::Key_Return);
            Type("12");
            QCOMPARE(f.Line(1), std::string("12"));
            Key(Qt::Key_Enter);  // the keypad's Enter
            Type("XY");
            Key(Qt::Key_Return);
        }
        QCOMPARE(f.sim().runtimeState().collectedCount, 5);
        QCOMPARE(f.sim().simState(), SimState::FormEntry);

        // Tab is the alpha key, Backspace, Up and Esc are theirs.
        Type("9");
        Key(Qt::Key_Backspace);
        QCOMPARE(f.Line(0), std::string());
        Key(Qt::Key_Tab);
        QVERIFY(f.sim().runtimeState().alphaMode);
        Key(Qt::Key_Escape);
        QCOMPARE(f.sim().simState(), SimState::MainMenu);
        Key(Qt::Key_Down);
        QCOMPARE(f.sim().engineState().highlightRow, 2);
    }

    void aHeldKeyShowsPressedUntilItComesUp() {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::keyPress(Focused(), Qt::Key_Down);
        QVERIFY(f.widget()->keypad().keyDown());
        QCOMPARE(f.widget()->keypad().pressedKey(), kKeyDown);
        QTest::keyRelease(Focused(), Qt::Key_Down);
        QVERIFY(!f.widget()->keypad().keyDown());
    }

    void pasteAndWedgeBurstEnterABarcodeAndShortcutsStillWork() {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        Type("1");
        Key(Qt::Key_Return);  // on to the quantity line
        QGuiApplication::clipboard()->setText(QStringLiteral("4006381333931\r\nnext line"));
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.Line(1), std::string("4006381333931"));
        QCOMPARE(f.sim().tmpl().form(1).currentLine, u8(2));

        Key(Qt::Key_Escape);
        Type("1");
        Key(Qt::Key_Return);
        Type("4006381333931\r");  // a scanner types as a keyboard, Enter last
        QCOMPARE(f.Line(1), std::string("4006381333931"));
        QCOMPARE(f.sim().tmpl().form(1).currentLine, u8(2));

        Key(Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(f.editorOpened, 2);
        QCOMPARE(f.sim().simState(), SimState::MainMenu);

        // Off a form a scan has nowhere to go, and says so.
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.messages.shown.size(), std::size_t(1));
    }

    void aRecordedSessionReplaysToTheSameScreen() {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        test::TempDir dir;
        Type("1AB");
        f.window->StartRecording(dir("session.keys"));
        QCOMPARE(f.sim().simState(), SimState::MainMenu);  // from a fresh start
        Type("1HELLO\r42\rZ");
        QTest::qWait(250);  // the clock's ticks go into the recording too
        Key(Qt::Key_Up);
        QVERIFY(f.window->StopRecording());
        const ScreenSnapshot shown = TakeSnapshot(f.sim());

        const auto script = ParseKeyScript(dir.Read("session.keys"));
        QVERIFY(script && !script->empty());
        QCOMPARE(script->front().value, kKeyDigit1);
        ApplicationTemplate t = f.window->document().tmpl;
        NormaliseTemplate(t);
        FixedLocalClock clock{f.clock.time};
        TerminalSimulator replay(t, clock);
        NullSimView view;
        KeypadController keys(replay, view);
        replay.Start();
        replay.DispatchKey(kRestartCode);
        for (const KeyStep& s : *script) {
            if (s.kind == KeyStep::Ticks) keys.Tick(s.value);
            if (s.kind == KeyStep::Key) {
                keys.Press(s.value);
                keys.Release();
            }
        }
        QCOMPARE(TakeSnapshot(replay).rows, shown.rows);
        QCOMPARE(TakeSnapshot(replay).state, shown.state);
    }

    void copyScreenAndSavePicture() {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(ScreenText(f.sim())));
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("1. 收 集 資 料\n")));
        QVERIFY(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("MAR  6,  9:5   00000\n")));

        test::TempDir dir;
        f.window->ApplyZoom(150);
        QVERIFY(f.window->SavePicture(QString::fromStdString(dir("terminal.png"))));
        const QImage picture(QString::fromStdString(dir("terminal.png")));
        QCOMPARE(picture.size() / f.widget()->devicePixelRatio(), QSize(270, 600));
    }

    void theNoteNamesWhatIsNotSimulatedOncePerTemplate() {
        Fixture f;
        UnsimulatedNote* note = f.window->unsimulatedNote();
        // Auto advance is on by default on every line.
        QVERIFY(note->isVisible());
        QVERIFY(note->text().contains(
            QStringLiteral("自動換行: 表單 1 第 1 行, 表單 1 第 2 行, 表單 1 第 3 行")));
        for (QPushButton* b : note->findChildren<QPushButton*>()) b->click();
        QVERIFY(!note->isVisible());
        f.window->OnCommand(kCmdEdit);
        QVERIFY2(!note->isVisible(), "dismissed, it stays away while the template uses the same");
        f.window->document().tmpl.form(1).inputSource[2] = 0;
        f.window->OnCommand(kCmdEdit);
        QVERIFY(note->isVisible());
        QVERIFY(note->text().contains(QStringLiteral("只由掃瞄器輸入: 表單 1 第 3 行")));
    }

    void f1ShowsTheKeysOverTheTerminal() {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QVERIFY(!f.widget()->keyHelpShown());
        Key(Qt::Key_F1);
        QVERIFY(f.widget()->keyHelpShown());
        Key(Qt::Key_F1);
        QVERIFY(!f.widget()->keyHelpShown());
    }
};

QTEST_MAIN(KeyboardSessionTest)
#include "keyboard_session_test.moc"
