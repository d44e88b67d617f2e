// Drives the real sheet on the offscreen platform.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>

#include "editor/Tooltips.h"
#include "editor/ui/ControlBinder.h"
#include "editor/ui/EditorPages.h"
#include "editor/ui/EditorSheetDialog.h"
#include "support/Messages.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

using namespace k52;

namespace {

struct CountingHost : EditorHost {
    void TemplateApplied() override { ++calls; }
    MessageBoxes* SheetMessages() override { return &messages; }
    int calls = 0;
    test::ScriptedMessages messages;
};

template <typename W = QWidget>
W* Control(QWidget* root, int id) {
    for (W* w : root->findChildren<W*>())
        if (w->property(kControlIdProperty).toInt() == id) return w;
    return nullptr;
}

// Chooses a list entry the way the user does, which the list reports as activated.
void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// Types text one character at a time, as an input method delivers it; QTest's key clicks only know Latin-1.
void Type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Pastes text in one piece through the input method.
void Commit(QWidget* w, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(w, &event);
}

// Runs `step` on the modal dialog that the next action opens.
void WhenDialogOpens(std::function<void(QDialog*)> step) {
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        step(dialog);
    });
}

}  // namespace

class EditorSheetUiTest : public QObject {
    Q_OBJECT

  private:
    TemplateDocument doc;
    CountingHost host;

    void Fresh() {
        doc = TemplateDocument{};
        doc.tmpl = StartupTemplate();
        host.calls = 0;
        host.messages = {};
        host.messages.answers = {MessageAnswer::Yes};
    }

  private slots:
    void init() { Fresh(); }

