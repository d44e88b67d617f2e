// The shell's command rules, without windows: the save prompt, the modified flag and what each command
// opens.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "shell/Shell.h"
#include "support/Messages.h"
#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

namespace fs = std::filesystem;

using test::ScriptedMessages;
using ScriptedDialogs = test::ScriptedFileDialogs;

class RecordingActions : public ShellActions {
  public:
    Shell* shell = nullptr;
    std::vector<std::string> calls;
    int closed = 0;
    bool OpenEditor() override {
        calls.push_back("editor");
        return editorAnswer;
    }
    bool editorAnswer = true;
    void OpenPortSettings() override { calls.push_back("port"); }
    void RunDownload(Transport t, Payload p) override {
        calls.push_back("download " + std::to_string(t == Transport::Cradle) + " " +
                        std::to_string(p == Payload::Lookup));
    }
    void RunReceive(Transport t) override {
        calls.push_back("receive " + std::to_string(t == Transport::Cradle));
    }
    void ShowAbout() override { calls.push_back("about"); }
    void ChangesSettled() override { ++settled; }
    int settled = 0;
    int Zoom() const override { return 100; }
    void SetZoom(int percent) override { calls.push_back("zoom " + std::to_string(percent)); }
    void RequestClose() override {
        calls.push_back("close");
        if (shell->CloseRequest()) ++closed;
    }
};

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("k52-shell-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        actions_.shell = &shell_;
        shell_.Startup();
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Something the user typed into the editor, so that a reset is visible.
    void Scribble() {
        WriteFieldText(doc_.tmpl.menu(1).title, Utf8ToCp950("盤點").bytes);
        doc_.tmpl.startPosition = 1;
        doc_.tmpl.portSettings = {3, 4};
        doc_.tmpl.barcodeSettings.scanTimeout = 9;
    }
    bool FormsAsNew() {
        ApplicationTemplate fresh = doc_.tmpl;
        NewTemplateReset(fresh);
        return std::memcmp(&fresh, &doc_.tmpl, sizeof fresh) == 0;
    }

    fs::path dir_;
    TemplateDocument doc_;
    ScriptedMessages messages_;
    ScriptedDialogs dialogs_;
    RecordingActions actions_;
    Shell shell_{doc_, messages_, dialogs_, actions_};
};

TEST_F(ShellTest, StartsWithDefaultsAndClosesWithoutAsking) {
    EXPECT_EQ(std::memcmp(doc_.tmpl.barcodeSettings.bytes(), kDefaultBarcodeSettings, 24), 0);
    EXPECT_EQ(doc_.tmpl.fieldSeparators.separator1, 44);  // a new-template default
    EXPECT_EQ(doc_.tmpl.form(3).nextTarget, 3);
    EXPECT_TRUE(doc_.templatePath.empty());
    EXPECT_FALSE(doc_.templateModified);
    EXPECT_TRUE(shell_.CloseRequest());
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ShellTest, CommandsReachWhatTheyOpen) {
    struct Case {
        int id;
        const char* call;
    } cases[] = {
        {2000, "editor"},       {2100, "port"},         {3020, "download 0 0"}, {3021, "download 1 0"},
        {3040, "download 0 1"}, {3041, "download 1 1"}, {3030, "receive 0"},    {3031, "receive 1"},
        {9030, "about"},        {1090, "close"},
    };
    for (const Case& c : cases) {
        actions_.calls.clear();
        shell_.OnCommand(c.id);
        ASSERT_EQ(actions_.calls.size(), 1u) << c.id;
        EXPECT_EQ(actions_.calls[0], c.call) << c.id;
    }
    actions_.calls.clear();
    for (int id : {0, 1000, 1011, 1050, 3022, 3032, 9031, 65535}) shell_.OnCommand(id);
    EXPECT_TRUE(actions_.calls.empty());
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ShellTest, SavePromptOnCloseWhenModified) {
    doc_.templateModified = true;

    messages_.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(shell_.CloseRequest());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "儲存目前程式嗎??");
    EXPECT_EQ(messages_.shown[0].title, "Varnell's K52 Application Generator");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(dialogs_.saves, 0);

    messages_.answers = {MessageAnswer::No};
    EXPECT_TRUE(shell_.CloseRequest());
    EXPECT_EQ(dialogs_.saves, 0);

    // Yes on an untitled template asks for a name; cancelling that still lets the close go on.
    messages_.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(shell_.CloseRequest());
    EXPECT_EQ(dialogs_.saves, 1);
    EXPECT_TRUE(doc_.templateModified);
}

