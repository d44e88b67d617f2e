// k52cli run as a program on inputs that are no regular file or too large, on outputs that would clobber
// an input or an existing file, and with standard output on a full disk.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "i18n/Translate.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "util/RegularFile.h"

namespace k52 {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string Line(const Args& args) {
    std::string line = "k52cli";
    for (const std::string& a : args) line += " " + a;
    return line;
}

// Runs k52cli in `dir`, so that the arguments can name its files as they are.
test::ProcessResult Cli(const test::TempDir& dir, Args args, test::RunOptions options = {}) {
    args.insert(args.begin(), K52CLI_PATH);
    options.workingDirectory = dir.path().string();
    options.extraEnv.push_back("XDG_CONFIG_HOME=" + dir("config"));
    return test::RunProcess(args, options);
}

// A template, its text, a data file and a FIFO, made by the program itself where it can.
void MakeInputs(const test::TempDir& dir) {
    ASSERT_EQ(Cli(dir, {"new", "plan.ATC"}).exitCode, 0);
    const test::ProcessResult show = Cli(dir, {"show", "plan.ATC", "--json"});
    ASSERT_EQ(show.exitCode, 0);
    dir.Write("plan.json", show.out);
    dir.Write("other.json", R"({"format": "k52-template", "version": 1, "startPosition": 1})");
    dir.Write("data.txt", "A001,=SUM(A1),3\r\n");
    ASSERT_EQ(::mkfifo(dir("fifo").c_str(), 0600), 0);
}

TEST(FileSafety, InputsThatAreNoRegularFileOrTooLargeAreRefusedWithTheReason) {
    test::TempDir dir;
    MakeInputs(dir);
    dir.Write("huge.json", "");
    fs::resize_file(dir("huge.json"), 17 << 20);  // sparse, beyond what a template's text can be
    dir.Write("huge.txt", "");
    fs::resize_file(dir("huge.txt"), 65 << 20);
    const std::string notRegular = LocalizeReason(kNotRegularFileReason),
                      folder = LocalizeReason(std::strerror(EISDIR)), tooLarge = std::strerror(EFBIG);
    const struct {
        Args args;
        std::string named;  // the path the message names, with its reason
        std::string reason;
        std::string input;  // on standard input
    } kCases[] = {
        {{"import", "fifo", "out.ATC"}, "fifo", notRegular, ""},
        {{"import", ".", "out.ATC"}, ".", folder, ""},
        {{"import", "/dev/zero", "out.ATC"}, "/dev/zero", notRegular, ""},
        {{"import", "huge.json", "out.ATC"}, "huge.json", tooLarge, ""},
        {{"diff", "plan.ATC", "fifo"}, "fifo", notRegular, ""},
        {{"diff", ".", "plan.ATC"}, ".", folder, ""},
        {{"diff", "plan.ATC", "/dev/zero", "--json"}, "/dev/zero", notRegular, ""},
        {{"records", "fifo"}, "fifo", notRegular, ""},
        {{"records", "."}, ".", folder, ""},
        {{"records", "/dev/zero", "--json"}, "/dev/zero", notRegular, ""},
        {{"records", "huge.txt"}, "huge.txt", tooLarge, ""},
        {{"records", "data.txt", "--csv", "fifo", "--overwrite"}, "fifo", notRegular, ""},
        {{"image", "plan.ATC", "fifo"}, "fifo", notRegular, ""},
        {{"simulate", "plan.ATC", "--keys-file", "fifo"}, "fifo", notRegular, ""},
        {{"simulate", "plan.ATC", "--keys-file", "/dev/zero"}, "/dev/zero", notRegular, ""},
        {{"simulate", "plan.ATC", "--keys-file", "."}, ".", folder, ""},
        {{"simulate", "plan.ATC", "--keys-file", "-"}, "-", tooLarge, std::string(2 << 20, '7')},
    };
    for (const auto& c : kCases) {
        test::RunOptions options;
        options.input = c.input;
        const test::ProcessResult r = Cli(dir, c.args, options);
        EXPECT_EQ(r.exitCode, 3) << Line(c.args) << "\n" << r.err;
        EXPECT_TRUE(Has(r.err, " " + c.named + ": " + c.reason)) << Line(c.args) << "\n" << r.err;
        EXPECT_EQ(r.out, "") << Line(c.args);
        EXPECT_TRUE(fs::is_fifo(dir("fifo"))) << Line(c.args);
    }
    EXPECT_FALSE(fs::exists(dir("out.ATC")));

    // A ports.conf that is a FIFO is read as no assignments, with a warning, and never waited on.
    fs::create_directories(dir("config/k52"));
    ASSERT_EQ(::mkfifo(dir("config/k52/ports.conf").c_str(), 0600), 0);
    const test::ProcessResult r = Cli(dir, {"ports", "--json"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Has(r.err, "ports.conf: " + notRegular)) << r.err;
}

TEST(FileSafety, AnOutputIsNeverAnInputAndAnExistingOneIsReplacedOnlyWithOverwrite) {
    const struct {
        Args args;
        int exitCode;
        const char* watched;  // a file that must be left as it was, or be replaced
        bool replaced;
    } kCases[] = {
        {{"new", "old.ATC"}, 3, "old.ATC", false},
        {{"new", "old.ATC", "--overwrite"}, 0, "old.ATC", true},
        {{"import", "plan.json", "plan.json"}, 2, "plan.json", false},
        {{"import", "plan.json", "plan.json", "--overwrite"}, 2, "plan.json", false},
        {{"import", "plan.json", "link.json", "--overwrite"}, 2, "plan.json", false},
        {{"import", "plan.json", "old.ATC"}, 3, "old.ATC", false},
        {{"import", "plan.json", "old.ATC", "--overwrite"}, 0, "old.ATC", true},
        {{"records", "data.txt", "--csv", "data.txt", "--overwrite"}, 2, "data.txt", false},
        {{"records", "data.txt", "--csv", "hard.txt", "--overwrite"}, 2, "data.txt", false},
        {{"records", "data.txt", "--template", "plan.ATC", "--csv", "plan.ATC", "--overwrite"},
         2,
         "plan.ATC",
         false},
        {{"records", "data.txt", "--csv", "old.csv"}, 3, "old.csv", false},
        {{"records", "data.txt", "--csv", "old.csv", "--overwrite"}, 0, "old.csv", true},
    };
    for (const auto& c : kCases) {
        test::TempDir dir;
        MakeInputs(dir);
        dir.Write("old.ATC", "someone's design");
        dir.Write("old.csv", "someone's table");
        fs::create_symlink("plan.json", dir("link.json"));
        fs::create_hard_link(dir("data.txt"), dir("hard.txt"));
        const std::string before = dir.Read(c.watched);
        const test::ProcessResult r = Cli(dir, c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << Line(c.args) << "\n" << r.err;
        EXPECT_EQ(dir.Read(c.watched) != before, c.replaced) << Line(c.args);
    }
}

// An output that is a folder or a device is said to be one, --overwrite or not: replacing would not help.
TEST(FileSafety, AnOutputThatIsNoFileIsSaidSo) {
    test::TempDir dir;
    MakeInputs(dir);
    fs::create_directory(dir("d"));
    const std::string folder = Localize("%1 is a folder; give the %2 a file name", {"d", Localize("CSV")});
    const std::string device =
        Localize("cannot write %1: %2", {"/dev/null", LocalizeReason(kNotRegularFileReason)});
    const struct {
        Args args;
        std::string said;
    } kCases[] = {
        {{"records", "data.txt", "--csv", "d"}, folder},
        {{"records", "data.txt", "--csv", "d", "--overwrite"}, folder},
        {{"new", "d"}, Localize("%1 is a folder; give the %2 a file name", {"d", Localize("template")})},
        {{"new", "/dev/null"}, device},
        {{"records", "data.txt", "--csv", "/dev/null", "--overwrite"}, device},
        {{"image", "plan.ATC", "fifo"},
         Localize("cannot write %1: %2", {"fifo", LocalizeReason(kNotRegularFileReason)})},
    };
    for (const auto& c : kCases) {
        const test::ProcessResult r = Cli(dir, c.args);
        EXPECT_EQ(r.exitCode, 3) << Line(c.args);
        EXPECT_TRUE(Has(r.err, c.said)) << Line(c.args) << "\n" << r.err;
    }
    // Under an English locale the system's reasons are English as well.
    test::RunOptions english;
    english.extraEnv.push_back("LANG=en_US.UTF-8");
    const test::ProcessResult r = Cli(dir, {"show", "missing.ATC"}, english);
    EXPECT_EQ(r.err, "k52cli: cannot read missing.ATC: No such file or directory\n");
    const test::ProcessResult zh = Cli(dir, {"show", "missing.ATC"});
    EXPECT_TRUE(Has(zh.err, "missing.ATC: 沒有這個檔案或資料夾")) << zh.err;
}

TEST(FileSafety, OutputThatStandardOutputCannotTakeIsExitThree) {
    test::TempDir dir;
    MakeInputs(dir);
    const struct {
        Args args;
        int exitCode;  // with standard output that takes everything
    } kCases[] = {
        {{"records", "data.txt", "--csv", "-"}, 0},
        {{"records", "data.txt", "--json"}, 0},
        {{"show", "plan.ATC", "--json"}, 0},
        {{"diff", "plan.ATC", "other.json", "--json"}, 1},
        {{"ports", "--json"}, 0},
        {{"simulate", "plan.ATC", "--json"}, 0},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(Cli(dir, c.args).exitCode, c.exitCode) << Line(c.args);
        test::RunOptions full;
        full.outputFile = "/dev/full";
        const test::ProcessResult r = Cli(dir, c.args, full);
        EXPECT_EQ(r.exitCode, 3) << Line(c.args);
        EXPECT_TRUE(Has(r.err, LocalizeReason(std::strerror(ENOSPC)))) << Line(c.args) << "\n" << r.err;
    }
}

}  // namespace
}  // namespace k52
