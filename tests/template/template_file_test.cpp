// The template file: its bytes, and reading and saving it whatever the path names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <random>

#include "support/FileTestSupport.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

using test::ReadBytes;
using test::WriteBytes;
namespace fs = std::filesystem;

// A template whose file differs from the startup template's at a known byte.
ApplicationTemplate Changed() {
    ApplicationTemplate t = StartupTemplate();
    t.startPosition = 1;
    return t;
}

struct stat StatOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
    return st;
}

using TemplateFileTest = test::TempFolderTest;

TEST_F(TemplateFileTest, AcceptsTheShortestCompleteFileAndLongerOnes) {
    ApplicationTemplate other = StartupTemplate();
    other.startPosition = 1;
    std::vector<unsigned char> bytes = SerializeTemplate(other);
    std::vector<unsigned char> withoutTrailer(bytes.begin(), bytes.begin() + 8634);
    std::vector<unsigned char> longer = bytes;
    longer.resize(20000, 0x5A);
    for (const auto& b : {withoutTrailer, longer}) {
        WriteBytes(dir_ / "x.ATC", b);
        ApplicationTemplate t{};
        ASSERT_EQ(ReadTemplateFile((dir_ / "x.ATC").string(), t), TemplateReadResult::Ok);
        EXPECT_EQ(std::memcmp(&t, &other, sizeof t), 0);
    }
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

TEST_F(TemplateFileTest, SavingThroughSymbolicLinksWritesTheirTarget) {
    const std::vector<unsigned char> expected = SerializeTemplate(Changed());
    fs::create_directories(dir_ / "sub");
    struct Case {
        const char* link;
        const char* pointsTo;
        const char* target;
    } cases[] = {{"same.ATC", "real.ATC", "real.ATC"},             // relative, same folder
                 {"sub/up.ATC", "../real2.ATC", "real2.ATC"},      // relative to the link's own folder
                 {"chain.ATC", "same.ATC", "real.ATC"},            // a link to a link
                 {"dangling.ATC", "sub/new.ATC", "sub/new.ATC"}};  // a missing target is created
    WriteBytes(dir_ / "real.ATC", SerializeTemplate(StartupTemplate()));
    WriteBytes(dir_ / "real2.ATC", SerializeTemplate(StartupTemplate()));
    for (const Case& c : cases) {
        fs::create_symlink(c.pointsTo, dir_ / c.link);
        std::string reason;
        ASSERT_TRUE(WriteTemplateFile((dir_ / c.link).string(), Changed(), &reason))
            << c.link << ": " << reason;
        EXPECT_TRUE(fs::is_symlink(dir_ / c.link)) << c.link;
        EXPECT_EQ(fs::read_symlink(dir_ / c.link), c.pointsTo);
        EXPECT_EQ(ReadBytes(dir_ / c.target), expected) << c.link;
        fs::remove(dir_ / c.target);
        WriteBytes(dir_ / c.target, SerializeTemplate(StartupTemplate()));
    }
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir_), {}), 8)
        << "no temporary file is left behind";
}