    void opensOnTheFormPageWithOkAndCancelOnly() {
        EditorSheetDialog sheet(nullptr, doc, host);
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Application Template"));
        QCOMPARE(sheet.tabs()->count(), 5);
        const char* captions[] = {"表單", "選單", "索引檔", "條碼設定", "起動"};
        for (int i = 0; i < 5; ++i) QCOMPARE(sheet.tabs()->tabText(i), QString::fromUtf8(captions[i]));
        QCOMPARE(sheet.tabs()->currentIndex(), 0);
        auto* box = sheet.findChild<QDialogButtonBox*>();
        QVERIFY(box);
        QCOMPARE(box->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(Control<QComboBox>(sheet.page(0), 752)->currentText(), QStringLiteral("表單  1"));
    }

    void okWritesTheTemplateAndTellsTheHost() {
        EditorSheetDialog sheet(nullptr, doc, host);
        sheet.show();
        QWidget* forms = sheet.page(0);
        Choose(Control<QComboBox>(forms, 701), 2);
        auto* prompt = Control<QLineEdit>(forms, 601);
        prompt->setFocus();
        QTest::keyClicks(prompt, QStringLiteral("Qty"));
        sheet.tabs()->setCurrentIndex(1);
        QWidget* menus = sheet.page(1);
        QTest::keyClicks(Control<QLineEdit>(menus, 601), QStringLiteral("Count"));
        Choose(Control<QComboBox>(menus, 701), 1);
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(doc.tmpl.form(1).lineType[0], 2);
        QCOMPARE(std::string(FieldText(doc.tmpl.form(1).prompt[0])), std::string("Qty"));
        QCOMPARE(std::string(FieldText(doc.tmpl.menu(1).options[0])), std::string("Count"));
        QCOMPARE(int(doc.tmpl.menu(1).optionTargets[0]), 1);
        QVERIFY(doc.templateModified);
        QCOMPARE(host.calls, 1);
    }

    void cancelLeavesTheTemplateUntouched() {
        const ApplicationTemplate before = doc.tmpl;
        EditorSheetDialog sheet(nullptr, doc, host);
        sheet.show();
        Choose(Control<QComboBox>(sheet.page(0), 702), 1);
        QTest::keyClicks(Control<QLineEdit>(sheet.page(0), 602), QStringLiteral("x"));
        for (int i = 1; i < 5; ++i) sheet.tabs()->setCurrentIndex(i);
        Control<QCheckBox>(sheet.page(3), 101)->click();
        QTest::keyClicks(Control<QLineEdit>(sheet.page(4), 605), QStringLiteral("42"));
        QTest::keyClick(&sheet, Qt::Key_Escape);
        QCOMPARE(host.messages.texts(), std::vector<std::string>{kDiscardQuestion});
        QCOMPARE(sheet.result(), int(QDialog::Rejected));
        QVERIFY(std::memcmp(&before, &doc.tmpl, sizeof before) == 0);
        QVERIFY(!doc.templateModified);
        QCOMPARE(host.calls, 0);
    }

    // Esc with changes asks, and No keeps the sheet open with the changes; without changes it closes at once.
    void escapeAsksOnlyWhenSomethingChanged() {
        host.messages.answers = {MessageAnswer::No};
        doc.tmpl.form(1).lineType[0] = kLineString;
        EditorSheetDialog sheet(nullptr, doc, host);
        sheet.show();
        sheet.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
        Control<QLineEdit>(sheet.page(0), 601)->setFocus();
        QTest::keyClicks(Control<QLineEdit>(sheet.page(0), 601), QStringLiteral("Qty"));
        QTest::keyClick(&sheet, Qt::Key_Escape);
        QVERIFY(sheet.isVisible());
        QCOMPARE(Control<QLineEdit>(sheet.page(0), 601)->text(), QStringLiteral("Qty"));
        // Ctrl+Z takes the typing back in one step, and Ctrl+Shift+Z brings it again.
        QTest::keyClick(Control<QLineEdit>(sheet.page(0), 601), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Control<QLineEdit>(sheet.page(0), 601)->text(), QString());
        QTest::keyClick(Control<QLineEdit>(sheet.page(0), 601), Qt::Key_Z,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Control<QLineEdit>(sheet.page(0), 601)->text(), QStringLiteral("Qty"));
        sheet.findChild<QPushButton*>(QStringLiteral("revertPage"))->click();
        QCOMPARE(Control<QLineEdit>(sheet.page(0), 601)->text(), QString());
        QTest::keyClick(&sheet, Qt::Key_Escape);
        QVERIFY(!sheet.isVisible());
        QCOMPARE(host.messages.shown.size(), std::size_t{1});
    }

    // Every control of the five pages and of the dialogs they open carries a tip.
    void everyControlHasATooltip() {
        EditorSheetDialog sheet(nullptr, doc, host);
        QStringList missing;
        for (int i = 0; i < 5; ++i)
            for (QWidget* w : sheet.page(i)->findChildren<QWidget*>())
                if (w->property(kControlIdProperty).isValid() && w->toolTip().isEmpty())
                    missing << QStringLiteral("page %1 control %2")
                                   .arg(i)
                                   .arg(w->property(kControlIdProperty).toInt());
        for (const SymbologyDialogInfo& info : SymbologyDialogs()) {
            QDialog dialog;
            BuildSymbologyDialog(&dialog, info);
            for (QWidget* w : dialog.findChildren<QWidget*>()) {
                const int id = w->property(kControlIdProperty).toInt();
                if (id > 2 && (id < 500 || id >= 600) && ControlTooltip(info.name, id).empty())
                    missing << QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size())) +
                                   QStringLiteral(" control %1").arg(id);
            }
        }
        QDialog attributes;
        BuildFieldAttributesDialog(&attributes);
        for (QWidget* w : attributes.findChildren<QWidget*>()) {
            const int id = w->property(kControlIdProperty).toInt();
            if (id > 2 && (id < 500 || id >= 600) && ControlTooltip(kFieldAttributesOwner, id).empty())
                missing << QStringLiteral("attributes control %1").arg(id);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    }

