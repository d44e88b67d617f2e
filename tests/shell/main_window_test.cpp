// The main window: where it opens, its command menu, shortcuts, the close request with its save
// prompt, and the boxes the commands open.
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "shell/AboutBox.h"
#include "shell/MainWindow.h"
#include "shell/PortSettingsDialog.h"
#include "simulator/ui/SimulatorWidget.h"
#include "support/UiTestSupport.h"

using namespace k52;
using k52::test::OnNextModal;
using k52::test::ScriptedFileDialogs;
using k52::test::ScriptedMessages;

class MainWindowTest : public QObject {
    Q_OBJECT

    struct Fixture {
        ScriptedMessages messages;
        ScriptedFileDialogs dialogs;
        FixedLocalClock clock{LocalTime{2024, 3, 6, 9, 5, 0}};
        std::unique_ptr<MainWindow> window;
        int editorOpened = 0;
        int editorAnswer = 1;  // the stand-in sheet's OK

        Fixture() {
            DesktopServices services;
            services.messages = &messages;
            services.templateDialogs = &dialogs;
            services.clock = &clock;
            window = std::make_unique<MainWindow>(services);
            window->setEditorSheet([this](QWidget*, TemplateDocument&, EditorHost&) {
                ++editorOpened;
                return editorAnswer;
            });
            window->show();
        }
    };

    static void Activate(QWidget* w) {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

  private slots:
    void theCaseBecomesTheIconOnceTheTerminalIsDrawn() {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QTRY_VERIFY(!f.window->windowIcon().isNull());
        QCOMPARE(f.window->windowIcon().availableSizes(), QList<QSize>{QSize(180, 400)});
    }

    void opensFramelessAt300By50WithTheTerminalFillingIt() {
        Fixture f;
        MainWindow& w = *f.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Application Generator"));
        QCOMPARE(w.geometry(), QRect(300, 50, 180, 400));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.simulatorWidget()->geometry(), QRect(0, 0, 180, 400));
        QVERIFY(w.document().templatePath.empty());
        QVERIFY(!w.document().templateModified);
        QCOMPARE(w.document().tmpl.barcodeSettings.bytes()[0], 0x9B);  // barcode defaults applied
        QCOMPARE(w.simulatorWidget()->simulator().simState(), SimState::MainMenu);
        // Nothing modified: the close asks nothing.
        QVERIFY(w.close());
        QVERIFY(f.messages.shown.empty());
    }