TEST_F(ShellTest, YesInThePromptSavesButKeepsTheFlag) {
    doc_.templateModified = true;
    doc_.templatePath = (dir_ / "plan.ATC").string();
    messages_.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(shell_.CloseRequest());
    EXPECT_EQ(dialogs_.saves, 0);
    EXPECT_EQ(fs::file_size(doc_.templatePath), 8734u);
    EXPECT_TRUE(doc_.templateModified);

    // A save that fails inside the prompt does not stop the close either.
    doc_.templatePath = (dir_ / "missing-folder" / "plan.ATC").string();
    messages_.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(shell_.CloseRequest());
}

TEST_F(ShellTest, ExitAsksLikeTheWindowClose) {
    doc_.templateModified = true;
    messages_.answers = {MessageAnswer::Cancel};
    shell_.OnCommand(kCmdExit);
    EXPECT_EQ(actions_.closed, 0);
    messages_.answers = {MessageAnswer::No};
    shell_.OnCommand(kCmdExit);
    EXPECT_EQ(actions_.closed, 1);
    EXPECT_EQ(messages_.shown.size(), 2u);
}

TEST_F(ShellTest, NewResetsButKeepsBarcodeAndPortThenEdits) {
    Scribble();
    doc_.templatePath = "/somewhere/old.ATC";
    doc_.templateModified = true;

    messages_.answers = {MessageAnswer::Cancel};
    shell_.OnCommand(kCmdNew);
    EXPECT_TRUE(actions_.calls.empty());
    EXPECT_EQ(doc_.templatePath, "/somewhere/old.ATC");
    EXPECT_TRUE(doc_.templateModified);
    EXPECT_EQ(doc_.tmpl.startPosition, 1);

    messages_.answers = {MessageAnswer::No};
    shell_.OnCommand(kCmdNew);
    EXPECT_EQ(actions_.calls, std::vector<std::string>{"editor"});
    EXPECT_TRUE(doc_.templatePath.empty());
    EXPECT_FALSE(doc_.templateModified);
    EXPECT_TRUE(FormsAsNew());
    EXPECT_EQ(doc_.tmpl.menu(1).title[0], 0);
    EXPECT_EQ(doc_.tmpl.portSettings.comPort, 3);
    EXPECT_EQ(doc_.tmpl.portSettings.baudRate, 4);
    EXPECT_EQ(doc_.tmpl.barcodeSettings.scanTimeout, 9);

    // Unmodified: no question at all.
    actions_.calls.clear();
    shell_.OnCommand(kCmdNew);
    EXPECT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(actions_.calls, std::vector<std::string>{"editor"});
}

TEST_F(ShellTest, OpenEditsOnlyAfterATemplateWasReadAndKeepsTheFlag) {
    for (bool modified : {false, true}) {
        doc_.templateModified = modified;
        messages_.answers = {MessageAnswer::No};
        dialogs_.openAnswer.reset();
        shell_.OnCommand(kCmdOpen);
        EXPECT_TRUE(actions_.calls.empty());
        EXPECT_EQ(doc_.templateModified, modified);
    }

    // A file saved with a menu title, opened over a template that was changed since.
    Scribble();
    fs::path file = dir_ / "stock.ATC";
    ASSERT_TRUE(WriteTemplateFile(file.string(), doc_.tmpl));
    NewTemplateReset(doc_.tmpl);
    doc_.templateModified = true;
    messages_.answers = {MessageAnswer::No};
    dialogs_.openAnswer = file.string();
    shell_.OnCommand(kCmdOpen);
    EXPECT_EQ(actions_.calls, std::vector<std::string>{"editor"});
    EXPECT_EQ(doc_.templatePath, file.string());
    EXPECT_EQ(FieldUtf8(doc_.tmpl.menu(1).title), "盤點");
    EXPECT_TRUE(doc_.templateModified);

    // Cancel in the prompt: no open dialog at all.
    int opens = dialogs_.opens;
    messages_.answers = {MessageAnswer::Cancel};
    shell_.OnCommand(kCmdOpen);
    EXPECT_EQ(dialogs_.opens, opens);
}