TEST_F(TemplateFileTest, WhatIsNotARegularFileIsRefusedAndLeftAsItWas) {
    ASSERT_EQ(::mkfifo((dir_ / "fifo.ATC").c_str(), 0644), 0);
    fs::create_symlink("/dev/null", dir_ / "null.ATC");
    fs::create_directories(dir_ / "folder.ATC");
    struct Case {
        const char* name;
        const char* reason;
        bool (*kept)(const fs::path&);
    } cases[] = {
        {"fifo.ATC", "Not a regular file", [](const fs::path& p) { return fs::is_fifo(p); }},
        {"null.ATC", "Not a regular file", [](const fs::path& p) { return fs::is_character_file(p); }},
        {"folder.ATC", "Is a directory", [](const fs::path& p) { return fs::is_directory(p); }},
    };
    for (const Case& c : cases) {
        const fs::path p = dir_ / c.name;
        std::string reason;
        EXPECT_FALSE(WriteTemplateFile(p.string(), Changed(), &reason)) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
        EXPECT_TRUE(c.kept(p)) << c.name;

        // Reading never waits for a FIFO's writer or reads a device.
        ApplicationTemplate t{};
        reason.clear();
        EXPECT_EQ(ReadTemplateFile(p.string(), t, &reason), TemplateReadResult::CannotOpen) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
    }
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(TemplateFileTest, ReadingSaysWhyItFailed) {
    ApplicationTemplate t{};
    std::string reason;
    EXPECT_EQ(ReadTemplateFile((dir_ / "missing.ATC").string(), t, &reason), TemplateReadResult::CannotOpen);
    EXPECT_EQ(reason, "No such file or directory");

    WriteBytes(dir_ / "secret.ATC", SerializeTemplate(Changed()));
    fs::permissions(dir_ / "secret.ATC", fs::perms::none);
    const fs::path secret = dir_ / "secret.ATC";
    EXPECT_TRUE(test::RunUnprivileged([&] {
        ApplicationTemplate u{};
        std::string why;
        return ReadTemplateFile(secret.string(), u, &why) == TemplateReadResult::CannotOpen &&
               why == "Permission denied";
    }));
}

TEST_F(TemplateFileTest, ReadOnlyFileIsRefusedAsAPlainWriteWouldRefuseIt) {
    // The folder lets the saver create and rename files, so only the file's own mode can refuse.
    const fs::path file = dir_ / "ro.ATC";
    WriteBytes(file, SerializeTemplate(StartupTemplate()));
    if (::geteuid() == 0) {  // the step below then runs as nobody
        ASSERT_EQ(::chown(dir_.c_str(), test::kNobody, test::kNobody), 0);
        ASSERT_EQ(::chown(file.c_str(), test::kNobody, test::kNobody), 0);
    }
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::vector<unsigned char> before = ReadBytes(file);
    EXPECT_TRUE(test::RunUnprivileged([&] {
        std::string why;
        return !WriteTemplateFile(file.string(), Changed(), &why) && why == "Permission denied";
    }));
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(StatOf(file).st_mode & 07777, 0444u);
}

TEST_F(TemplateFileTest, SavingKeepsModeOwnerAndGroup) {
    const fs::path file = dir_ / "kept.ATC";
    WriteBytes(file, SerializeTemplate(StartupTemplate()));
    if (::geteuid() != 0) GTEST_SKIP() << "needs to give the file away";
    ASSERT_EQ(::chown(file.c_str(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    const ino_t before = StatOf(file).st_ino;
    ASSERT_TRUE(WriteTemplateFile(file.string(), Changed()));
    const struct stat st = StatOf(file);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 5678u);
    EXPECT_NE(st.st_ino, before) << "a singly linked file is replaced whole";
    EXPECT_EQ(ReadBytes(file), SerializeTemplate(Changed()));

    // A folder that hands its own group to new files does not hand it to a saved one.
    const fs::path shared = dir_ / "shared";
    fs::create_directories(shared);
    ASSERT_EQ(::chown(shared.c_str(), 0, 4321), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 02775), 0);
    const fs::path mine = shared / "mine.ATC";
    WriteBytes(mine, SerializeTemplate(StartupTemplate()));
    ASSERT_EQ(::chown(mine.c_str(), 0, 0), 0);
    ASSERT_TRUE(WriteTemplateFile(mine.string(), Changed()));
    EXPECT_EQ(StatOf(mine).st_gid, 0u);

    // A new file gets the usual mode.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteTemplateFile((dir_ / "new.ATC").string(), Changed()));
    ::umask(mask);
    EXPECT_EQ(StatOf(dir_ / "new.ATC").st_mode & 07777, 0644u);
}

TEST_F(TemplateFileTest, AFileTheSaverCannotGiveAwayIsWrittenInPlaceKeepingItsOwner) {
    // Root's file, writable by all, in a folder the saver may write: a rename would make it the saver's.
    const fs::path file = dir_ / "shared.ATC";
    WriteBytes(file, SerializeTemplate(StartupTemplate()));
    ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
    fs::permissions(dir_, fs::perms::all);
    if (::geteuid() != 0) GTEST_SKIP() << "needs another user's file";
    EXPECT_TRUE(test::RunUnprivileged([&] { return WriteTemplateFile(file.string(), Changed()); }));
    EXPECT_EQ(StatOf(file).st_uid, 0u);
    EXPECT_EQ(ReadBytes(file), SerializeTemplate(Changed()));
}

TEST_F(TemplateFileTest, HardLinksStayOneFileAndSeeTheNewContents) {
    const fs::path a = dir_ / "a.ATC", b = dir_ / "b.ATC";
    std::vector<unsigned char> longer = SerializeTemplate(StartupTemplate());
    longer.resize(20000, 0x5A);  // the new contents are shorter: the tail must go
    WriteBytes(a, longer);
    fs::create_hard_link(a, b);
    const ino_t inode = StatOf(a).st_ino;
    ASSERT_TRUE(WriteTemplateFile(a.string(), Changed()));
    EXPECT_EQ(StatOf(a).st_ino, inode);
    EXPECT_EQ(StatOf(b).st_ino, inode);
    EXPECT_EQ(StatOf(a).st_nlink, 2u);
    EXPECT_EQ(ReadBytes(b), SerializeTemplate(Changed()));
}

TEST_F(TemplateFileTest, ANameAsLongAsAFolderEntryMaySaveAndSaveAgain) {
    const fs::path file = dir_ / std::string(255, 'n');
    std::string reason;
    ASSERT_TRUE(WriteTemplateFile(file.string(), StartupTemplate(), &reason)) << reason;
    ASSERT_TRUE(WriteTemplateFile(file.string(), Changed(), &reason)) << reason;
    EXPECT_EQ(ReadBytes(file), SerializeTemplate(Changed()));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
}

}  // namespace
}  // namespace k52
