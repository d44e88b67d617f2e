// k52cli records, run as a program on data files written here in the terminal's bytes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

namespace fs = std::filesystem;

// 蘋果 in CP950: C4 AB AA 47; 四: A5 7C, whose second byte is '|'.
const std::string kData = "A001,\xC4\xAB\xAA\x47,3\r\nB|\xA5\x7C,15\r\n";

class RecordsCli : public ::testing::Test {
  protected:
    fs::path dir;
    std::string data;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "k52recXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        data = Write("collected.TXT", kData);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    struct Result {
        int exitCode;
        std::string out;
    };
    Result Run(const std::string& args) {
        std::string command = std::string(K52CLI_PATH) + " records " + args + " 2>/dev/null";
        Result r{-1, {}};
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return r;
        std::array<char, 4096> buffer;
        std::size_t n;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
        const int status = pclose(pipe);
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return r;
    }
};

TEST_F(RecordsCli, TableSplitsAtTheStartupCommaAndLinesUpChineseColumns) {
    Result r = Run("'" + data + "'");
    EXPECT_EQ(r.exitCode, 0);
    // 蘋果 takes four terminal columns, "B|四" four as well.
    EXPECT_EQ(r.out,
              "1  A001  蘋果  3\n"
              "2  B|四  15\n");
}

TEST_F(RecordsCli, TemplateSeparatorsAndJsonRows) {
    ApplicationTemplate t{};
    ApplyBarcodeDefaults(t);
    NewTemplateReset(t);
    t.fieldSeparators = {'|', ','};
    const std::string atc = (dir / "app.ATC").string();
    ASSERT_TRUE(WriteTemplateFile(atc, t));
    Result r = Run("'" + data + "' --template '" + atc + "' --json");
    EXPECT_EQ(r.exitCode, 0);
    nlohmann::json j = nlohmann::json::parse(r.out, nullptr, false);
    ASSERT_FALSE(j.is_discarded()) << r.out;
    // The '|' inside 四 is its second byte, not a separator.
    EXPECT_EQ(j, (nlohmann::json{{"A001", "蘋果", "3"}, {"B", "四", "15"}}));
}

TEST_F(RecordsCli, CsvFileInUtf8) {
    const std::string csv = (dir / "out.csv").string();
    Result r = Run("'" + data + "' --csv '" + csv + "'");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "2 records written to " + csv + "\n");
    EXPECT_EQ(Read(csv), "A001,\xE8\x98\x8B\xE6\x9E\x9C,3\r\nB|\xE5\x9B\x9B,15,\r\n");
}

TEST_F(RecordsCli, ExitCodes) {
    EXPECT_EQ(Run("").exitCode, 2);
    EXPECT_EQ(Run("'" + data + "' --csv").exitCode, 2);
    EXPECT_EQ(Run("'" + data + "' --csv - --json").exitCode, 2);
    EXPECT_EQ(Run("'" + (dir / "missing.TXT").string() + "'").exitCode, 3);
    EXPECT_EQ(Run("'" + data + "' --template '" + Write("bad.ATC", "not a template") + "'").exitCode, 5);
    EXPECT_EQ(Run("'" + data + "' --csv '" + (dir / "no" / "such" / "x.csv").string() + "'").exitCode, 3);
}

TEST_F(RecordsCli, CsvCellsThatLookLikeFormulasGetAQuoteUnlessRawAndBackslashesAreDoubled) {
    const std::string formulas = Write("formula.TXT", "=1+1,\\xFF\r\n");
    EXPECT_EQ(Run("'" + formulas + "' --csv -").out, "'=1+1,\\\\xFF\r\n");
    EXPECT_EQ(Run("'" + formulas + "' --csv - --raw-cells").out, "=1+1,\\\\xFF\r\n");
}

}  // namespace
}  // namespace k52
