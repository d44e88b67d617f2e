// k52cli sheet and labels, run as a program on an example application: what each output is, and what
// each refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Process.h"
#include "support/TempDir.h"

namespace k52 {
namespace {

class PaperCli : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string plan;

    void SetUp() override {
        plan = dir("stocktake.ATC");
        ASSERT_EQ(Run({"import", std::string(K52_EXAMPLES_DIR) + "/stocktake.json", plan}).exitCode, 0);
    }

    test::ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), K52CLI_PATH);
        test::RunOptions options;
        options.extraEnv = {"LANG=en_US.UTF-8"};
        return test::RunProcess(args, options);
    }
};

TEST_F(PaperCli, EachOutputIsTheKindItsNameSays) {
    const struct {
        const char* command;
        const char* out;
        const char* starts;
    } cases[] = {
        {"sheet", "plan.html", "<!DOCTYPE html>"},
        {"sheet", "PLAN.PDF", "%PDF-1.4"},
        {"labels", "labels.pdf", "%PDF-1.4"},
        {"labels", "labels.svg", "<?xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out);
        const test::ProcessResult r = Run({c.command, plan, dir(c.out)});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(dir.Read(c.out).rfind(c.starts, 0), 0u);
    }
    // The sheet names the example's first menu with its title, as the terminal shows it.
    EXPECT_NE(dir.Read("plan.html").find("Menu 1: \xE7\x9B\xA4\xE9\xBB\x9E\xE4\xBD\x9C\xE6\xA5\xAD"),
              std::string::npos);
}

TEST_F(PaperCli, RefusesOtherKindsAndItsOwnInput) {
    EXPECT_EQ(Run({"sheet", plan, dir("plan.txt")}).exitCode, 2);
    EXPECT_EQ(Run({"labels", plan, dir("labels.png")}).exitCode, 2);
    EXPECT_EQ(Run({"sheet", dir("missing.ATC"), dir("plan.html")}).exitCode, 3);
    dir.Write("bad.ATC", "not a template");
    EXPECT_EQ(Run({"labels", dir("bad.ATC"), dir("labels.svg")}).exitCode, 5);
    EXPECT_FALSE(std::filesystem::exists(dir("labels.svg")));
}

}  // namespace
}  // namespace k52
