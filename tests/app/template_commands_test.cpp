// The Open, Save and Save As commands: what they write, what they refuse, what they tell the user.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <deque>

#include "app/TemplateCommands.h"
#include "support/FileTestSupport.h"
#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

using test::ReadBytes;
using test::WriteBytes;
namespace fs = std::filesystem;

// Answers dialogs from a script and records every message.
struct ScriptedUser : TemplateFileDialogs, MessageBoxes {
    std::deque<std::optional<std::string>> openAnswers, saveAnswers;
    std::vector<std::string> messages;

    std::optional<std::string> ChooseTemplateToOpen() override { return Pop(openAnswers); }
    std::optional<std::string> ChooseTemplateToSave() override { return Pop(saveAnswers); }
    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon,
                              MessageButtons) override {
        messages.push_back(std::string(title) + ": " + std::string(text));
        return MessageAnswer::Ok;
    }
    static std::optional<std::string> Pop(std::deque<std::optional<std::string>>& q) {
        if (q.empty()) return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};

using TemplateCommandsTest = test::TempFolderTest;

TEST_F(TemplateCommandsTest, NewTemplateSavesAndOpensByteForByte) {
    TemplateDocument doc;
    doc.tmpl = StartupTemplate();
    WriteFieldText(doc.tmpl.menu(1).title, "選單一", 15);
    ScriptedUser user;
    user.saveAnswers.push_back((dir_ / "plan").string());
    ASSERT_EQ(SaveTemplate(doc, user, user), 1);  // empty path: behaves as save as
    EXPECT_EQ(doc.templatePath, (dir_ / "plan.ATC").string());

    std::vector<unsigned char> file = ReadBytes(dir_ / "plan.ATC");
    ASSERT_EQ(file.size(), 8734u);
    EXPECT_EQ(std::memcmp(file.data(), "Kxx-3.10", 8), 0);
    EXPECT_EQ(std::memcmp(file.data() + 8, doc.tmpl.bytes(), kTemplateSize), 0);
    for (size_t i = 8634; i < 8734; ++i) ASSERT_EQ(file[i], 0) << i;
    // Blocks at their file offsets: separators at 8602, password at 8624.
    EXPECT_EQ(file[8602], 44);
    EXPECT_EQ(file[11], 0x9B);

    TemplateDocument reopened;
    user.openAnswers.push_back(doc.templatePath);
    ASSERT_EQ(OpenTemplate(reopened, user, user), 1);
    EXPECT_EQ(std::memcmp(&reopened.tmpl, &doc.tmpl, sizeof doc.tmpl), 0);
    EXPECT_EQ(reopened.templatePath, doc.templatePath);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(TemplateCommandsTest, RefusesWrongMagicAndTruncatedFilesChangingNothing) {
    ApplicationTemplate other = StartupTemplate();
    other.startPosition = 1;
    std::vector<unsigned char> good = SerializeTemplate(other);

    std::vector<unsigned char> lowerMagic = good;
    lowerMagic[0] = 'k';
    std::vector<unsigned char> truncated(good.begin(), good.begin() + 8633);
    std::vector<unsigned char> tiny(good.begin(), good.begin() + 4);
    for (const auto& bytes : {lowerMagic, truncated, tiny}) {
        WriteBytes(dir_ / "bad.ATC", bytes);
        TemplateDocument doc;
        doc.tmpl = StartupTemplate();
        doc.templatePath = "/previous/path.ATC";
        ApplicationTemplate before = doc.tmpl;
        ScriptedUser user;
        user.openAnswers.push_back((dir_ / "bad.ATC").string());
        EXPECT_EQ(OpenTemplate(doc, user, user), 0);
        EXPECT_EQ(std::memcmp(&before, &doc.tmpl, sizeof before), 0);
        EXPECT_EQ(doc.templatePath, "/previous/path.ATC");
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_EQ(user.messages[0], "錯誤: 檔案格式錯誤!!");
    }
}

TEST_F(TemplateCommandsTest, MissingFileAndCancelChangeNothingSilently) {
    TemplateDocument doc;
    ScriptedUser user;
    user.openAnswers.push_back((dir_ / "nope.ATC").string());
    EXPECT_EQ(OpenTemplate(doc, user, user), 0);
    EXPECT_EQ(OpenTemplate(doc, user, user), 0);  // cancelled
    EXPECT_TRUE(doc.templatePath.empty());
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(TemplateCommandsTest, OpeningAFifoOrDeviceNeitherWaitsNorChangesAnything) {
    ASSERT_EQ(::mkfifo((dir_ / "fifo.ATC").c_str(), 0644), 0);
    for (const std::string& path : {(dir_ / "fifo.ATC").string(), std::string("/dev/zero")}) {
        TemplateDocument doc;
        doc.tmpl = StartupTemplate();
        doc.templatePath = "/previous/path.ATC";
        const ApplicationTemplate before = doc.tmpl;
        ScriptedUser user;
        user.openAnswers.push_back(path);
        EXPECT_EQ(OpenTemplate(doc, user, user), 0) << path;
        EXPECT_EQ(std::memcmp(&before, &doc.tmpl, sizeof before), 0) << path;
        EXPECT_EQ(doc.templatePath, "/previous/path.ATC");
        EXPECT_TRUE(user.messages.empty()) << "refused as a file that cannot be opened";
    }
}

TEST_F(TemplateCommandsTest, SaveAsNamingRule) {
    struct Case {
        const char* chosen;
        const char* written;
    } cases[] = {{"plan.ATC", "plan.ATC"},
                 {"plan.atc", "plan.atc"},
                 {"plan.Atc", "plan.Atc"},
                 {"stock.txt", "stock.txt.ATC"},
                 {"plan.ATC.bak", "plan.ATC.bak.ATC"},
                 {"a", "a.ATC"},
                 {"xATC", "xATC.ATC"}};
    for (const Case& c : cases) {
        TemplateDocument doc;
        doc.tmpl = StartupTemplate();
        ScriptedUser user;
        user.saveAnswers.push_back((dir_ / c.chosen).string());
        EXPECT_EQ(SaveTemplateAs(doc, user, user), 1) << c.chosen;
        EXPECT_EQ(doc.templatePath, (dir_ / c.written).string());
        EXPECT_TRUE(fs::exists(dir_ / c.written)) << c.written;
    }
}

TEST_F(TemplateCommandsTest, RefusesPathsLongerThan255Bytes) {
    TemplateDocument doc;
    doc.templatePath = "/kept.ATC";
    ScriptedUser user;
    std::string name = dir_.string() + "/" + std::string(255, 'n');
    user.saveAnswers.push_back(name);
    EXPECT_EQ(SaveTemplateAs(doc, user, user), 0);
    EXPECT_EQ(doc.templatePath, "/kept.ATC");
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].rfind("錯誤: ", 0), 0u);
}

