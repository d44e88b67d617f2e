// Lookup data files held against lookup file layouts: which fit, and which line is named first when not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "template/LookupLayout.h"

namespace k52 {
namespace {

// 33-byte records, the key in bytes 1-13, a name in 14-33.
LookupFileRecord Stock() {
    LookupFileRecord r{};
    r.recordLength = 33;
    r.fieldCount = 2;
    r.keyField = 0;
    r.fieldStart[0] = 1;
    r.fieldLength[0] = 13;
    r.fieldStart[1] = 14;
    r.fieldLength[1] = 20;
    return r;
}

const std::string kRecord = "4711234567890Blue pencil         ";  // 13 + 20 bytes

TEST(LookupLayout, FilesAgainstLayouts) {
    LookupFileRecord keyOutside = Stock();
    keyOutside.keyField = 2;  // beyond the two fields
    LookupFileRecord keyPastEnd = Stock();
    keyPastEnd.fieldStart[0] = 30;
    struct Case {
        const char* name;
        LookupFileRecord layout;
        std::vector<std::string> records;
        long mismatches;
        std::vector<LayoutMismatch> first;
    };
    const Case cases[] = {
        {"fixed width fits", Stock(), {kRecord, kRecord}, 0, {}},
        {"no records fit trivially", Stock(), {}, 0, {}},
        {"csv refused at its first line",
         Stock(),
         {"4711234567890;Blue pencil", "4711234567891;Red pencil"},
         2,
         {{LayoutProblem::WrongLength, 1, 25}, {LayoutProblem::WrongLength, 2, 24}}},
        {"one short line among good ones",
         Stock(),
         {kRecord, kRecord.substr(0, 32), kRecord},
         1,
         {{LayoutProblem::WrongLength, 2, 32}}},
        {"blank key",
         Stock(),
         {kRecord, std::string(13, ' ') + kRecord.substr(13)},
         1,
         {{LayoutProblem::EmptyKey, 2, 33}}},
        {"layout undefined", LookupFileRecord{}, {kRecord}, 0, {{LayoutProblem::NotDefined}}},
        {"key not a field", keyOutside, {kRecord}, 0, {{LayoutProblem::KeyOutside}}},
        {"key beyond the record", keyPastEnd, {kRecord}, 0, {{LayoutProblem::KeyOutside}}},
    };
    for (const Case& c : cases) {
        const LayoutCheck check = CheckLookupLayout(c.layout, c.records, 2);
        EXPECT_EQ(check.mismatches, c.mismatches) << c.name;
        ASSERT_EQ(check.first.size(), c.first.size()) << c.name;
        for (std::size_t i = 0; i < c.first.size(); ++i) {
            EXPECT_EQ(check.first[i].problem, c.first[i].problem) << c.name;
            EXPECT_EQ(check.first[i].line, c.first[i].line) << c.name;
            EXPECT_EQ(check.first[i].length, c.first[i].length) << c.name;
        }
        EXPECT_EQ(check.fits(), c.first.empty()) << c.name;
    }
}

TEST(LookupLayout, TheMismatchNamesTheLineAndItsText) {
    const std::vector<std::string> records = {kRecord, "4711;Blue"};
    const auto lines = DescribeMismatches(CheckLookupLayout(Stock(), records), 2, Stock(), records);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("2"), std::string::npos);
    EXPECT_NE(lines[0].find("\"4711;Blue\""), std::string::npos);
}

// The terminal's cut: by 1-based start and length in bytes, as far as the record reaches.
TEST(LookupLayout, FieldsAreCutByBytePositions) {
    EXPECT_EQ(CutField(Stock(), 0, kRecord), "4711234567890");
    EXPECT_EQ(CutField(Stock(), 1, "4711234567890Blue"), "Blue");
    EXPECT_EQ(CutField(Stock(), 1, "short"), "");
    const std::string preview = RulerPreview(Stock(), {"4711234567890;Blue"});
    EXPECT_EQ(preview,
              "         1         2         3   \n"
              "123456789012345678901234567890123\n"
              "*************22222222222222222222\n"
              "4711234567890;Blue\n"
              "    1:[4711234567890] 2:[;Blue]\n");
}

}  // namespace
}  // namespace k52