    void chineseTextIsCutAtWholeCharacters() {
        EditorSheetDialog sheet(nullptr, doc, host);
        sheet.show();
        sheet.tabs()->setCurrentIndex(1);
        auto* option = Control<QLineEdit>(sheet.page(1), 601);
        option->setFocus();
        Type(option, QStringLiteral("中文中文中文中文"));
        QCOMPARE(option->text(), QStringLiteral("中文中文中文中"));
        auto* title = Control<QLineEdit>(sheet.page(1), 602);
        Type(title, QStringLiteral("a한b"));
        QCOMPARE(title->text(), QStringLiteral("ab"));
        auto* third = Control<QLineEdit>(sheet.page(1), 603);
        Commit(third, QStringLiteral("數量盤點數量盤點"));
        QCOMPARE(third->text(), QStringLiteral("數量盤點數量盤"));
        sheet.tabs()->setCurrentIndex(4);
        auto* password = Control<QLineEdit>(sheet.page(4), 605);
        Type(password, QStringLiteral("1中文中文中"));
        QCOMPARE(password->text(), QStringLiteral("1中文中文"));
        sheet.accept();
        QCOMPARE(FieldText(doc.tmpl.menu(1).options[0]).size(), size_t(14));
        const unsigned char expected[10] = {0x31, 0xA4, 0xA4, 0xA4, 0xE5, 0xA4, 0xA4, 0xA4, 0xE5, 0x00};
        QVERIFY(std::memcmp(doc.tmpl.securityPassword, expected, 10) == 0);
    }

    void lineTypeEnablesItsControls() {
        EditorSheetDialog sheet(nullptr, doc, host);
        sheet.show();
        QWidget* forms = sheet.page(0);
        const int ids[] = {601, 201, 711, 611, 621, 721};
        for (int id : ids) QVERIFY(!Control(forms, id)->isEnabled());
        Choose(Control<QComboBox>(forms, 701), 1);
        for (int id : ids) QVERIFY(Control(forms, id)->isEnabled());
        Choose(Control<QComboBox>(forms, 701), 7);
        QVERIFY(Control(forms, 601)->isEnabled());
        QVERIFY(Control(forms, 721)->isEnabled());
        QVERIFY(!Control(forms, 711)->isEnabled());
        QVERIFY(!Control(forms, 201)->isEnabled());

        sheet.tabs()->setCurrentIndex(2);
        QWidget* lookups = sheet.page(2);
        QVERIFY(!Control(lookups, 601)->isEnabled());
        Choose(Control<QComboBox>(lookups, 701), 3);
        QVERIFY(Control(lookups, 603)->isEnabled());
        QVERIFY(Control(lookups, 403)->isEnabled());
        QVERIFY(!Control(lookups, 604)->isEnabled());
        QTest::keyClicks(Control<QLineEdit>(lookups, 601), QStringLiteral("x"));
        QCOMPARE(Control<QLineEdit>(lookups, 601)->text(), QStringLiteral("0"));
    }

