// The port settings dialog and the windows a transfer shows.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cstdlib>

#include "shell/PortSettingsDialog.h"
#include "shell/TransferWindows.h"
#include "support/UiTestSupport.h"

using namespace k52;
using k52::test::CountPixels;
using k52::test::ScriptedMessages;

class TransferWindowsTest : public QObject {
    Q_OBJECT

    // Centred on the screen, give or take the rounding of odd sizes and a window frame.
    static bool Centred(const QWidget* w) {
        QPoint d = w->frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center();
        return std::abs(d.x()) <= 2 && std::abs(d.y()) <= 2;
    }

  private slots:
    void portSettingsListsAndDevices() {
        qputenv("XDG_CONFIG_HOME", "/nonexistent/k52-no-assignments");  // not the user's own assignments
        qputenv("K52_COM2", "/dev/pts/77");
        qunsetenv("K52_COM1");
        PortSettings ports{1, 4};
        PortSettingsDialog dlg(nullptr, ports);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("傳輸埠設定"));
        QStringList names, speeds;
        for (int i = 0; i < dlg.portList()->count(); ++i) names << dlg.portList()->itemText(i);
        for (int i = 0; i < dlg.speedList()->count(); ++i) speeds << dlg.speedList()->itemText(i);
        QCOMPARE(names, (QStringList{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"}));
        QCOMPARE(speeds, (QStringList{"115200", "57600", "38400", "19200", "9600"}));
        QCOMPARE(dlg.portList()->currentIndex(), 1);
        QCOMPARE(dlg.speedList()->currentIndex(), 4);
        QCOMPARE(dlg.deviceLabel()->text(), QStringLiteral("/dev/pts/77"));
        QCOMPARE(dlg.portList()->itemData(0, Qt::ToolTipRole).toString(), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(dlg.portList()->itemData(5, Qt::ToolTipRole).toString(), QStringLiteral("/dev/ttyS5"));
        dlg.portList()->setCurrentIndex(0);
        QCOMPARE(dlg.deviceLabel()->text(), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(dlg.okButton()->text(), QStringLiteral("確定"));
        QCOMPARE(dlg.cancelButton()->text(), QStringLiteral("取消"));
        QVERIFY(dlg.okButton()->isDefault());

        // The open list is wide enough for each name and its device side by side.
        dlg.show();
        dlg.portList()->showPopup();
        QAbstractItemView* view = dlg.portList()->view();
        QVERIFY(view->isVisible());
        const QFontMetrics fm = view->fontMetrics();
        for (int i = 0; i < dlg.portList()->count(); ++i) {
            QString device = dlg.portList()->itemData(i, Qt::ToolTipRole).toString();
            QVERIFY2(
                view->viewport()->width() > fm.horizontalAdvance(names[i] + QStringLiteral("  ") + device),
                qPrintable(device));
        }
        dlg.portList()->hidePopup();
        qunsetenv("K52_COM2");
    }

    void damagedPortSettingsSelectNothingAndOkKeepsThem() {
        PortSettings ports{9, 7};
        PortSettingsDialog dlg(nullptr, ports);
        QCOMPARE(dlg.portList()->currentIndex(), -1);
        QCOMPARE(dlg.speedList()->currentIndex(), -1);
        dlg.speedList()->setCurrentIndex(2);
        dlg.show();
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        QCOMPARE(dlg.result(), 1);
        QCOMPARE(ports.comPort, 9);  // refused later, before any port is opened
        QCOMPARE(ports.baudRate, 2);
    }

    void progressWindowFollowsTheTransfer() {
        ScriptedMessages messages;
        QtTransferUi ui(messages, nullptr);
        ui.BeginProgress("下載程式", "下載中...");
        ProgressDialog* dlg = ui.progress();
        QVERIFY(dlg && dlg->isVisible());
        QCOMPARE(dlg->windowTitle(), QStringLiteral("下載程式"));
        QCOMPARE(dlg->label()->text(), QStringLiteral("下載中..."));
        QCOMPARE(dlg->bar()->minimum(), 0);
        QCOMPARE(dlg->bar()->maximum(), 100);
        QCOMPARE(dlg->bar()->value(), 0);
        QCOMPARE(dlg->bar()->x(), 14);
        QCOMPARE(dlg->bar()->width(), dlg->width() - 28);
        QVERIFY(dlg->bar()->geometry().bottom() < dlg->cancelButton()->y());
        QVERIFY(Centred(dlg));
        ui.SetProgress(37);
        QCOMPARE(dlg->bar()->value(), 37);
        ui.SetProgress(140);  // packets past the 95th keep the bar full
        QCOMPARE(dlg->bar()->value(), 100);
        dlg->close();  // it stays until the transfer ends
        QVERIFY(dlg->isVisible());
        ui.EndProgress();
        QVERIFY(!ui.progress());
    }

    void receiveStatusBoxKeepsItsWidthAndColours() {
        ScriptedMessages messages;
        QtTransferUi ui(messages, nullptr);
        ui.EndReceiveStatus();  // without a begin: nothing
        ui.BeginReceiveStatus();
        ReceiveStatusBox* box = ui.statusBox();
        QVERIFY(box && !box->isVisible());  // nothing drawn before the first record
        const QSize size = box->size();
        QCOMPARE(size.height(), 40);
        QCOMPARE(size.width(),
                 box->fontMetrics().horizontalAdvance(QStringLiteral("Data received : 0   ")) + 20);
        ui.UpdateReceiveStatus(1);
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QStringLiteral("Data received : 1"));
        QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(Centred(box));
        ui.UpdateReceiveStatus(123456);
        QCOMPARE(box->size(), size);
        QImage shot = box->grab().toImage();
        QCOMPARE(shot.pixel(0, 0) & 0xFFFFFF, qRgb(0, 0, 0) & 0xFFFFFF);
        QCOMPARE(shot.pixel(size.width() - 1, size.height() - 1) & 0xFFFFFF, qRgb(0, 0, 0) & 0xFFFFFF);
        QCOMPARE(shot.pixel(3, 3) & 0xFFFFFF, qRgb(255, 255, 100) & 0xFFFFFF);
        QVERIFY(CountPixels(shot, QRect(1, 1, size.width() - 2, 38), qRgb(255, 255, 100)) >
                size.width() * 20);
        ui.EndReceiveStatus();
        QVERIFY(!ui.statusBox());

        ui.BeginReceiveStatus();  // a later command: the same box
        QCOMPARE(ui.statusBox()->size(), size);
        ui.EndReceiveStatus();
    }

    void messagesGoThroughTheReplaceableBoxes() {
        ScriptedMessages messages;
        messages.answers = {MessageAnswer::Yes};
        QtTransferUi ui(messages, nullptr);
        QCOMPARE(
            ui.ShowMessage("下載失敗,再試一次嗎??", "錯誤", MessageIcon::Question, MessageButtons::YesNo),
            MessageAnswer::Yes);
        QCOMPARE(messages.shown.size(), size_t(1));
        QCOMPARE(messages.shown[0].icon, MessageIcon::Question);
        QCOMPARE(messages.shown[0].buttons, MessageButtons::YesNo);
    }
};

QTEST_MAIN(TransferWindowsTest)
#include "transfer_windows_test.moc"
