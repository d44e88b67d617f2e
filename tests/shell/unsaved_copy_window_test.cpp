// The unsaved template's recovery copy in the desktop program: kept when the program is ended, offered
// and restored by the next one, gone once the changes are saved or discarded.
#include <QTest>
#include <cstring>
#include <filesystem>

#include "shell/MainWindow.h"
#include "support/TempDir.h"
#include "support/UiTestSupport.h"
#include "template/Cp950.h"
#include "template/TemplateFile.h"

using namespace k52;
using k52::test::ScriptedFileDialogs;
using k52::test::ScriptedMessages;

class UnsavedCopyWindowTest : public QObject {
    Q_OBJECT

    struct Desk {
        test::TempDir dir;
        ScriptedMessages messages;
        ScriptedFileDialogs dialogs;
        DesktopServices Services() {
            DesktopServices s;
            s.messages = &messages;
            s.templateDialogs = &dialogs;
            s.unsavedFolder = dir("state");
            return s;
        }
        // The template as the editor leaves it after a change to Menu 1's title.
        static void Edit(MainWindow& w) {
            w.setEditorSheet([](QWidget*, TemplateDocument& doc, EditorHost& host) {
                WriteFieldText(doc.tmpl.menu(1).title, Utf8ToCp950("盤點").bytes);
                doc.templateModified = true;
                host.TemplateApplied();
                return 1;
            });
            w.OnCommand(kCmdEdit);
        }
        int Copies() const {
            int n = 0;
            std::error_code ec;
            for (const auto& e : std::filesystem::directory_iterator(dir.path() / "state", ec))
                n += e.path().extension() == ".ATC";
            return n;
        }
    };

  private slots:
    void anEndedRunsChangesComeBackAtTheNextStartUntilSaved() {
        Desk desk;
        std::vector<unsigned char> edited;
        {
            MainWindow killed(desk.Services());
            killed.document().templatePath = desk.dir("plan.ATC");
            Desk::Edit(killed);
            killed.KeepUnsavedCopy();  // what the stop request does before the program ends
            edited = SerializeTemplate(killed.document().tmpl);
        }  // gone without its close, as a killed program is
        QCOMPARE(desk.Copies(), 1);

        MainWindow next(desk.Services());
        desk.messages.answers = {MessageAnswer::Yes};
        next.OfferUnsavedCopies();
        QCOMPARE(desk.messages.shown.size(), std::size_t{1});
        QCOMPARE(desk.messages.shown[0].buttons, MessageButtons::YesNo);
        QCOMPARE(desk.messages.shown[0].detail, desk.dir("plan.ATC"));
        QVERIFY(SerializeTemplate(next.document().tmpl) == edited);
        QCOMPARE(next.document().templatePath, desk.dir("plan.ATC"));
        QVERIFY(next.document().templateModified);
        QVERIFY(next.isWindowModified());
        QCOMPARE(desk.Copies(), 1);  // now the restoring run's own

        next.OnCommand(kCmdSave);
        QCOMPARE(desk.Copies(), 0);
        ApplicationTemplate saved{};
        QCOMPARE(ReadTemplateFile(desk.dir("plan.ATC"), saved), TemplateReadResult::Ok);
        QVERIFY(SerializeTemplate(saved) == edited);
    }

    void discardingTheChangesOrTheOfferRemovesTheCopy() {
        Desk desk;
        {
            MainWindow w(desk.Services());
            Desk::Edit(w);
            w.KeepUnsavedCopy();
            QCOMPARE(desk.Copies(), 1);
            desk.messages.answers = {MessageAnswer::No};  // "save the current template?" No
            QVERIFY(w.close());
            QCOMPARE(desk.Copies(), 0);
            w.KeepUnsavedCopy();  // still marked modified, but discarded: nothing to keep
            QCOMPARE(desk.Copies(), 0);
        }
        {
            MainWindow w(desk.Services());
            Desk::Edit(w);
            w.KeepUnsavedCopy();
        }
        MainWindow next(desk.Services());
        desk.messages.shown.clear();
        desk.messages.answers = {MessageAnswer::No};
        next.OfferUnsavedCopies();
        QCOMPARE(desk.messages.shown.size(), std::size_t{1});
        QCOMPARE(desk.Copies(), 0);
        QVERIFY(!next.document().templateModified);
    }
};

QTEST_MAIN(UnsavedCopyWindowTest)
#include "unsaved_copy_window_test.moc"