    void commandMenuHasTheItemsTextsAndIds() {
        Fixture f;
        struct Item {
            QString text;
            int id;  // 0: separator, -1: submenu of the two ways, -2: the zoom submenu
        };
        const QString cable = QStringLiteral("經由 RS-232 或 IrDA...");
        const QString cradle = QStringLiteral("經由紅外線傳輸座...");
        const QList<Item> top = {
            {QStringLiteral("開新檔案\tCtrl+N"), 1010},
            {QStringLiteral("開啟舊檔...\tCtrl+O"), 1020},
            {QStringLiteral("儲存檔案\tCtrl+S"), 1030},
            {QStringLiteral("另存檔案..."), 1040},
            {QStringLiteral("列印 / 存成 PDF..."), 1045},
            {QStringLiteral("最近的檔案"), -3},
            {{}, 0},
            {QStringLiteral("編輯檔案\tCtrl+E"), 2000},
            {QStringLiteral("傳輸埠設定..."), 2100},
            {QStringLiteral("終端機...\tCtrl+T"), 2150},
            {QStringLiteral("縮放"), -2},
            {{}, 0},
            {QStringLiteral("掃瞄...\tCtrl+B"), 2300},
            {QStringLiteral("錄製按鍵..."), 2310},
            {QStringLiteral("複製畫面\tCtrl+Shift+C"), 2320},
            {QStringLiteral("儲存圖片..."), 2330},
            {{}, 0},
            {QStringLiteral("下載程式"), -1},
            {QStringLiteral("下載索引檔"), -1},
            {QStringLiteral("接收資料"), -1},
            {{}, 0},
            {QStringLiteral("說明..."), 9010},
            {QStringLiteral("關於..."), 9030},
            {QStringLiteral("離開\tAlt+F4"), 1090},
        };
        const QList<QList<int>> subIds = {{3020, 3021}, {3040, 3041}, {3030, 3031}};
        QList<QAction*> actions = f.window->commandMenu()->actions();
        QCOMPARE(actions.size(), top.size());
        int sub = 0;
        for (int i = 0; i < top.size(); ++i) {
            QAction* a = actions[i];
            if (top[i].id == 0) {
                QVERIFY2(a->isSeparator(), qPrintable(QString::number(i)));
                continue;
            }
            QCOMPARE(a->text(), top[i].text);
            if (top[i].id > 0) {
                QCOMPARE(a->data().toInt(), top[i].id);
                QVERIFY(!a->menu());
                continue;
            }
            QMenu* m = a->menu();
            QVERIFY(m);
            QList<QAction*> items = m->actions();
            if (top[i].id == -3) continue;  // the recent files, filled as it opens
            if (top[i].id == -2) {
                const QList<Item> zoom = {{QStringLiteral("放大\tCtrl++"), 2201},
                                          {QStringLiteral("縮小\tCtrl+-"), 2202},
                                          {{}, 0},
                                          {QStringLiteral("100%\tCtrl+0"), 2210},
                                          {QStringLiteral("150%"), 2215},
                                          {QStringLiteral("200%"), 2220},
                                          {QStringLiteral("300%"), 2230}};
                QCOMPARE(items.size(), zoom.size());
                for (int z = 0; z < zoom.size(); ++z) {
                    QCOMPARE(items[z]->isSeparator(), zoom[z].id == 0);
                    if (zoom[z].id == 0) continue;
                    QCOMPARE(items[z]->text(), zoom[z].text);
                    QCOMPARE(items[z]->data().toInt(), zoom[z].id);
                }
                continue;
            }
            QCOMPARE(items.size(), 2);
            QCOMPARE(items[0]->text(), cable);
            QCOMPARE(items[1]->text(), cradle);
            QCOMPARE(items[0]->data().toInt(), subIds[sub][0]);
            QCOMPARE(items[1]->data().toInt(), subIds[sub][1]);
            ++sub;
        }
        QCOMPARE(sub, 3);
    }

    void rightClickAndPowerKeyReleaseOpenTheMenu() {
        Fixture f;
        SimulatorWidget* sim = f.window->simulatorWidget();
        QMenu* menu = f.window->commandMenu();
        bool opened = false;
        auto closeWhenShown = [&] {
            OnNextPopup(menu, [&] {
                opened = true;
                menu->close();
            });
        };

        closeWhenShown();
        QTest::mouseClick(sim, Qt::RightButton, {}, QPoint(90, 20));
        QVERIFY(opened);
        QCOMPARE(sim->lastMenuPoint(), sim->mapToGlobal(QPoint(90, 20)));

        // The power key (lower block, column 3, row 1: origin 126,370) opens it only at the release.
        opened = false;
        QTest::mousePress(sim, Qt::LeftButton, {}, QPoint(130, 375));
        QVERIFY(!opened);
        closeWhenShown();
        QTest::mouseRelease(sim, Qt::LeftButton, {}, QPoint(130, 375));
        QVERIFY(opened);
        QCOMPARE(sim->lastMenuPoint(), sim->mapToGlobal(QPoint(126, 370)));
    }