TEST_F(TemplateCommandsTest, FailedSaveKeepsTheEarlierFileAndTellsTheUser) {
    TemplateDocument doc;
    doc.tmpl = StartupTemplate();
    doc.templatePath = (dir_ / "kept.ATC").string();
    ScriptedUser user;
    ASSERT_EQ(SaveTemplate(doc, user, user), 1);
    std::vector<unsigned char> before = ReadBytes(dir_ / "kept.ATC");
    doc.tmpl.startPosition = 1;

    // The folder becomes unwritable and the file is not the saver's.
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
    auto attempt = [&] {
        ScriptedUser u;
        int r = SaveTemplate(doc, u, u);
        return r == 0 && u.messages.size() == 1 && u.messages[0] == "錯誤: 無法儲存檔案!!";
    };
    const bool reported = test::RunUnprivileged(attempt);
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(reported);
    EXPECT_EQ(ReadBytes(dir_ / "kept.ATC"), before);
}

TEST_F(TemplateCommandsTest, FailedSaveIntoMissingFolderReports) {
    TemplateDocument doc;
    doc.templatePath = (dir_ / "no-such-folder" / "x.ATC").string();
    ScriptedUser user;
    EXPECT_EQ(SaveTemplate(doc, user, user), 0);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], "錯誤: 無法儲存檔案!!");
    EXPECT_TRUE(fs::is_empty(dir_)) << "no temporary file is left behind";
}

}  // namespace
}  // namespace k52