TEST_F(ShellTest, OpenRefusesAForeignFileWithoutEditing) {
    fs::path file = dir_ / "other.ATC";
    std::ofstream(file, std::ios::binary) << std::string(8734, 'k');
    dialogs_.openAnswer = file.string();
    shell_.OnCommand(kCmdOpen);
    EXPECT_TRUE(actions_.calls.empty());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "檔案格式錯誤!!");
    EXPECT_EQ(messages_.shown[0].title, "錯誤");
    EXPECT_TRUE(doc_.templatePath.empty());
}

TEST_F(ShellTest, SaveClearsTheFlagOnlyWhenTheFileWasWritten) {
    doc_.templateModified = true;
    shell_.OnCommand(kCmdSave);  // untitled: asks for a name, cancelled
    EXPECT_EQ(dialogs_.saves, 1);
    EXPECT_TRUE(doc_.templateModified);

    dialogs_.saveAnswer = (dir_ / "plan.txt").string();
    shell_.OnCommand(kCmdSave);
    EXPECT_FALSE(doc_.templateModified);
    EXPECT_EQ(doc_.templatePath, (dir_ / "plan.txt.ATC").string());
    EXPECT_TRUE(fs::exists(dir_ / "plan.txt.ATC"));

    // Titled: no dialog.
    doc_.templateModified = true;
    shell_.OnCommand(kCmdSave);
    EXPECT_EQ(dialogs_.saves, 2);
    EXPECT_FALSE(doc_.templateModified);

    // Save As always asks; a cancelled one changes neither path nor flag.
    doc_.templateModified = true;
    dialogs_.saveAnswer.reset();
    shell_.OnCommand(kCmdSaveAs);
    EXPECT_EQ(dialogs_.saves, 3);
    EXPECT_TRUE(doc_.templateModified);
    EXPECT_EQ(doc_.templatePath, (dir_ / "plan.txt.ATC").string());

    dialogs_.saveAnswer = (dir_ / "copy.atc").string();
    shell_.OnCommand(kCmdSaveAs);
    EXPECT_FALSE(doc_.templateModified);
    EXPECT_EQ(doc_.templatePath, (dir_ / "copy.atc").string());

    // A file that cannot be written keeps the flag, so the user is asked again later.
    doc_.templateModified = true;
    doc_.templatePath = (dir_ / "no-such-folder" / "x.ATC").string();
    shell_.OnCommand(kCmdSave);
    EXPECT_TRUE(doc_.templateModified);
}

// The recovery copy goes only when the changes are on disk or the user threw them away.
TEST_F(ShellTest, ChangesAreSettledOnlyBySavingThemOrDiscardingThem) {
    struct Case {
        const char* what;
        std::vector<MessageAnswer> answers;
        std::string path;  // the template's file; "missing" is one that cannot be written
        bool settled;
    } cases[] = {
        {"Cancel in the question", {MessageAnswer::Cancel}, "plan.ATC", false},
        {"No: discarded", {MessageAnswer::No}, "plan.ATC", true},
        {"Yes and saved", {MessageAnswer::Yes}, "plan.ATC", true},
        {"Yes, but the save failed", {MessageAnswer::Yes}, "missing", false},
        {"Yes, untitled, no name given", {MessageAnswer::Yes}, "", false},
    };
    for (const Case& c : cases) {
        doc_.templateModified = true;
        doc_.templatePath = c.path.empty()        ? ""
                            : c.path == "missing" ? (dir_ / "missing" / "plan.ATC").string()
                                                  : (dir_ / c.path).string();
        messages_.answers.assign(c.answers.begin(), c.answers.end());
        actions_.settled = 0;
        shell_.CloseRequest();
        EXPECT_EQ(actions_.settled, c.settled ? 1 : 0) << c.what;
    }
    doc_.templateModified = true;
    doc_.templatePath = (dir_ / "plan.ATC").string();
    actions_.settled = 0;
    shell_.OnCommand(kCmdSave);
    EXPECT_EQ(actions_.settled, 1);
    doc_.templatePath = (dir_ / "missing" / "plan.ATC").string();
    shell_.OnCommand(kCmdSave);
    EXPECT_EQ(actions_.settled, 1);
}

