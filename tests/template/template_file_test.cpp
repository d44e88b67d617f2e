#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>

#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const fs::path& p, const std::vector<unsigned char>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

ApplicationTemplate StartupTemplate() {
    ApplicationTemplate t{};
    ApplyBarcodeDefaults(t);
    NewTemplateReset(t);
    return t;
}

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

class TemplateFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("k52-file-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(TemplateFileTest, NewTemplateSavesAndOpensByteForByte) {
    TemplateDocument doc;
    doc.tmpl = StartupTemplate();
    WriteFieldText(doc.tmpl.menu(1).title, "選單一", 15);
    ScriptedUser user;
    user.saveAnswers.push_back((dir_ / "plan").string());
    ASSERT_EQ(SaveTemplate(doc, user, user), 1);  // empty path: behaves as save as
    EXPECT_EQ(doc.templatePath, (dir_ / "plan.ATC").string());

    std::vector<unsigned char> file = ReadAll(dir_ / "plan.ATC");
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

TEST_F(TemplateFileTest, RefusesWrongMagicAndTruncatedFilesChangingNothing) {
    ApplicationTemplate other = StartupTemplate();
    other.startPosition = 1;
    std::vector<unsigned char> good = SerializeTemplate(other);

    std::vector<unsigned char> lowerMagic = good;
    lowerMagic[0] = 'k';
    std::vector<unsigned char> truncated(good.begin(), good.begin() + 8633);
    std::vector<unsigned char> tiny(good.begin(), good.begin() + 4);
    for (const auto& bytes : {lowerMagic, truncated, tiny}) {
        WriteAll(dir_ / "bad.ATC", bytes);
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

TEST_F(TemplateFileTest, AcceptsTheShortestCompleteFileAndLongerOnes) {
    ApplicationTemplate other = StartupTemplate();
    other.startPosition = 1;
    std::vector<unsigned char> bytes = SerializeTemplate(other);
    std::vector<unsigned char> withoutTrailer(bytes.begin(), bytes.begin() + 8634);
    std::vector<unsigned char> longer = bytes;
    longer.resize(20000, 0x5A);
    for (const auto& b : {withoutTrailer, longer}) {
        WriteAll(dir_ / "x.ATC", b);
        ApplicationTemplate t{};
        ASSERT_EQ(ReadTemplateFile((dir_ / "x.ATC").string(), t), TemplateReadResult::Ok);
        EXPECT_EQ(std::memcmp(&t, &other, sizeof t), 0);
    }
}

TEST_F(TemplateFileTest, MissingFileAndCancelChangeNothingSilently) {
    TemplateDocument doc;
    ScriptedUser user;
    user.openAnswers.push_back((dir_ / "nope.ATC").string());
    EXPECT_EQ(OpenTemplate(doc, user, user), 0);
    EXPECT_EQ(OpenTemplate(doc, user, user), 0);  // cancelled
    EXPECT_TRUE(doc.templatePath.empty());
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(TemplateFileTest, SaveAsNamingRule) {
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

TEST_F(TemplateFileTest, RefusesPathsLongerThan255Bytes) {
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

TEST_F(TemplateFileTest, FailedSaveKeepsTheEarlierFileAndTellsTheUser) {
    TemplateDocument doc;
    doc.tmpl = StartupTemplate();
    doc.templatePath = (dir_ / "kept.ATC").string();
    ScriptedUser user;
    ASSERT_EQ(SaveTemplate(doc, user, user), 1);
    std::vector<unsigned char> before = ReadAll(dir_ / "kept.ATC");
    doc.tmpl.startPosition = 1;

    // The folder becomes unwritable; root ignores permissions, so the save then runs as nobody.
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
    auto attempt = [&] {
        ScriptedUser u;
        int r = SaveTemplate(doc, u, u);
        return r == 0 && u.messages.size() == 1 && u.messages[0] == "錯誤: 無法儲存檔案!!";
    };
    bool reported;
    if (::geteuid() == 0) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && attempt();
            ::_exit(ok ? 0 : 1);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        reported = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    } else {
        reported = attempt();
    }
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(reported);
    EXPECT_EQ(ReadAll(dir_ / "kept.ATC"), before);
}

TEST_F(TemplateFileTest, FailedSaveIntoMissingFolderReports) {
    TemplateDocument doc;
    doc.templatePath = (dir_ / "no-such-folder" / "x.ATC").string();
    ScriptedUser user;
    EXPECT_EQ(SaveTemplate(doc, user, user), 0);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], "錯誤: 無法儲存檔案!!");
    EXPECT_TRUE(fs::is_empty(dir_)) << "no temporary file is left behind";
}

TEST(TemplateParse, ArbitraryBytesNeverReadOutOfBounds) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 300; ++round) {
        std::vector<unsigned char> bytes(rng() % 9000);
        for (auto& b : bytes) b = static_cast<unsigned char>(rng());
        if (!bytes.empty() && rng() % 2)
            std::memcpy(bytes.data(), "Kxx-3.10", std::min<size_t>(8, bytes.size()));
        ApplicationTemplate t{};
        TemplateReadResult r = ParseTemplate(bytes.data(), bytes.size(), t);
        EXPECT_EQ(r == TemplateReadResult::Ok,
                  bytes.size() >= 8634 && std::memcmp(bytes.data(), "Kxx-3.10", 8) == 0);
    }
}

}  // namespace
}  // namespace k52
