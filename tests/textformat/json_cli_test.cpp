// k52cli import, diff and show --json, run as a program on files written here.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode;
    std::string out, err;
};

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class JsonCli : public ::testing::Test {
  protected:
    fs::path dir;
    ApplicationTemplate t{};

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "k52jsonXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        t = StartupTemplate();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const char* name) const { return (dir / name).string(); }
    std::string WriteText(const char* name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
        return Path(name);
    }

    // Runs k52cli with these arguments, without a shell; stdout and stderr go through files.
    Outcome K52(std::vector<std::string> args) const {
        const std::string out = Path("stdout"), err = Path("stderr");
        args.insert(args.begin(), K52CLI_PATH);
        pid_t pid = fork();
        if (pid == 0) {
            int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(o, 1);
            dup2(e, 2);
            setenv("LC_ALL", "en_US.UTF-8", 1);  // the lines as written
            std::vector<char*> argv;
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
    }
};

TEST_F(JsonCli, ImportOfShowJsonGivesTheSavedFileByteForByte) {
    std::memcpy(t.menu(1).title, "\xBD\x4C\xC2\x49", 4);
    std::memcpy(t.menu(1).options[4], "A\0B", 3);  // bytes after the NUL
    t.menu(2).optionTargets[9] = 99;
    std::memcpy(t.form(7).verifyPrefixText[7], "\xA2\xCC\xFF\x80\x00\x01", 6);
    t.form(7).currentLine = 5;
    std::memcpy(t.securityPassword, "0123456789", 10);
    ASSERT_TRUE(WriteTemplateFile(Path("a.ATC"), t));

    Outcome show = K52({"show", Path("a.ATC"), "--json"});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    Outcome import = K52({"import", WriteText("a.json", show.out), Path("b.ATC")});
    ASSERT_EQ(import.exitCode, 0) << import.err;
    std::string saved = ReadFile(dir / "a.ATC"), imported = ReadFile(dir / "b.ATC");
    EXPECT_EQ(imported.size(), 8734u);
    EXPECT_EQ(imported, saved);
    EXPECT_EQ(
        import.err,
        Path("a.json") + ": warning: menus[1].optionTargets[9]: 99 is not in the editor's list (0 to 20)\n");
}

TEST_F(JsonCli, ImportRefusesWithExitFiveListsEveryFaultAndWritesNothing) {
    std::string in = WriteText("bad.json", R"({"format": "k52-template", "version": 1,
        "menus": [{"titel": "A"}], "startPosition": 256})");
    Outcome r = K52({"import", in, Path("out.ATC")});
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_FALSE(fs::exists(dir / "out.ATC"));
    EXPECT_EQ(r.err, in + ": menus[0].titel: unknown key \"titel\" (did you mean \"title\"?)\n" + in +
                         ": startPosition: 256 is above 255, the field holds a byte, 0 to 255\n" +
                         "k52cli: " + in + " refused (2 errors), nothing written\n");
}

TEST_F(JsonCli, NormaliseAppliesTheEditorsNormalisationBeforeSaving) {
    std::string in = WriteText("n.json", R"({"format": "k52-template", "version": 1,
        "forms": [{"lineType": [0, 1], "prompt": ["GONE", "KEPT"], "minLength": [0, 60], "maxLength": [50, 80]}]})");
    ASSERT_EQ(K52({"import", in, Path("as-given.ATC")}).exitCode, 0);
    ASSERT_EQ(K52({"import", in, Path("normalised.ATC"), "--normalise"}).exitCode, 0);
    ApplicationTemplate given{}, normalised{};
    ASSERT_EQ(ReadTemplateFile(Path("as-given.ATC"), given), TemplateReadResult::Ok);
    ASSERT_EQ(ReadTemplateFile(Path("normalised.ATC"), normalised), TemplateReadResult::Ok);
    EXPECT_EQ(given.form(1).maxLength[1], 80);
    EXPECT_EQ(given.form(1).minLength[1], 60);
    EXPECT_EQ(given.form(1).prompt[0][0], 'G');
    EXPECT_EQ(normalised.form(1).maxLength[1], 50);
    EXPECT_EQ(normalised.form(1).minLength[1], 50);
    EXPECT_EQ(normalised.form(1).prompt[0][0], 0);
    EXPECT_EQ(normalised.form(1).prompt[1][0], 'K');
}

TEST_F(JsonCli, DiffComparesTemplateFilesAndTextsLikeDiffDoes) {
    ASSERT_TRUE(WriteTemplateFile(Path("a.ATC"), t));
    std::string b = WriteText("b.json", R"({"format": "k52-template", "version": 1, "startPosition": 1,
        "menus": [{}, {"optionTargets": [12]}]})");
    std::string same = WriteText("same.json", R"({"format": "k52-template", "version": 1})");

    Outcome equal = K52({"diff", Path("a.ATC"), same});
    EXPECT_EQ(equal.exitCode, 0);
    EXPECT_EQ(equal.out, "");
    Outcome differ = K52({"diff", Path("a.ATC"), b});
    EXPECT_EQ(differ.exitCode, 1);
    EXPECT_EQ(differ.out, "startPosition: 0 -> 1\nmenus[1].optionTargets[0]: 0 -> 12\n");
    Outcome json = K52({"diff", b, Path("a.ATC"), "--json"});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::parse(R"([
        {"path": "startPosition", "from": 1, "to": 0},
        {"path": "menus[1].optionTargets[0]", "from": 12, "to": 0}])"));

    EXPECT_EQ(K52({"diff", Path("a.ATC")}).exitCode, 2);
    EXPECT_EQ(K52({"diff", Path("a.ATC"), Path("missing.json")}).exitCode, 3);
    EXPECT_EQ(K52({"diff", Path("a.ATC"), WriteText("c.json", "{")}).exitCode, 5);
    EXPECT_EQ(K52({"import", b}).exitCode, 2);
}

}  // namespace
}  // namespace k52