    void aChosenMenuItemArrivesAsACommand() {
        Fixture f;
        SimulatorWidget* sim = f.window->simulatorWidget();
        QMenu* menu = f.window->commandMenu();
        QSignalSpy commands(sim, &SimulatorWidget::commandRequested);
        OnNextPopup(menu, [menu] {
            for (QAction* a : menu->actions())
                if (a->data().toInt() == 2100) menu->setActiveAction(a);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        bool portSettingsOpened = false;
        OnNextModal([&](QWidget* w) {
            portSettingsOpened = qobject_cast<PortSettingsDialog*>(w) != nullptr;
            static_cast<QDialog*>(w)->done(0);
        });
        QTest::mouseClick(sim, Qt::RightButton, {}, QPoint(90, 20));
        QCOMPARE(commands.size(), 0);  // delivered later, as a posted command
        QTRY_COMPARE(commands.size(), 1);
        QVERIFY(portSettingsOpened);
        QCOMPARE(commands[0][0].toInt(), 2100);
    }

    void shortcutsRunTheirCommands() {
        Fixture f;
        MainWindow& w = *f.window;
        Activate(&w);

        QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(f.editorOpened, 1);

        // Ctrl+N with a modified template asks first; after No the editor opens on a reset template.
        w.document().templateModified = true;
        w.document().templatePath = "/tmp/old.ATC";
        w.document().tmpl.portSettings.comPort = 4;
        f.messages.answers = {MessageAnswer::No};
        QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.messages.texts(), std::vector<std::string>{"儲存目前程式嗎??"});
        QCOMPARE(f.editorOpened, 2);
        QVERIFY(!w.document().templateModified);
        QVERIFY(w.document().templatePath.empty());
        QCOMPARE(w.document().tmpl.portSettings.comPort, 4);

        // Ctrl+O with a cancelled file dialog: no editor, the flag as it was.
        w.document().templateModified = true;
        f.messages.answers = {MessageAnswer::No};
        QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(f.dialogs.opens, 1);
        QCOMPARE(f.editorOpened, 2);
        QVERIFY(w.document().templateModified);

        // Ctrl+S on an untitled template asks for a name; cancelled, the flag stays.
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.dialogs.saves, 1);
        QVERIFY(w.document().templateModified);

        // Alt+F4 is the close request: Cancel keeps the window, No closes it.
        f.messages.answers = {MessageAnswer::Cancel};
        QTest::keyClick(&w, Qt::Key_F4, Qt::AltModifier);
        QVERIFY(w.isVisible());
        f.messages.answers = {MessageAnswer::No};
        QTest::keyClick(&w, Qt::Key_F4, Qt::AltModifier);
        QVERIFY(!w.isVisible());
    }

    void closeRequestFlows() {
        struct Case {
            const char* name;
            MessageAnswer answer;
            bool viaExit;
            bool closes;
            int saveDialogs;
        } cases[] = {
            {"cancel keeps running", MessageAnswer::Cancel, false, false, 0},
            {"no exits without saving", MessageAnswer::No, false, true, 0},
            {"yes untitled asks a name, exits though cancelled", MessageAnswer::Yes, false, true, 1},
            {"exit command: cancel", MessageAnswer::Cancel, true, false, 0},
            {"exit command: no", MessageAnswer::No, true, true, 0},
        };
        for (const Case& c : cases) {
            Fixture f;
            MainWindow& w = *f.window;
            w.document().templateModified = true;
            f.messages.answers = {c.answer};
            if (c.viaExit)
                w.OnCommand(1090);
            else
                w.close();
            QVERIFY2(w.isVisible() != c.closes, c.name);
            QCOMPARE(f.messages.shown.size(), size_t(1));
            QCOMPARE(f.messages.shown[0].title, std::string("Varnell's K52 Application Generator"));
            QCOMPARE(f.messages.shown[0].buttons, MessageButtons::YesNoCancel);
            QCOMPARE(f.messages.shown[0].icon, MessageIcon::Exclamation);
            QCOMPARE(f.dialogs.saves, c.saveDialogs);
            QVERIFY(w.document().templateModified);
        }
    }

    void openWithACancelledDialogOpensNoEditor() {
        for (bool modified : {false, true}) {
            Fixture f;
            f.window->document().templateModified = modified;
            f.messages.answers = {MessageAnswer::No};
            f.window->OnCommand(1020);
            QCOMPARE(f.dialogs.opens, 1);
            QCOMPARE(f.editorOpened, 0);
            QCOMPARE(f.window->document().templateModified, modified);
        }
    }

