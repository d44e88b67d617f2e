// k52cli simulate, run as a program on template files written here.
#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/Process.h"
#include "support/TempDir.h"
#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

using Args = std::vector<std::string>;

class SimulateCli : public ::testing::Test {
  protected:
    test::TempDir dir;
    ApplicationTemplate t{};

    void SetUp() override {
        ApplyBarcodeDefaults(t);
        NewTemplateReset(t);
    }

    std::string Write(const std::string& name = "app.ATC") {
        std::string path = dir(name);
        EXPECT_TRUE(WriteTemplateFile(path, t));
        return path;
    }

    static test::ProcessResult Run(Args args, const std::string& input = {}) {
        args.insert(args.begin(), {K52CLI_PATH, "simulate"});
        test::RunOptions options;
        options.input = input;
        options.extraEnv = {"LANG=en_US.UTF-8"};  // the lines as written
        return test::RunProcess(args, options);
    }
    static nlohmann::json Json(Args args) {
        args.insert(args.end(), {"--json", "--time", "2024-03-06 09:05"});
        test::ProcessResult r = Run(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return nlohmann::json::parse(r.out, nullptr, false);
    }
    void Option(int m, int i, const std::string& text, int target) {
        WriteFieldText(t.menu(m).options[i], text);
        t.menu(m).optionTargets[i] = static_cast<u8>(target);
    }
    void FormLine(int n, int line, int type, const char* prompt, int maxLength = 50) {
        FormRecord& f = t.form(n);
        f.lineType[line] = static_cast<u8>(type);
        WriteFieldText(f.prompt[line], prompt);
        f.maxLength[line] = static_cast<u8>(maxLength);
    }
};

TEST_F(SimulateCli, StartsOnTheMainMenuWithTheStatusLineForTheGivenTime) {
    nlohmann::json j = Json({Write()});
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
    std::string file = Write();
    nlohmann::json j = Json({file, "--keys", "7, 17 1 1,t6"});
    EXPECT_EQ(j["state"], "FormEntry");
    EXPECT_EQ(j["rows"][0], "NAME:");
    EXPECT_EQ(j["rows"][1], "QTY:");
    EXPECT_EQ(j["alphaMode"], true);
    EXPECT_EQ(j["letterPending"], true);
    EXPECT_EQ(j["pendingLetter"], "B");
    EXPECT_EQ(j["activeTarget"], 1);
    j = Json({file, "--keys", "7 17 1 1 t7 17 12 4 2 12 t"});
    EXPECT_EQ(j["rows"][0], "NAME:");
    EXPECT_EQ(j["collectedCount"], 1);
    EXPECT_EQ(j["cursorRow"], 0);
    EXPECT_EQ(j["cursorCol"], 5);
    EXPECT_EQ(j["alphaMode"], false);
    EXPECT_EQ(j["letterPending"], false);
    EXPECT_EQ(j["pendingLetter"], "");
    j = Json({file, "--keys", "7 12 4 2 19 t"});
    EXPECT_EQ(j["state"], "MainMenu");
    EXPECT_EQ(j["rows"][1], "2. 上 傳 檔 案");
    EXPECT_EQ(j["rows"][7], "") << "row 7 is left to the status line";
    EXPECT_EQ(j["statusLine"], "MAR  6,  9:5   00000");
}

TEST_F(SimulateCli, EventsForNothingToRunAndThePowerKey) {
    nlohmann::json j = Json({Write(), "--keys", "7,20"});
    EXPECT_EQ(j["events"], (nlohmann::json{"warning", "command:1010", "menu"}));
    EXPECT_EQ(j["state"], "MainMenu");
}

TEST_F(SimulateCli, FreshSkipsTheApplyStepThatCountsTheLookupTool) {
    t.lookupFile(1).recordLength = 10;
    t.lookupFile(1).fieldCount = 1;
    std::string file = Write();
    EXPECT_EQ(Json({file, "--keys", "9"})["toolCount"], 8);
    nlohmann::json fresh = Json({file, "--fresh", "--keys", "9"});
    EXPECT_EQ(fresh["toolCount"], 7);
    EXPECT_EQ(fresh["rows"][7], "");
}

TEST_F(SimulateCli, SaveWritesTheRunStateIntoTheTemplate) {
    FormLine(1, 0, kLineString, "A:");
    FormLine(1, 1, kLineString, "B:");
    std::string out = dir("out.ATC");
    test::ProcessResult r = Run({Write(), "--keys", "7 12", "--save", out});
    ASSERT_EQ(r.exitCode, 0);
    ApplicationTemplate saved{};
    ASSERT_EQ(ReadTemplateFile(out, saved), TemplateReadResult::Ok);
    EXPECT_EQ(saved.form(1).lastInputLine, 2);
    EXPECT_EQ(saved.form(1).currentLine, 1);
}

TEST_F(SimulateCli, ReadablePictureShowsTheRowsAndTheHighlight) {
    test::ProcessResult r = Run({Write(), "--keys", "16", "--time", "2023-12-31 23:59"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("  |1. 收 集 資 料      |"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("> |2. 上 傳 檔 案      |"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("DEC 31, 23:59  00000"), std::string::npos) << r.out;
}

TEST_F(SimulateCli, BadUsageAndRefusedFilesGiveTheirExitCodes) {
    std::string file = Write();
    EXPECT_EQ(Run({file, "--keys", "21"}).exitCode, 2);
    EXPECT_EQ(Run({file, "--keys", "x"}).exitCode, 2);
    EXPECT_EQ(Run({file, "--keys", "t-1"}).exitCode, 2);
    EXPECT_EQ(Run({file, "--time", "2024-13-01 10:00"}).exitCode, 2);
    EXPECT_EQ(Run({file, "--bogus"}).exitCode, 2);
    EXPECT_EQ(Run({}).exitCode, 2);
    dir.Write("bad.ATC", "NOT-A-TEMPLATE");
    EXPECT_EQ(Run({dir("bad.ATC")}).exitCode, 5);
    EXPECT_EQ(Run({dir("missing.ATC")}).exitCode, 3);
}

// Dates are checked against the calendar, not field by field.
TEST_F(SimulateCli, TimeMustBeAMinuteThatExists) {
    const std::string file = Write();
    for (const char* time :
         {"2024-02-31 10:00", "2023-02-29 10:00", "1900-02-29 10:00", "2024-04-31 10:00", "2024-06-31 10:00",
          "2024-00-10 10:00", "2024-01-00 10:00", "2024-01-01 24:00", "2024-01-01 23:60", "2024-1-01 10:00",
          "2024-01-01 10:00 ", "2024-01-01T10:00", "2024-01-01 +1:00", ""}) {
        test::ProcessResult r = Run({file, "--time", time});
        EXPECT_EQ(r.exitCode, 2) << "'" << time << "'";
        EXPECT_NE(r.err.find("bad time"), std::string::npos) << r.err;
    }
    const struct {
        const char* time;
        const char* status;
    } kGood[] = {
        {"2024-02-29 00:00", "FEB 29,  0:0   00000"},
        {"2000-02-29 12:30", "FEB 29, 12:30  00000"},
        {"2023-12-31 23:59", "DEC 31, 23:59  00000"},
    };
    for (const auto& g : kGood) {
        test::ProcessResult r = Run({file, "--time", g.time, "--json"});
        ASSERT_EQ(r.exitCode, 0) << g.time << r.err;
        EXPECT_EQ(nlohmann::json::parse(r.out)["statusLine"], g.status) << g.time;
    }
}

TEST_F(SimulateCli, KeysComeFromAFileOrStandardInputHoweverLong) {
    FormLine(1, 0, kLineString, "NAME:");
    const std::string file = Write();
    // Enough ticks that the script is far longer than one argument may be (128 KiB).
    std::string script = "7\n17 1 1\n";
    for (int i = 0; i < 40000; ++i) script += "t1 ";
    script += "\n";
    dir.Write("keys.txt", script);
    for (const Args& source : {Args{"--keys-file", dir("keys.txt")}, Args{"--keys-file", "-"}}) {
        Args args = {file, "--json", "--time", "2024-03-06 09:05"};
        args.insert(args.end(), source.begin(), source.end());
        test::ProcessResult r = Run(args, source[1] == "-" ? script : std::string());
        ASSERT_EQ(r.exitCode, 0) << source[1] << r.err;
        nlohmann::json j = nlohmann::json::parse(r.out);
        EXPECT_EQ(j["state"], "FormEntry") << source[1];
        EXPECT_EQ(j["alphaMode"], true) << source[1];
        EXPECT_EQ(j["letterPending"], false) << "the ticks ran: the pending letter was taken";
    }
    dir.Write("bad-keys.txt", "7 12 99\n");
    test::ProcessResult r = Run({file, "--keys-file", dir("bad-keys.txt")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("bad key '99'"), std::string::npos) << r.err;
}

TEST_F(SimulateCli, PictureEscapesControlCharactersAndKeepsItsFrame) {
    t.startPosition = 1;
    Option(1, 0, "GO\x1B[31m", 1);
    std::string file = Write();
    test::ProcessResult r = Run({file, "--time", "2024-03-06 09:05", "--keys", "7"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("> |GO\\x1B[31m          |\n"), std::string::npos) << r.out;
    for (char c : r.out)
        EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << static_cast<int>(c);
}

TEST_F(SimulateCli, ExpectationsHoldOrNameEachDifferenceExpectedBesideActual) {
    FormLine(1, 0, kLineString, "NAME:");
    FormLine(1, 1, kLineNumeric, "QTY:");
    const std::string file = Write();
    // Digit 1 starts form 1; B by alpha and two taps, entered by the clock; alpha off, a quantity of 2; the
    // form is complete once and starts over.
    dir.Write("session.keys", "7 @form 17 1 1 t7 12 17 8 12\n");
    const Args session = {file, "--keys-file", dir("session.keys")};
    auto with = [&](Args more) {
        Args args = session;
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    };

    ASSERT_EQ(with({"--write-expect", dir("final.expect")}).exitCode, 0);
    const std::string written = dir.Read("final.expect");
    EXPECT_NE(written.find("state: FormEntry\n"), std::string::npos) << written;
    EXPECT_NE(written.find("collected: 1\n"), std::string::npos) << written;
    EXPECT_NE(written.find("row 1: NAME:\n"), std::string::npos) << written;
    test::ProcessResult r = with({"--expect", dir("final.expect")});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("expectations hold: 11\n"), std::string::npos) << r.out;

    // What `simulate --json` prints is an expectation as it stands.
    dir.Write("screen.json", with({"--json"}).out);
    EXPECT_EQ(with({"--expect", dir("screen.json")}).exitCode, 0);

    // Written by hand: a named point and the end, one of them wrong.
    dir.Write("hand.expect",
              "# after the form came up\nat form\nstate: FormEntry\nrow 1: NAME:\nrow 2: QTY:\n\n"
              "at end\ncollected: 2\n");
    r = with({"--expect", dir("hand.expect")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("at end: collected differs\n  expected: \"2\"\n  actual:   \"1\"\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("at form"), std::string::npos) << "what holds is not listed\n" << r.out;
    dir.Write("nowhere.expect", "at missing\nstate: MainMenu\n");
    r = with({"--expect", dir("nowhere.expect")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("at missing: never reached"), std::string::npos) << r.out;
    dir.Write("bad.expect", "row 9: X\n");
    r = with({"--expect", dir("bad.expect")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("line 1: row 9"), std::string::npos) << r.err;

    // The template changes what the screen shows: the written expectation no longer holds.
    FormLine(1, 0, kLineString, "ITEM:");
    Write();
    r = with({"--expect", dir("final.expect")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("at end: row 1 differs\n  expected: \"NAME:\"\n  actual:   \"ITEM:\"\n"),
              std::string::npos)
        << r.out;
}

TEST_F(SimulateCli, JsonListsWhatTheTemplateUsesThatIsNotSimulated) {
    FormLine(1, 0, kLineNumeric, "EAN:");
    FormLine(1, 1, kLineLookupRef, "DESC:");
    FormRecord& f = t.form(1);
    f.inputSource[0] = 0;  // the scanner only
    f.autoAdvance[0] = 0;
    f.dateStamp = 1;
    t.form(2).timeStamp = 1;  // a form without lines is never run
    WriteFieldText(t.securityPassword, "1234");
    t.startupSettings.passwordGuard[0] = 1;
    t.startupSettings.passwordGuard[11] = 1;
    const nlohmann::json expected = nlohmann::json::parse(R"([
        {"feature": "lookup", "form": 1, "line": 2},
        {"feature": "dateStamp", "form": 1},
        {"feature": "scannerOnly", "form": 1, "line": 1},
        {"feature": "password", "guard": "systemSettings"},
        {"feature": "password", "guard": "recordCountPrompt"}])");
    EXPECT_EQ(Json({Write()})["unsimulated"], expected);
    // Without a password nothing is guarded.
    t.securityPassword[0] = 0;
    EXPECT_EQ(Json({Write()})["unsimulated"].size(), 3u);
}

}  // namespace
}  // namespace k52
