// One language at a time: under an English locale our menus, message boxes, editor and Qt's own buttons
// and file dialogs read English; under zh_TW or C they all read the program's own Chinese.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/TransferWording.h"
#include "editor/ui/EditorSheetDialog.h"
#include "shell/MainWindow.h"
#include "shell/QtDialogs.h"
#include "shell/Translations.h"
#include "support/UiTestSupport.h"
#include "template/Defaults.h"

using namespace k52;
using k52::test::OnNextModal;

namespace {

struct NoHost : EditorHost {
    void TemplateApplied() override {}
};

struct Seen {
    QString title, text, button;
    QStringList filters;
    QString lookIn;
};

}  // namespace

class TranslationsTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { InstallTranslations(Language::Chinese); }

    void everythingFollowsTheLocale_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QStringList>("expected");
        // first item, a submenu, message title, text, its button, editor tabs 0 and 3, Qt's OK, "Look in"
        const QStringList english = {"New\tCtrl+N", "Zoom",  "Error",    "The terminal is not ready!",
                                     "OK",          "Forms", "Barcodes", "OK",
                                     "Look in:"};
        const QStringList chinese = {"開新檔案\tCtrl+N", "縮放", "錯誤",
                                     "終端機尚未就緒!!", "確定", "表單",
                                     "條碼設定",         "確定", "尋找於："};
        QTest::newRow("en_US.UTF-8") << QByteArray("en_US.UTF-8") << english;
        QTest::newRow("zh_TW.UTF-8") << QByteArray("zh_TW.UTF-8") << chinese;
        QTest::newRow("C") << QByteArray("C") << chinese;
    }

    void everythingFollowsTheLocale() {
        QFETCH(QByteArray, locale);
        QFETCH(QStringList, expected);
        InstallTranslations(LanguageFromLocale(nullptr, nullptr, locale.constData()));
        QStringList shown;

        std::unique_ptr<QMenu> menu(BuildCommandMenu(nullptr));
        shown << menu->actions().at(0)->text();
        QString submenu;
        for (QAction* a : menu->actions())
            if (a->menu() && a->menu()->objectName() != QLatin1String("recentFiles") && submenu.isEmpty())
                submenu = a->text();
        shown << submenu;

        Seen seen;
        OnNextModal([&seen](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            seen.title = box->windowTitle();
            seen.text = box->text();
            seen.button = box->buttons().value(0)->text();
            box->buttons().value(0)->click();
        });
        QtMessageBoxes messages;
        const NoticeBox notReady = WordNotice(NoticeKind::TerminalNotReady);
        messages.ShowMessage(notReady.text, notReady.title, notReady.icon, MessageButtons::Ok);
        shown << seen.title << seen.text << seen.button;

        TemplateDocument doc;
        doc.tmpl = StartupTemplate();
        NoHost host;
        EditorSheetDialog sheet(nullptr, doc, host);
        shown << sheet.tabs()->tabText(0) << sheet.tabs()->tabText(3);
        shown << sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text();

        OnNextModal([&seen](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            seen.filters = dialog->nameFilters();
            if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("lookInLabel")))
                seen.lookIn = label->text();
            dialog->reject();
        });
        QtTemplateFileDialogs files(nullptr);
        QVERIFY(!files.ChooseTemplateToOpen());
        shown << seen.lookIn;
        QCOMPARE(shown, expected);
    }

    // Open and Save name the template file type alike.
    void bothTemplateDialogsNameTheFileTypeAlike() {
        QStringList first;
        QtTemplateFileDialogs files(nullptr);
        for (bool save : {false, true}) {
            OnNextModal([&first](QWidget* w) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                QVERIFY(dialog);
                first << dialog->nameFilters().value(0);
                dialog->reject();
            });
            QVERIFY(!(save ? files.ChooseTemplateToSave() : files.ChooseTemplateToOpen()));
        }
        QCOMPARE(first, QStringList({"Application Template Files (*.ATC) (*.ATC)",
                                     "Application Template Files (*.ATC) (*.ATC)"}));
    }
};

QTEST_MAIN(TranslationsTest)
#include "translations_test.moc"
