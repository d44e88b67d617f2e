// k52cli's command line, run as a program: help, usage errors and their exit codes, and the file
// safeguards of new, show and image.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/Process.h"
#include "support/TempDir.h"
#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

// k52cli in English, the language its lines are written in; the Chinese is read by the locale tests below.
const std::vector<std::string> kEnglish = {"LANG=en_US.UTF-8"};

test::ProcessResult Cli(Args args) {
    args.insert(args.begin(), K52CLI_PATH);
    test::RunOptions options;
    options.extraEnv = kEnglish;
    return test::RunProcess(args, options);
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CommandLine, HelpListsTheCommandsAndEachCommandHasItsOwn) {
    for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"help"}}) {
        test::ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 0) << args[0];
        for (const char* command :
             {"new", "show", "image", "simulate", "download", "download-lookup", "receive"})
            EXPECT_TRUE(Has(r.out, command)) << args[0] << " lists " << command << "\n" << r.out;
    }
    const struct {
        const char* command;
        std::vector<const char*> options;
    } kCommands[] = {
        {"show", {"--json"}},
        {"simulate",
         {"--keys", "--keys-file", "--time", "--fresh", "--json", "--save", "--expect", "--write-expect"}},
        {"download", {"--device", "--port", "--ir", "--speed", "--retries"}},
        {"download-lookup", {"--device", "--port", "--ir", "--speed", "--retries"}},
        {"receive", {"--device", "--port", "--ir", "--speed"}},
    };
    for (const auto& c : kCommands) {
        test::ProcessResult r = Cli({c.command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << c.command;
        for (const char* option : c.options) EXPECT_TRUE(Has(r.out, option)) << c.command << " " << option;
        EXPECT_TRUE(Has(r.out, std::string("Usage: k52cli ") + c.command + " [OPTIONS]")) << r.out;
        EXPECT_FALSE(Has(r.out, "Subcommands")) << c.command << " shows only its own usage\n" << r.out;
    }
    EXPECT_FALSE(Has(Cli({"receive", "--help"}).out, "--retries"));
}

TEST(CommandLine, UsageErrorsExitWithTwoAndSayWhy) {
    test::TempDir dir;
    const std::string plan = dir("plan.ATC");
    ASSERT_TRUE(WriteTemplateFile(plan, [] {
        ApplicationTemplate t{};
        NewTemplateReset(t);
        return t;
    }()));
    const struct {
        Args args;
        const char* reason;  // part of what standard error says
    } kCases[] = {
        {{}, "usage: k52cli COMMAND"},
        {{"frob"}, "unknown command 'frob'"},
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--bogus", "show"}, "unknown option '--bogus'"},
        {{"new"}, "OUT"},
        {{"new", "a.ATC", "b.ATC"}, "b.ATC"},
        {{"show", plan, "--xml"}, "--xml"},
        {{"image", plan}, "OUT"},
        {{"receive", dir("out.txt")}, "give either --device PATH or --port COMn"},
        {{"receive", dir("out.txt"), "--device", "/dev/null", "--device", "/dev/null"}, "named twice"},
        {{"receive", dir("out.txt"), "--port", "COM2", "--port", "com2"}, "named twice: COM2"},
        {{"receive", dir("out.txt"), "--port", "COM7"}, "COM1 to COM6"},
        {{"receive", dir("out.txt"), "--port", "COM0"}, "COM1 to COM6"},
        {{"receive", dir("out.txt"), "--port", "LPT1"}, "COM1 to COM6"},
        {{"receive", dir("out.txt"), "--port", "COM1", "--retries", "2"}, "--retries"},
        {{"download", plan, "--port", "COM1", "--speed", "4800"}, "9600, 19200, 38400, 57600 or 115200"},
        {{"download", plan, "--port", "COM1", "--speed", "9600bps"}, "9600, 19200"},
        {{"download", plan, "--port", "COM1", "--speed", "+9600"}, "9600, 19200"},
        {{"download", plan, "--port", "COM1", "--retries", "-1"}, "--retries"},
        {{"download", plan, "--port", "COM1", "--retries", "x"}, "--retries takes a number"},
        {{"download", plan, "--device"}, "--device"},
        {{"simulate", plan, "--keys", "7", "--keys-file", dir("keys.txt")}, "--keys"},
        // An empty path names no file.
        {{"new", ""}, "empty path"},
        {{"show", ""}, "empty path"},
        {{"image", plan, ""}, "empty path"},
        {{"image", "", dir("plan.img")}, "empty path"},
        {{"simulate", plan, "--save", ""}, "empty path"},
        {{"simulate", plan, "--keys-file", ""}, "empty path"},
        {{"download", "", "--port", "COM1"}, "empty path"},
        {{"download", plan, "--device", ""}, "empty path"},
        {{"receive", "", "--port", "COM1"}, "empty path"},
    };
    for (const auto& c : kCases) {
        std::string line;
        for (const std::string& a : c.args) line += " '" + a + "'";
        test::ProcessResult r = Cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << line << "\n" << r.err;
        EXPECT_TRUE(Has(r.err, c.reason)) << line << "\n" << r.err;
        EXPECT_EQ(r.out, "") << line;
    }
    EXPECT_FALSE(fs::exists(dir("plan.img")));
}

TEST(CommandLine, OptionsMayComeBeforeTheFileAndComPortNamesIgnoreCase) {
    test::TempDir dir;
    ASSERT_EQ(Cli({"new", dir("plan.ATC")}).exitCode, 0);
    test::ProcessResult r = Cli({"show", "--json", dir("plan.ATC")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "\"portSettings\"")) << r.out;
    // A lower-case port name is accepted; the port then cannot be opened (the environment names a
    // device that does not exist).
    test::RunOptions options;
    options.extraEnv = {"K52_COM3=" + dir("no-such-tty")};
    r = test::RunProcess({K52CLI_PATH, "download", dir("plan.ATC"), "--port", "com3"}, options);
    EXPECT_EQ(r.exitCode, 4) << r.err;
}

TEST(CommandLine, ReadFailuresNameThePathAndTheReason) {
    test::TempDir dir;
    const std::string missing = dir("missing.ATC");
    for (const Args& args : {Args{"show", missing}, Args{"image", missing, dir("x.img")},
                             Args{"simulate", missing}, Args{"download", missing, "--port", "COM1"}}) {
        test::ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 3) << args[0];
        EXPECT_EQ(r.err, "k52cli: cannot read " + missing + ": No such file or directory\n") << args[0];
    }
    test::ProcessResult r = Cli({"simulate", missing, "--keys-file", dir("keys.txt")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(Has(r.err, "cannot read " + dir("keys.txt") + ": No such file or directory")) << r.err;
}

TEST(CommandLine, WriteFailuresNameThePathAndTheReason) {
    test::TempDir dir;
    ASSERT_EQ(Cli({"new", dir("plan.ATC")}).exitCode, 0);
    const std::string out = dir("no-folder/plan.img");
    test::ProcessResult r = Cli({"image", dir("plan.ATC"), out});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "k52cli: cannot write " + out + ": No such file or directory\n");
    r = Cli({"image", dir("plan.ATC"), dir("")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(Has(r.err, dir("") + " is a folder")) << r.err;
}

TEST(CommandLine, ImageRefusesToWriteOverItsOwnTemplate) {
    test::TempDir dir;
    ASSERT_EQ(Cli({"new", dir("plan.ATC")}).exitCode, 0);
    const std::string before = dir.Read("plan.ATC");
    fs::create_symlink(dir("plan.ATC"), dir("link.ATC"));
    fs::create_hard_link(dir("plan.ATC"), dir("hard.ATC"));
    fs::create_directory(dir("sub"));
    test::RunOptions inFolder;
    inFolder.workingDirectory = dir.path().string();
    inFolder.extraEnv = kEnglish;
    for (const std::string& out : {dir("plan.ATC"), dir("link.ATC"), dir("hard.ATC"), dir("sub/../plan.ATC"),
                                   std::string("plan.ATC")}) {
        test::ProcessResult r = test::RunProcess({K52CLI_PATH, "image", "plan.ATC", out}, inFolder);
        EXPECT_EQ(r.exitCode, 2) << out;
        EXPECT_EQ(r.err, "k52cli: " + out + " is the template itself; give the image another name\n");
        EXPECT_EQ(dir.Read("plan.ATC"), before) << out;
    }
    test::ProcessResult r = Cli({"image", dir("link.ATC"), dir("plan.img")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(fs::file_size(dir("plan.img")), 10500u);
}

// A menu title, an option and a prompt holding control characters: the readable output shows them
// escaped; JSON escapes them its own way.
TEST(CommandLine, ShowEscapesControlCharactersFromTheTemplate) {
    test::TempDir dir;
    ApplicationTemplate t{};
    ApplyBarcodeDefaults(t);
    NewTemplateReset(t);
    WriteFieldText(t.menu(1).title, std::string("A\x1B[2JB"));
    WriteFieldText(t.menu(1).options[0], std::string("\x07go\x7F"));
    t.form(1).lineType[0] = kLineString;
    WriteFieldText(t.form(1).prompt[0], std::string("Q\r\nTY"));
    ASSERT_TRUE(WriteTemplateFile(dir("odd.ATC"), t));
    test::ProcessResult r = Cli({"show", dir("odd.ATC")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "menu 1: \"A\\x1B[2JB\"")) << r.out;
    EXPECT_TRUE(Has(r.out, "1. \"\\x07go\\x7F\"")) << r.out;
    EXPECT_TRUE(Has(r.out, "prompt \"Q\\x0D\\x0ATY\"")) << r.out;
    for (char c : r.out)
        EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << static_cast<int>(c);
    r = Cli({"show", dir("odd.ATC"), "--json"});
    EXPECT_TRUE(Has(r.out, "\"A\\u001b[2JB\"")) << r.out;
}

// The message boxes on standard error follow the locale, as the desktop program does.
TEST(CommandLine, MessagesSpeakEnglishOnlyUnderAnEnglishLocale) {
    test::TempDir dir;
    dir.Write("bad.ATC", std::string(100, 'x'));
    const struct {
        std::vector<std::string> env;
        const char* message;
    } cases[] = {
        {{"LANG=en_US.UTF-8"}, "Error: The file format is wrong!\n"},
        {{"LANG=zh_TW.UTF-8"}, "錯誤: 檔案格式錯誤!!\n"},
        {{"LC_ALL=C", "LANG=en_US.UTF-8"}, "錯誤: 檔案格式錯誤!!\n"},
        {{}, "錯誤: 檔案格式錯誤!!\n"},
    };
    for (const auto& c : cases) {
        test::RunOptions options;
        options.extraEnv = c.env;
        test::ProcessResult r = test::RunProcess({K52CLI_PATH, "show", dir("bad.ATC")}, options);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_EQ(r.err, c.message) << (c.env.empty() ? "no locale" : c.env.back());
    }
    // A transfer's message boxes too, each terminal's line under its device.
    ASSERT_EQ(test::RunProcess({K52CLI_PATH, "new", dir("p.ATC")}).exitCode, 0);
    test::RunOptions english;
    english.extraEnv = {"LANG=en_US.UTF-8"};
    test::ProcessResult r = test::RunProcess({K52CLI_PATH, "download", dir("p.ATC"), "--quiet", "--device",
                                              "/nonexistent/a", "--device", "/nonexistent/b"},
                                             english);
    EXPECT_NE(r.err.find("/nonexistent/b: Error: Cannot open the port!\n"), std::string::npos) << r.err;
}

// The words of k52cli's own in `text`: what is left without option names, paths and file names, names
// with a capital (metavariables such as FILE, codes such as COM1, the product's name), the command names
// and k52cli itself.
std::set<std::string> EnglishWords(const std::string& text, const std::set<std::string>& commands) {
    std::set<std::string> words;
    std::istringstream in(text);
    for (std::string token; in >> token;) {
        if (token[0] == '-' || token.find_first_of("/.") != std::string::npos) continue;
        std::string word;
        for (char c : token + " ") {
            if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || (c == '-' && !word.empty())) {
                word += c;
                continue;
            }
            const bool capital = std::any_of(word.begin(), word.end(), ::isupper);
            const bool letter = std::any_of(word.begin(), word.end(), ::isalpha);
            if (letter && !capital && word != "k52cli" && !commands.count(word)) words.insert(word);
            word.clear();
        }
    }
    return words;
}

// A usage, an overwrite refusal, a receive's table, a port that will not open and an import's refusal and
// warning, under each locale that is not English: k52cli's lines speak Chinese beside the message texts;
// under English the same outputs are full of English words, which shows that the check finds them.
TEST(CommandLine, UnderChineseK52clisOwnLinesHoldNoEnglishWords) {
    test::TempDir dir;
    ASSERT_EQ(Cli({"new", dir("plan.ATC")}).exitCode, 0);
    std::filesystem::create_directory(dir("got"));
    dir.Write("got/a.TXT", "A1\r\n");
    dir.Write("got/b.TXT", "B1\r\n");
    dir.Write("bad.json", R"({"format": "k52-template", "version": 1, "startPosition": 300,
                              "forms": [{"dateStamp": 13}]})");
    std::set<std::string> commands;
    std::istringstream usage(Cli({}).err);
    for (std::string line; std::getline(usage, line);)
        if (line.starts_with("  k52cli ")) commands.insert(line.substr(9, line.find(' ', 9) - 9));
    ASSERT_GE(commands.size(), 7u);
    const Args kOutputs[] = {
        {"--help"},
        {"receive", "--help"},
        {"new", dir("plan.ATC")},
        {"receive", dir("got"), "--device", dir("a"), "--device", dir("b")},
        {"download", dir("plan.ATC"), "--device", "/nonexistent"},
        {"import", dir("bad.json"), dir("out.ATC")},
    };
    for (const Args& args : kOutputs) {
        const test::ProcessResult english = Cli(args);
        EXPECT_FALSE(EnglishWords(english.out + english.err, commands).empty()) << args[0];
        for (const char* locale : {"LANG=zh_TW.UTF-8", "LC_ALL=C", ""}) {
            std::vector<std::string> argv = args;
            argv.insert(argv.begin(), K52CLI_PATH);
            test::RunOptions options;
            if (*locale) options.extraEnv = {locale};
            const test::ProcessResult r = test::RunProcess(argv, options);
            EXPECT_EQ(r.exitCode, english.exitCode) << args[0] << " " << locale;
            for (const std::string& word : EnglishWords(r.out + r.err, commands))
                ADD_FAILURE() << "'" << word << "' under " << locale << " from " << args[0] << ":\n"
                              << r.out << r.err;
        }
    }
}

// JSON is for scripts: its keys, codes and values are the same whatever the locale.
TEST(CommandLine, JsonIsTheSameUnderEveryLocale) {
    test::TempDir dir;
    ASSERT_EQ(Cli({"new", dir("plan.ATC")}).exitCode, 0);
    dir.Write("data.TXT", "A001,3\r\n");
    std::filesystem::create_directory(dir("got"));
    dir.Write("got/a.TXT", "A1\r\n");
    dir.Write("got/b.TXT", "B1\r\n");
    const Args kCommands[] = {
        {"show", dir("plan.ATC"), "--json"},
        {"records", dir("data.TXT"), "--json"},
        {"simulate", dir("plan.ATC"), "--keys", "1", "--time", "2024-03-06 09:05", "--json"},
        {"receive", dir("got"), "--device", dir("a"), "--device", dir("b"), "--json"},
        {"ports", "--json"},
    };
    for (const Args& args : kCommands) {
        std::vector<std::string> argv = args;
        argv.insert(argv.begin(), K52CLI_PATH);
        test::RunOptions options;
        options.extraEnv = {"XDG_CONFIG_HOME=" + dir("config"), "LANG=en_US.UTF-8"};
        const test::ProcessResult english = test::RunProcess(argv, options);
        ASSERT_FALSE(english.out.empty()) << args[0] << english.err;
        options.extraEnv.back() = "LANG=zh_TW.UTF-8";
        const test::ProcessResult chinese = test::RunProcess(argv, options);
        EXPECT_EQ(chinese.out, english.out) << args[0];
        EXPECT_EQ(chinese.exitCode, english.exitCode) << args[0];
    }
}

}  // namespace
}  // namespace k52