// Cancel in the sheet after New or Open puts back the template the command replaced, path and flag included.
TEST_F(ShellTest, CancelAfterNewOrOpenPutsThePreviousTemplateBack) {
    fs::path file = dir_ / "stock.ATC";
    ASSERT_TRUE(WriteTemplateFile(file.string(), doc_.tmpl));
    Scribble();
    doc_.templatePath = "/somewhere/old.ATC";
    doc_.templateModified = true;
    const ApplicationTemplate before = doc_.tmpl;
    actions_.editorAnswer = false;
    dialogs_.openAnswer = file.string();
    for (int command : {kCmdNew, kCmdOpen}) {
        messages_.answers = {MessageAnswer::No};
        shell_.OnCommand(command);
        EXPECT_EQ(0, std::memcmp(&before, &doc_.tmpl, sizeof before)) << command;
        EXPECT_EQ(doc_.templatePath, "/somewhere/old.ATC");
        EXPECT_TRUE(doc_.templateModified);
    }
    // Confirmed, the opened one stays.
    actions_.editorAnswer = true;
    messages_.answers = {MessageAnswer::No};
    shell_.OnCommand(kCmdOpen);
    EXPECT_EQ(doc_.templatePath, file.string());
}

// Opened and saved files come first in the recent list, which opens them again; one that is gone drops out.
TEST_F(ShellTest, RecentFilesListTheLastOpenedAndSavedAndOpenThem) {
    fs::path a = dir_ / "a.ATC", b = dir_ / "b.ATC";
    ASSERT_TRUE(WriteTemplateFile(a.string(), doc_.tmpl));
    Scribble();
    ASSERT_TRUE(WriteTemplateFile(b.string(), doc_.tmpl));
    dialogs_.openAnswer = a.string();
    shell_.OnCommand(kCmdOpen);
    dialogs_.saveAnswer = b.string();
    shell_.OnCommand(kCmdSaveAs);
    EXPECT_EQ(shell_.recentFiles().paths(), (std::vector<std::string>{b.string(), a.string()}));

    actions_.calls.clear();
    shell_.OnCommand(kCmdRecentFirst + 1);
    EXPECT_EQ(doc_.templatePath, a.string());
    EXPECT_EQ(actions_.calls, std::vector<std::string>{"editor"});
    EXPECT_EQ(shell_.recentFiles().paths().front(), a.string());

    fs::remove(b);
    messages_.shown.clear();
    shell_.OnCommand(kCmdRecentFirst + 1);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_NE(messages_.shown[0].text.find(b.string()), std::string::npos);
    EXPECT_EQ(shell_.recentFiles().paths(), std::vector<std::string>{a.string()});
    EXPECT_EQ(doc_.templatePath, a.string());
}

TEST(RecentFiles, KeepsEightNewestFirstWithoutRepeats) {
    RecentFiles recent;
    for (int i = 1; i <= 10; ++i) recent.Add("/t/" + std::to_string(i));
    recent.Add("/t/5");
    recent.Add("");
    EXPECT_EQ(recent.paths(),
              (std::vector<std::string>{"/t/5", "/t/10", "/t/9", "/t/8", "/t/7", "/t/6", "/t/4", "/t/3"}));
    recent.Set({"/x", "", "/x", "/y", "1", "2", "3", "4", "5", "6", "7"});
    EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/x", "/y", "1", "2", "3", "4", "5", "6"}));
}

}  // namespace
}  // namespace k52
