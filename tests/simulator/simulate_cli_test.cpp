// k52cli simulate, run as a program on template files written here.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

namespace fs = std::filesystem;

struct Result {
    int exitCode;
    std::string out;
};

class SimulateCli : public ::testing::Test {
  protected:
    fs::path dir;
    ApplicationTemplate t{};

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "k52simXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        ApplyBarcodeDefaults(t);
        NewTemplateReset(t);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Write(const std::string& name = "app.ATC") {
        std::string path = (dir / name).string();
        EXPECT_TRUE(WriteTemplateFile(path, t));
        return path;
    }
    static std::string Quote(const std::string& s) { return "'" + s + "'"; }

    Result Run(const std::string& args) {
        std::string command = std::string(K52CLI_PATH) + " simulate " + args + " 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        Result r{-1, {}};
        if (!pipe) return r;
        std::array<char, 4096> buffer;
        std::size_t n;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
        int status = pclose(pipe);
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return r;
    }
    nlohmann::json Json(const std::string& args) {
        Result r = Run(args + " --json --time '2024-03-06 09:05'");
        EXPECT_EQ(r.exitCode, 0) << args;
        return nlohmann::json::parse(r.out, nullptr, false);
    }
    void FormLine(int n, int line, int type, const char* prompt, int maxLength = 50) {
        FormRecord& f = t.form(n);
        f.lineType[line] = static_cast<u8>(type);
        WriteFieldText(f.prompt[line], prompt);
        f.maxLength[line] = static_cast<u8>(maxLength);
    }
};

TEST_F(SimulateCli, StartsOnTheMainMenuWithTheStatusLineForTheGivenTime) {
    nlohmann::json j = Json(Quote(Write()));
    ASSERT_FALSE(j.is_discarded());
    EXPECT_EQ(j["rows"][0], "1. 收 集 資 料");
    EXPECT_EQ(j["rows"][3], "              ");
    EXPECT_EQ(j["rows"][7], "");
    EXPECT_EQ(j["state"], "MainMenu");
    EXPECT_EQ(j["highlightRow"], 1);
    EXPECT_EQ(j["toolCount"], 7);
    EXPECT_EQ(j["statusLine"], "MAR  6,  9:5   00000");
    EXPECT_EQ(j["events"], nlohmann::json::array());
}

TEST_F(SimulateCli, KeysAndTicksDriveAFormAndTheStateIsReported) {
    FormLine(1, 0, kLineString, "NAME:");
    FormLine(1, 1, kLineNumeric, "QTY:");
    std::string file = Quote(Write());
    nlohmann::json j = Json(file + " --keys '7, 17 1 1,t6'");
    EXPECT_EQ(j["state"], "FormEntry");
    EXPECT_EQ(j["rows"][0], "NAME:");
    EXPECT_EQ(j["rows"][1], "QTY:");
    EXPECT_EQ(j["alphaMode"], true);
    EXPECT_EQ(j["letterPending"], true);
    EXPECT_EQ(j["pendingLetter"], "B");
    EXPECT_EQ(j["activeTarget"], 1);
    j = Json(file + " --keys '7 17 1 1 t7 17 12 4 2 12 t'");
    EXPECT_EQ(j["rows"][0], "NAME:");
    EXPECT_EQ(j["collectedCount"], 1);
    EXPECT_EQ(j["cursorRow"], 0);
    EXPECT_EQ(j["cursorCol"], 5);
    EXPECT_EQ(j["alphaMode"], false);
    EXPECT_EQ(j["letterPending"], false);
    EXPECT_EQ(j["pendingLetter"], "");
    j = Json(file + " --keys '7 12 4 2 19 t'");
    EXPECT_EQ(j["state"], "MainMenu");
    EXPECT_EQ(j["rows"][1], "2. 上 傳 檔 案");
    EXPECT_EQ(j["rows"][7], "") << "row 7 is left to the status line";
    EXPECT_EQ(j["statusLine"], "MAR  6,  9:5   00000");
}

TEST_F(SimulateCli, EventsForNothingToRunAndThePowerKey) {
    nlohmann::json j = Json(Quote(Write()) + " --keys 7,20");
    EXPECT_EQ(j["events"], (nlohmann::json{"warning", "command:1010", "menu"}));
    EXPECT_EQ(j["state"], "MainMenu");
}

TEST_F(SimulateCli, FreshSkipsTheApplyStepThatCountsTheLookupTool) {
    t.lookupFile(1).recordLength = 10;
    t.lookupFile(1).fieldCount = 1;
    std::string file = Quote(Write());
    EXPECT_EQ(Json(file + " --keys 9")["toolCount"], 8);
    nlohmann::json fresh = Json(file + " --fresh --keys 9");
    EXPECT_EQ(fresh["toolCount"], 7);
    EXPECT_EQ(fresh["rows"][7], "");
}

TEST_F(SimulateCli, SaveWritesTheRunStateIntoTheTemplate) {
    FormLine(1, 0, kLineString, "A:");
    FormLine(1, 1, kLineString, "B:");
    std::string out = (dir / "out.ATC").string();
    Result r = Run(Quote(Write()) + " --keys '7 12' --save " + Quote(out));
    ASSERT_EQ(r.exitCode, 0);
    ApplicationTemplate saved{};
    ASSERT_EQ(ReadTemplateFile(out, saved), TemplateReadResult::Ok);
    EXPECT_EQ(saved.form(1).lastInputLine, 2);
    EXPECT_EQ(saved.form(1).currentLine, 1);
}

TEST_F(SimulateCli, ReadablePictureShowsTheRowsAndTheHighlight) {
    Result r = Run(Quote(Write()) + " --keys 16 --time '2023-12-31 23:59'");
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("  |1. 收 集 資 料      |"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("> |2. 上 傳 檔 案      |"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("DEC 31, 23:59  00000"), std::string::npos) << r.out;
}

TEST_F(SimulateCli, BadUsageAndRefusedFilesGiveTheirExitCodes) {
    std::string file = Quote(Write());
    EXPECT_EQ(Run(file + " --keys 21").exitCode, 2);
    EXPECT_EQ(Run(file + " --keys x").exitCode, 2);
    EXPECT_EQ(Run(file + " --keys t-1").exitCode, 2);
    EXPECT_EQ(Run(file + " --time '2024-13-01 10:00'").exitCode, 2);
    EXPECT_EQ(Run(file + " --bogus").exitCode, 2);
    EXPECT_EQ(Run("").exitCode, 2);
    std::ofstream(dir / "bad.ATC") << "NOT-A-TEMPLATE";
    EXPECT_EQ(Run(Quote((dir / "bad.ATC").string())).exitCode, 5);
    EXPECT_EQ(Run(Quote((dir / "missing.ATC").string())).exitCode, 3);
}

}  // namespace
}  // namespace k52