    void editOkRestartsTheTerminalAndMarksOnlyChanges() {
        Fixture f;
        MainWindow& w = *f.window;
        w.setEditorSheet(DefaultEditorSheet());
        TerminalSimulator& sim = w.simulatorWidget()->simulator();
        sim.DispatchKey(kKeyDigit3);  // system tools
        QCOMPARE(sim.simState(), SimState::SystemTools);
        OnNextModal([](QWidget* sheet) { static_cast<QDialog*>(sheet)->reject(); });
        w.OnCommand(2000);
        QVERIFY(!w.document().templateModified);
        QCOMPARE(sim.simState(), SimState::SystemTools);

        QString title;
        OnNextModal([&](QWidget* sheet) {
            title = sheet->windowTitle();
            static_cast<QDialog*>(sheet)->accept();
        });
        w.OnCommand(2000);
        QVERIFY(title.contains(QStringLiteral("Application Template")));
        // Nothing was changed in the sheet: the terminal restarts, the template stays unmodified.
        QVERIFY(!w.document().templateModified);
        QCOMPARE(sim.simState(), SimState::MainMenu);
        QCOMPARE(sim.engineState().highlightRow, 1);
    }

    void aboutBoxClosesOnlyByItsButtonOrEnter() {
        Fixture f;
        bool stayedOnEscape = false, stayedOnClose = false;
        OnNextModal([&](QWidget* w) {
            auto* box = qobject_cast<AboutBox*>(w);
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_Escape);
            stayedOnEscape = box->isVisible();
            box->close();
            stayedOnClose = box->isVisible();
            QTest::keyClick(box, Qt::Key_Return);
        });
        f.window->OnCommand(9030);
        QVERIFY(stayedOnEscape);
        QVERIFY(stayedOnClose);

        AboutBox box(f.window.get());
        box.show();
        QCOMPARE(box.okButton()->text(), QStringLiteral("確定"));
        QTest::mouseClick(box.okButton(), Qt::LeftButton);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), 1);
    }

    void portSettingsStoreOnlyOnOkAndLeaveTheFlag() {
        Fixture f;
        PortSettings& ports = f.window->document().tmpl.portSettings;
        ports = {1, 3};
        for (bool ok : {false, true}) {
            OnNextModal([ok](QWidget* w) {
                auto* dlg = qobject_cast<PortSettingsDialog*>(w);
                QVERIFY(dlg);
                QCOMPARE(dlg->windowTitle(), QStringLiteral("傳輸埠設定"));
                QCOMPARE(dlg->portList()->currentIndex(), 1);
                QCOMPARE(dlg->speedList()->currentIndex(), 3);
                dlg->portList()->setCurrentIndex(5);
                dlg->speedList()->setCurrentIndex(0);
                QTest::mouseClick(ok ? dlg->okButton() : dlg->cancelButton(), Qt::LeftButton);
            });
            f.window->OnCommand(2100);
            if (!ok) {
                QCOMPARE(ports.comPort, 1);
                QCOMPARE(ports.baudRate, 3);
            }
        }
        QCOMPARE(ports.comPort, 5);
        QCOMPARE(ports.baudRate, 0);
        QVERIFY(!f.window->document().templateModified);
    }

    void nothingToRunWarnsAndStartsANewTemplate() {
        Fixture f;
        SimulatorWidget* sim = f.window->simulatorWidget();
        // Digit 1 is key 7 (upper block, column 0, row 2: origin 30,291).
        QTest::mousePress(sim, Qt::LeftButton, {}, QPoint(40, 300));
        QCOMPARE(f.messages.texts(), std::vector<std::string>{"請定義您的應用程式!!"});
        QCOMPARE(f.messages.shown[0].title, std::string("沒有可執行之程式"));
        QCOMPARE(f.editorOpened, 0);  // the New command is posted, not run inside the press
        QTRY_COMPARE(f.editorOpened, 1);
        QVERIFY(!sim->keypad().keyDown());
        QTest::mouseRelease(sim, Qt::LeftButton, {}, QPoint(40, 300));
    }

  private:
    // Runs `then` once `menu` is shown as a popup.
    static void OnNextPopup(QMenu* menu, std::function<void()> then, int tries = 10000) {
        QMetaObject::invokeMethod(
            qApp,
            [menu, then, tries] {
                if (QApplication::activePopupWidget() == menu && menu->isVisible())
                    then();
                else if (tries > 0)
                    OnNextPopup(menu, then, tries - 1);
            },
            Qt::QueuedConnection);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
