// `k52gen FILE`: the file opens as the Open command opens a chosen one; a file that cannot be read (a
// FIFO and a device among them, never waited on) is named with the reason, and the start-up template stays.
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <fstream>

#include <sys/stat.h>

#include "shell/MainWindow.h"
#include "support/UiTestSupport.h"
#include "template/TemplateFile.h"
#include "util/RegularFile.h"

using namespace k52;
using k52::test::ScriptedFileDialogs;
using k52::test::ScriptedMessages;

class OpenFromCommandLineTest : public QObject {
    Q_OBJECT

    struct Fixture {
        ScriptedMessages messages;
        ScriptedFileDialogs dialogs;
        std::unique_ptr<MainWindow> window;
        int editorOpened = 0;
        ApplicationTemplate startup{};

        Fixture() {
            DesktopServices services;
            services.messages = &messages;
            services.templateDialogs = &dialogs;
            window = std::make_unique<MainWindow>(services);
            window->setEditorSheet([this](QWidget*, TemplateDocument&, EditorHost&) {
                ++editorOpened;
                return 0;
            });
            startup = window->document().tmpl;
        }
        bool StillStartup() const {
            return std::memcmp(&window->document().tmpl, &startup, sizeof startup) == 0 &&
                   window->document().templatePath.empty() && !window->document().templateModified;
        }
    };

    QTemporaryDir dir_;

    std::string File(const char* name) const {
        return dir_.filePath(QString::fromLatin1(name)).toStdString();
    }

  private slots:
    void aTemplateOpensWithTheEditorAsOpenDoes() {
        Fixture f;
        ApplicationTemplate saved = f.startup;
        saved.portSettings.comPort = 3;
        saved.portSettings.baudRate = 2;
        const std::string path = File("plan.ATC");
        QVERIFY(WriteTemplateFile(path, saved));
        f.window->OpenFromCommandLine(path);
        QCOMPARE(f.editorOpened, 1);
        QCOMPARE(f.window->document().templatePath, path);
        QCOMPARE(f.window->document().tmpl.portSettings.comPort, 3);
        QCOMPARE(f.window->document().tmpl.portSettings.baudRate, 2);
        QVERIFY(f.messages.shown.empty());
        QCOMPARE(f.dialogs.opens, 0);  // no dialog was asked
    }

    void aDamagedTemplateGivesTheFormatMessage() {
        Fixture f;
        const std::string path = File("damaged.ATC");
        std::ofstream(path) << "Kxx-3.10 but far too short";
        f.window->OpenFromCommandLine(path);
        QCOMPARE(f.messages.texts(), std::vector<std::string>{"檔案格式錯誤!!"});
        QCOMPARE(f.messages.shown[0].title, std::string("錯誤"));
        QCOMPARE(f.editorOpened, 0);
        QVERIFY(f.StillStartup());
    }

    void aFileThatCannotBeReadIsNamedWithTheReason() {
        const std::pair<std::string, const char*> cases[] = {
            {File("missing.ATC"), "No such file or directory"},
            {dir_.path().toStdString(), "Is a directory"},
            {File("plain") + "/plan.ATC", "Not a directory"},
            {File("fifo"), kNotRegularFileReason},  // no writer: the window must not wait for one
            {"/dev/zero", kNotRegularFileReason},
        };
        std::ofstream(File("plain")) << "";
        QCOMPARE(::mkfifo(File("fifo").c_str(), 0600), 0);
        for (const auto& [path, reason] : cases) {
            Fixture f;
            f.window->OpenFromCommandLine(path);
            QCOMPARE(f.messages.texts(), std::vector<std::string>{"無法開啟檔案 " + path + " : " + reason});
            QCOMPARE(f.messages.shown[0].title, std::string("錯誤"));
            QCOMPARE(f.editorOpened, 0);
            QVERIFY(f.StillStartup());
        }
    }
};

QTEST_MAIN(OpenFromCommandLineTest)
#include "open_from_command_line_test.moc"
