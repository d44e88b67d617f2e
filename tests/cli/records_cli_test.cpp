// k52cli records, run as a program on data files written here in the terminal's bytes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/Process.h"
#include "support/TempDir.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

// 蘋果 in CP950: C4 AB AA 47; 四: A5 7C, whose second byte is '|'.
const std::string kData = "A001,\xC4\xAB\xAA\x47,3\r\nB|\xA5\x7C,15\r\n";

class RecordsCli : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::string data;

    void SetUp() override { data = Write("collected.TXT", kData); }

    std::string Write(const std::string& name, const std::string& bytes) {
        dir.Write(name, bytes);
        return dir(name);
    }

    // k52cli records with `args`, each handed over as it is.
    test::ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {K52CLI_PATH, "records"});
        test::RunOptions options;
        options.extraEnv = {"LANG=en_US.UTF-8"};  // the lines as written
        return test::RunProcess(args, options);
    }
};

TEST_F(RecordsCli, TableSplitsAtTheStartupCommaAndLinesUpChineseColumns) {
    test::ProcessResult r = Run({data});
    EXPECT_EQ(r.exitCode, 0);
    // 蘋果 takes four terminal columns, "B|四" four as well.
    EXPECT_EQ(r.out,
              "1  A001  蘋果  3\n"
              "2  B|四  15\n");
}

TEST_F(RecordsCli, TemplateSeparatorsAndJsonRows) {
    ApplicationTemplate t = StartupTemplate();
    t.fieldSeparators = {'|', ','};
    const std::string atc = dir("app.ATC");
    ASSERT_TRUE(WriteTemplateFile(atc, t));
    test::ProcessResult r = Run({data, "--template", atc, "--json"});
    EXPECT_EQ(r.exitCode, 0);
    nlohmann::json j = nlohmann::json::parse(r.out, nullptr, false);
    ASSERT_FALSE(j.is_discarded()) << r.out;
    // The '|' inside 四 is its second byte, not a separator.
    EXPECT_EQ(j, (nlohmann::json{{"A001", "蘋果", "3"}, {"B", "四", "15"}}));
}

TEST_F(RecordsCli, CsvFileInUtf8) {
    const std::string csv = dir("out.csv");
    test::ProcessResult r = Run({data, "--csv", csv});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "2 records written to " + csv + "\n");
    EXPECT_EQ(dir.Read("out.csv"), "A001,\xE8\x98\x8B\xE6\x9E\x9C,3\r\nB|\xE5\x9B\x9B,15,\r\n");
}

TEST_F(RecordsCli, ExitCodes) {
    EXPECT_EQ(Run({}).exitCode, 2);
    EXPECT_EQ(Run({data, "--csv"}).exitCode, 2);
    EXPECT_EQ(Run({data, "--csv", "-", "--json"}).exitCode, 2);
    EXPECT_EQ(Run({dir("missing.TXT")}).exitCode, 3);
    EXPECT_EQ(Run({data, "--template", Write("bad.ATC", "not a template")}).exitCode, 5);
    EXPECT_EQ(Run({data, "--csv", dir("no/such/x.csv")}).exitCode, 3);
}

TEST_F(RecordsCli, CsvCellsThatLookLikeFormulasGetAQuoteUnlessRawAndBackslashesAreDoubled) {
    const std::string formulas = Write("formula.TXT", "=1+1,\\xFF\r\n");
    EXPECT_EQ(Run({formulas, "--csv", "-"}).out, "'=1+1,\\\\xFF\r\n");
    EXPECT_EQ(Run({formulas, "--csv", "-", "--raw-cells"}).out, "=1+1,\\\\xFF\r\n");
}

}  // namespace
}  // namespace k52