    void fieldAttributesDialogCancelRestoresTheLine() {
        EditorSheetDialog sheet(nullptr, doc, host);
        sheet.show();
        QWidget* forms = sheet.page(0);
        Choose(Control<QComboBox>(forms, 702), 1);
        WhenDialogOpens([](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("資料屬性"));
            QCOMPARE(Control<QLabel>(dialog, 502)->text(), QStringLiteral("2"));
            QCOMPARE(Control<QLineEdit>(dialog, 606)->text(), QStringLiteral("1"));
            QVERIFY(!Control(dialog, 606)->isEnabled());
            Control<QCheckBox>(dialog, 106)->click();
            QVERIFY(Control(dialog, 606)->isEnabled());
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        Control<QPushButton>(forms, 202)->click();
        WhenDialogOpens([](QDialog* dialog) {
            QVERIFY(!Control<QCheckBox>(dialog, 106)->isChecked());
            Control<QCheckBox>(dialog, 103)->click();
            QTest::keyClicks(Control<QLineEdit>(dialog, 608), QStringLiteral("ABCDEFG"));
            QCOMPARE(Control<QLineEdit>(dialog, 608)->text(), QStringLiteral("ABCDEF"));
            Control<QPushButton>(dialog, 1)->click();
        });
        Control<QPushButton>(forms, 202)->click();
        sheet.accept();
        const FormRecord& f = doc.tmpl.form(1);
        QCOMPARE(int(f.partialBarcode[1]), 0);
        QCOMPARE(int(f.partialStart[1]), 1);
        QCOMPARE(int(f.hasPrefix[1]), 1);
        QVERIFY(std::memcmp(f.verifyPrefixText[1], "ABCDEF", 6) == 0);
    }

    // The sheet's Cancel takes back what an option dialog confirmed, as it does every other change.
    void cancelTakesBackASymbologyDialogsOk() {
        const BarcodeSettings before = doc.tmpl.barcodeSettings;
        EditorSheetDialog sheet(nullptr, doc, host);
        sheet.show();
        sheet.tabs()->setCurrentIndex(3);
        QWidget* barcode = sheet.page(3);
        WhenDialogOpens([](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Industrial 25 碼參數"));
            QCOMPARE(Control<QLabel>(dialog, 501)->text(), QStringLiteral("最大長度 :"));
            Control<QRadioButton>(dialog, 404)->click();
            QCOMPARE(Control<QLabel>(dialog, 502)->text(), QStringLiteral("固定長度 :"));
            auto* first = Control<QLineEdit>(dialog, 601);
            first->selectAll();
            QTest::keyClicks(first, QStringLiteral("10"));
            Control<QPushButton>(dialog, 1)->click();
        });
        Control<QPushButton>(barcode, 204)->click();
        QCOMPARE(int(doc.tmpl.barcodeSettings.industrial25Lengths.first), 0x0A);
        QCOMPARE(int(doc.tmpl.barcodeSettings.industrial25Lengths.length2), 1);
        Control<QCheckBox>(barcode, 104)->click();
        sheet.reject();
        QVERIFY(std::memcmp(&before, &doc.tmpl.barcodeSettings, sizeof before) == 0);
        QVERIFY(!doc.templateModified);
    }

    void radioButtonsFollowTheLogic() {
        EditorSheetDialog sheet(nullptr, doc, host);
        sheet.show();
        sheet.tabs()->setCurrentIndex(2);
        QWidget* lookups = sheet.page(2);
        Choose(Control<QComboBox>(lookups, 701), 8);
        auto* key1 = Control<QRadioButton>(lookups, 401);
        QVERIFY(key1->isChecked());
        key1->click();  // clicking the selected key keeps it selected
        QVERIFY(key1->isChecked());
        Control<QRadioButton>(lookups, 405)->click();
        QVERIFY(!key1->isChecked());
        sheet.accept();
        QCOMPARE(int(doc.tmpl.lookupFile(1).keyField), 4);
    }

    // With K52_EDITOR_SCREENSHOTS set to a folder, every page and dialog is saved there as a PNG.
    void screenshots() {
        QString folder = qEnvironmentVariable("K52_EDITOR_SCREENSHOTS");
        if (folder.isEmpty()) QSKIP("K52_EDITOR_SCREENSHOTS not set");
        EditorSheetDialog sheet(nullptr, doc, host);
        sheet.show();
        for (int i = 0; i < 5; ++i) {
            sheet.tabs()->setCurrentIndex(i);
            QApplication::processEvents();
            QVERIFY(sheet.grab().save(QStringLiteral("%1/page%2.png").arg(folder).arg(i)));
        }
        sheet.tabs()->setCurrentIndex(0);
        WhenDialogOpens([folder](QDialog* dialog) {
            QApplication::processEvents();
            dialog->grab().save(folder + QStringLiteral("/field_attributes.png"));
            dialog->reject();
        });
        Control<QPushButton>(sheet.page(0), 201)->setEnabled(true);
        Control<QPushButton>(sheet.page(0), 201)->click();
        sheet.tabs()->setCurrentIndex(3);
        for (const SymbologyDialogInfo& info : SymbologyDialogs()) {
            QString name = QString::fromUtf8(info.name.data(), qsizetype(info.name.size()));
            WhenDialogOpens([folder, name](QDialog* dialog) {
                QApplication::processEvents();
                dialog->grab().save(QStringLiteral("%1/%2.png").arg(folder, name));
                dialog->reject();
            });
            Control<QPushButton>(sheet.page(3), info.pageButton)->click();
        }
        sheet.reject();
    }
};

QTEST_MAIN(EditorSheetUiTest)
#include "editor_sheet_ui_test.moc"
