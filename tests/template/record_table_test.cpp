// Received records read as a table: decoding, splitting at the separators, line ends and CSV.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "template/RecordTable.h"

namespace k52 {
namespace {

using Fields = std::vector<std::string>;

// Hand-worked CP950: 蘋 C4 AB, 果 AA 47, 四 A5 7C (trail byte '|'), 功 A5 5C (trail byte '\').
const std::string kApple = "\xC4\xAB\xAA\x47";
const std::string kFour = "\xA5\x7C";
const std::string kMerit = "\xA5\x5C";

TEST(RecordTable, SplitsAtTheSeparatorsInUse) {
    struct Case {
        const char* what;
        FieldSeparators seps;
        std::string record;
        Fields expected;
    };
    const Case cases[] = {
        {"no separator: one column", {0, 0}, "A,B;C", {"A,B;C"}},
        {"separator 2 alone is not in use", {0, ';'}, "A,B;C", {"A,B;C"}},
        {"one separator", {',', 0}, "A,B;C", {"A", "B;C"}},
        {"two separators", {',', ';'}, "A,B;C", {"A", "B", "C"}},
        {"empty fields kept", {',', 0}, ",A,,", {"", "A", "", ""}},
        {"Chinese fields", {',', 0}, kApple + ",12", {"蘋果", "12"}},
        {"tab as separator", {9, 0}, "X\tY", {"X", "Y"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitRecord(c.record, c.seps), c.expected) << c.what;
}

TEST(RecordTable, ATrailByteEqualToTheSeparatorDoesNotSplit) {
    // Byte by byte, 四 and 功 would each be cut in two at their second byte.
    EXPECT_EQ(SplitRecord(kFour + "|" + kFour + "1", {'|', 0}), (Fields{"四", "四1"}));
    EXPECT_EQ(SplitRecord("A\\" + kMerit + "\\B", {'\\', 0}), (Fields{"A", "功", "B"}));
    EXPECT_EQ(SplitRecord(kMerit + "|" + kFour, {'\\', '|'}), (Fields{"功", "四"}));
    // A lead byte whose next byte cannot end a pair stands alone, so the separator after it splits.
    EXPECT_EQ(SplitRecord("\xA5,B", {',', 0}), (Fields{"\\xA5", "B"}));
}

TEST(RecordTable, AHighSeparatorSplitsWhereACharacterStarts) {
    // Separator 0xA5 (a lead byte): the terminal writes it between fields as a byte of its own.
    EXPECT_EQ(SplitRecord("AB\xA5"
                          "CD",
                          {0xA5, 0}),
              (Fields{"AB", "CD"}));
    // So a character that starts with the separator's byte is cut there: the user chose a separator
    // the terminal cannot tell apart from it either.
    EXPECT_EQ(SplitRecord("X" + kFour, {0xA5, 0}), (Fields{"X", "|"}));
    // Inside a character it is a trail byte like any other.
    EXPECT_EQ(SplitRecord(kApple + "G", {0x47, 0}), (Fields{"蘋果", ""}));
}

TEST(RecordTable, BytesThatAreNoCharacterShowAsHex) {
    struct Case {
        std::string bytes;
        std::string shown;
    };
    const Case cases[] = {
        {"A\xFF"
         "B",
         "A\\xFFB"},          // never a CP950 byte
        {"A\x80", "A\\x80"},  // a lone high byte, not a character
        {"\xA4", "\\xA4"},    // a lead byte cut off at the end
        {"\xA4\x30"
         "1",
         "\\xA401"},                 // a lead byte before a byte that cannot end a pair
        {"\xFA\x40", "\\xFA\\x40"},  // a well-formed pair that holds no character
        {"\xA3\xE1"
         "5",
         "€5"},  // CP950's euro sign
        {std::string("A\0B", 3), std::string("A\0B", 3)},
        {"\\xFF", "\\\\xFF"},  // typed as text: told apart from the byte FF by its doubled backslash
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeRecord(c.bytes), c.shown);
}

TEST(RecordTable, RecordsEndAtCrLfAsReceivedOrAtLfInALinuxFile) {
    const FieldSeparators comma{',', 0};
    struct Case {
        const char* what;
        std::string file;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"received file", "A,1\r\nB,2\r\n", {"A,1", "B,2"}},
        {"last line without line end", "A,1\r\nB,2", {"A,1", "B,2"}},
        {"empty record kept", "A\r\n\r\nB\r\n", {"A", "", "B"}},
        {"LF inside a CR LF file is data", "A\nB\r\nC\r\n", {"A\nB", "C"}},
        {"LF-only file", "A,1\nB,2\n", {"A,1", "B,2"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        RecordTable t = ReadRecordTable(c.file, comma);
        std::vector<std::string> lines;
        for (const RecordRow& r : t.rows) lines.push_back(r.line);
        EXPECT_EQ(lines, c.lines) << c.what;
    }
    RecordTable t = ReadRecordTable("A001," + kApple + ",3\r\nB002\r\n", comma);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].line, "A001,蘋果,3");
    EXPECT_EQ(t.rows[0].fields, (Fields{"A001", "蘋果", "3"}));
    EXPECT_EQ(t.rows[1].fields, (Fields{"B002"}));
    EXPECT_EQ(t.columnCount(), 3u);
}

TEST(RecordTable, CsvQuotesCommasQuotesAndLineBreaksAndPadsShortRows) {
    RecordTable t;
    t.rows = {
        {"", {"plain", "蘋果"}},
        {"", {"a,b", "say \"hi\""}},
        {"", {"two\nlines", "cr\rhere"}},
        {"", {"short"}},
    };
    EXPECT_EQ(RecordTableCsv(t),
              "plain,蘋果\r\n"
              "\"a,b\",\"say \"\"hi\"\"\"\r\n"
              "\"two\nlines\",\"cr\rhere\"\r\n"
              "short,\r\n");
}

TEST(RecordTable, CsvKeepsAnEmptyRecordOfOneColumn) {
    RecordTable t = ReadRecordTable("A\r\n\r\nB\r\n", {0, 0});
    EXPECT_EQ(RecordTableCsv(t), "A\r\n\"\"\r\nB\r\n");
    EXPECT_EQ(RecordTableCsv(RecordTable{}), "");
}

TEST(RecordTable, NeutralisedCsvCellsCannotBeTakenForFormulas) {
    RecordTable t;
    t.rows = {{"", {"=1+1", "+1", "-5", "@A1", "\tx", "\ry", "a=b", "", "'q"}}};
    EXPECT_EQ(RecordTableCsv(t, CsvCells::Neutralised), "'=1+1,'+1,'-5,'@A1,'\tx,\"'\ry\",a=b,,'q\r\n");
    EXPECT_EQ(RecordTableCsv(t, CsvCells::Raw), "=1+1,+1,-5,@A1,\tx,\"\ry\",a=b,,'q\r\n");
}

}  // namespace
}  // namespace k52
