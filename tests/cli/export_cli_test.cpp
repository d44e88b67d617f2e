// k52cli uploads and export, run as programs on a ledger of six terminals' shift written here.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "station/Ledger.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace k52 {
namespace {

class ExportCli : public ::testing::Test {
  protected:
    test::TempDir dir;

    // Six terminals, one upload each an hour apart from 06:00 UTC, the third empty and the fifth partial;
    // the last one (terminal 0) started first in the ledger's order but latest in time.
    void SetUp() override {
        std::string reason;
        std::optional<Ledger> ledger = Ledger::Open(dir.path().string(), &reason);
        ASSERT_TRUE(ledger) << reason;
        for (int i = 1; i <= 6; ++i) {
            const int n = i % 6;  // 1..5, then 0
            const std::string hour = (5 + i < 10 ? "0" : "") + std::to_string(5 + i);
            UploadRow r;
            r.key = "key-" + std::to_string(n);
            r.terminal = "ttyUSB" + std::to_string(n);
            r.device = "/dev/ttyUSB" + std::to_string(n);
            r.name = n == 1 ? "Cradle A, aisle 3" : "";
            r.started = "2024-05-01T" + hour + ":00:00+00:00";
            r.ended = "2024-05-01T" + hour + ":00:05+00:00";
            r.startedUtc = "2024-05-01T" + hour + ":00:00Z";
            r.endedUtc = "2024-05-01T" + hour + ":00:05Z";
            r.outcome = n == 3 ? "empty" : n == 5 ? "partial" : "complete";
            if (n != 3) {
                r.file = r.terminal + "/20240501-" + hour + "0000.TXT";
                std::filesystem::create_directories(dir(r.terminal));
                dir.Write(r.file, n == 1 ? "0012345,\xC4\xAB\xAA\x47\r\n-5,=1+1\r\n"
                                         : "00" + std::to_string(n) + ",1\r\n");
                r.records = n == 1 ? 2 : 1;
            }
            ASSERT_TRUE(ledger->Put(r, &reason)) << reason;
        }
    }

    test::ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), K52CLI_PATH);
        test::RunOptions options;
        options.extraEnv = {"LANG=en_US.UTF-8", "TZ=UTC0"};
        return test::RunProcess(args, options);
    }
};

TEST_F(ExportCli, UploadsListsTheWindowInTimeOrderByTerminalAndOutcome) {
    auto keys = [&](std::vector<std::string> filter) {
        filter.insert(filter.begin(), {"uploads", dir.path().string(), "--json"});
        const test::ProcessResult r = Run(filter);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::vector<std::string> k;
        for (const auto& row : nlohmann::json::parse(r.out)) k.push_back(row["key"]);
        return k;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(keys({}), (V{"key-1", "key-2", "key-3", "key-4", "key-5", "key-0"}));
    EXPECT_EQ(keys({"--since", "2024-05-01T07:00+00:00", "--until", "2024-05-01T09:00+00:00"}),
              (V{"key-2", "key-3"}));  // --until is the end, not in the window
    EXPECT_EQ(keys({"--outcome", "empty,partial"}), (V{"key-3", "key-5"}));
    EXPECT_EQ(keys({"--terminal", "Cradle A, aisle 3"}), (V{"key-1"}));
    EXPECT_EQ(keys({"--terminal", "/dev/ttyUSB4"}), (V{"key-4"}));
}

TEST_F(ExportCli, CsvHasAHeaderABomAndTheFormulaGuardUnlessAskedNot) {
    const std::string out = dir("shift.csv");
    test::ProcessResult r = Run({"export", dir.path().string(), out, "--until", "2024-05-01T08:00+00:00"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "3 records of 2 uploads written to " + out + "\n");
    const std::string rows =
        "ttyUSB1,\"Cradle A, aisle "
        "3\",/dev/ttyUSB1,key-1,2024-05-01T06:00:00+00:00,2024-05-01T06:00:05+00:00,1,0012345,蘋果\r\n"
        "ttyUSB1,\"Cradle A, aisle "
        "3\",/dev/ttyUSB1,key-1,2024-05-01T06:00:00+00:00,2024-05-01T06:00:05+00:00,2,%1,%2\r\n"
        "ttyUSB2,,/dev/ttyUSB2,key-2,2024-05-01T07:00:00+00:00,2024-05-01T07:00:05+00:00,1,002,1\r\n";
    auto with = [&](const std::string& a, const std::string& b) {
        std::string s = rows;
        s.replace(s.find("%1"), 2, a);
        s.replace(s.find("%2"), 2, b);
        return s;
    };
    const std::string header = "terminal,name,device,upload,started,ended,line,field1,field2\r\n";
    EXPECT_EQ(dir.Read("shift.csv"), "\xEF\xBB\xBF" + header + with("'-5", "'=1+1"));
    r = Run(
        {"export", dir.path().string(), out, "--until", "2024-05-01T08:00+00:00", "--raw-cells", "--no-bom"});
    EXPECT_EQ(r.exitCode, 3) << "an existing OUT is kept without --overwrite";
    r = Run({"export", dir.path().string(), out, "--until", "2024-05-01T08:00+00:00", "--raw-cells",
             "--no-bom", "--overwrite"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(dir.Read("shift.csv"), header + with("-5", "=1+1"));
}

TEST_F(ExportCli, XlsxOfSixTerminalsKeepsEveryBarcodeAsTextWithItsLeadingZeros) {
    const std::string out = dir("shift.xlsx");
    test::ProcessResult r = Run({"export", dir.path().string(), out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "6 records of 5 uploads written to " + out + "\n");
    r = test::RunProcess({PYTHON3_PATH, XLSX_CELLS_PY, out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = nlohmann::json::parse(r.out);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0][0][1], "terminal");
    EXPECT_EQ(rows[0][8][1], "field2");
    std::vector<std::string> barcodes, kinds;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        barcodes.push_back(rows[i][7][1]);
        kinds.push_back(rows[i][7][0]);
    }
    EXPECT_EQ(barcodes, (std::vector<std::string>{"0012345", "-5", "002", "004", "005", "000"}));
    EXPECT_EQ(kinds, std::vector<std::string>(6, "s"));
    EXPECT_EQ(rows[1][8][1], "蘋果");
    EXPECT_EQ(rows[2][8][1], "=1+1");  // a text cell: no formula in a workbook, no guard needed
    EXPECT_EQ(rows[1][1][1], "Cradle A, aisle 3");
}

TEST_F(ExportCli, JsonNamesTheColumnsAndAMissingFileFailsTheExport) {
    std::filesystem::remove(dir("ttyUSB2/20240501-070000.TXT"));
    const std::string out = dir("shift.json");
    const test::ProcessResult r =
        Run({"export", dir.path().string(), out, "--until", "2024-05-01T08:00+00:00"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("ttyUSB2/20240501-070000.TXT"), std::string::npos) << r.err;
    const auto doc = nlohmann::json::parse(dir.Read("shift.json"));
    ASSERT_EQ(doc.size(), 2u);
    EXPECT_EQ(doc[1]["upload"], "key-1");
    EXPECT_EQ(doc[1]["line"], 2);
    EXPECT_EQ(doc[1]["fields"], (std::vector<std::string>{"-5", "=1+1"}));
    EXPECT_EQ(Run({"export", dir.path().string(), dir("shift.txt")}).exitCode, 2);
}

}  // namespace
}  // namespace k52
