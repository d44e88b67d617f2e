// Lookup files read into the records the terminal receives: encodings, line ends, limits, refusals.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/TransferWording.h"
#include "i18n/Translate.h"
#include "transfer/LookupData.h"

namespace k52 {
namespace {

using Records = std::vector<std::string>;
using namespace std::string_literals;

Records Data(const LookupData& d) {
    Records out;
    for (const LookupRecord& r : d.records) out.push_back(r.data);
    return out;
}

// Hand-worked: 品 UTF-8 E5 93 81 / CP950 AB 7E; 名 E5 90 8D / A6 57; 功 E5 8A 9F / A5 5C;
// € E2 82 AC / A3 E1.
const std::string kItemUtf8 = "\xE5\x93\x81\xE5\x90\x8D";
const std::string kItemCp950 = "\xAB\x7E\xA6\x57";
const std::string kMeritUtf8 = "\xE5\x8A\x9F";
const std::string kMeritCp950 = "\xA5\x5C";

TEST(LookupData, Utf8ChineseBecomesCp950) {
    LookupData d = ReadLookupData("A01," + kItemUtf8 + "\r\nA02," + kMeritUtf8 + "\xE2\x82\xAC\r\n");
    EXPECT_TRUE(d.convertedFromUtf8);
    ASSERT_FALSE(d.refusal);
    EXPECT_EQ(Data(d), (Records{"A01," + kItemCp950, "A02," + kMeritCp950 + "\xA3\xE1"}));
}

TEST(LookupData, ByteOrderMarkIsRemoved) {
    LookupData d = ReadLookupData(
        "\xEF\xBB\xBF"
        "A\r\nB\r\n");
    EXPECT_TRUE(d.convertedFromUtf8);  // the mark is a multi-byte character of its own
    EXPECT_EQ(Data(d), (Records{"A", "B"}));
    EXPECT_EQ(d.records[0].fileEnd, 5u);  // counted in the file's bytes, mark included
    // Read as CP950 by request, the file is sent as it is.
    EXPECT_EQ(Data(ReadLookupData("\xEF\xBB\xBF"
                                  "A",
                                  {LookupEncoding::Cp950})),
              (Records{"\xEF\xBB\xBF"
                       "A"}));
}

TEST(LookupData, Cp950FileIsSentUnchanged) {
    // CP950 bytes are not valid UTF-8 (AB 7E: 7E cannot continue a sequence), so auto keeps them.
    const std::string file = "A01," + kItemCp950 + "\r\n\xFF\x01\r\n" + kMeritCp950;
    LookupData d = ReadLookupData(file);
    EXPECT_FALSE(d.convertedFromUtf8);
    EXPECT_EQ(Data(d), (Records{"A01," + kItemCp950, "\xFF\x01", kMeritCp950}));
    // An ASCII file has no multi-byte character: unchanged too.
    EXPECT_FALSE(ReadLookupData("ABC\r\n").convertedFromUtf8);
}

TEST(LookupData, EncodingOverridesTheGuess) {
    // C3 A1 is á in UTF-8 and a character in CP950 as well.
    EXPECT_EQ(Data(ReadLookupData("x\xC3\xA1", {LookupEncoding::Cp950})), (Records{"x\xC3\xA1"}));
    LookupData asUtf8 = ReadLookupData("x\xC3\xA1", {LookupEncoding::Utf8});
    ASSERT_TRUE(asUtf8.refusal);  // á is not in CP950
    EXPECT_EQ(asUtf8.refusal->problem, LookupProblem::NotCp950);
    // A CP950 file forced to UTF-8 is refused at its first byte that is not UTF-8.
    LookupData forced = ReadLookupData("ok\r\nA" + kItemCp950, {LookupEncoding::Utf8});
    ASSERT_TRUE(forced.refusal);
    EXPECT_EQ(forced.refusal->problem, LookupProblem::NotUtf8);
    EXPECT_EQ(forced.refusal->line, 2);
    EXPECT_EQ(forced.refusal->column, 2);
    EXPECT_EQ(forced.refusal->character, "\\xAB");
    EXPECT_TRUE(forced.records.empty());
}

TEST(LookupData, CharacterOutsideCp950IsRefusedWithLineAndColumn) {
    LookupData d = ReadLookupData("A01," + kItemUtf8 + "\nA02,X\xF0\x9F\x98\x80Y\nA03\n");
    ASSERT_TRUE(d.refusal);
    EXPECT_EQ(d.refusal->problem, LookupProblem::NotCp950);
    EXPECT_EQ(d.refusal->line, 2);
    EXPECT_EQ(d.refusal->column, 6);
    EXPECT_EQ(d.refusal->character, "\xF0\x9F\x98\x80");
    EXPECT_EQ(d.refusal->codePoint, "U+1F600");
    EXPECT_TRUE(d.records.empty());  // nothing is sent
}

TEST(LookupData, LineEnds) {
    struct Case {
        const char* what;
        std::string file;
        Records records;
    };
    const Case cases[] = {
        {"CR LF", "A\r\nB\r\nC\r\n", {"A", "B", "C"}},
        {"CR LF, last line open", "A\r\nB\r\nC", {"A", "B", "C"}},
        {"LF only: a Linux text file", "A\nB\nC\n", {"A", "B", "C"}},
        {"LF only, empty line kept", "A\n\nC", {"A", "", "C"}},
        {"an LF-only line in a CR LF file ends there too", "A\nB\rC\r\n", {"A", "B", "C"}},
        {"CR LF then LF: an empty line", "A\r\n\nB", {"A", "", "B"}},
        {"only blank lines are records", "\r\n\r\n", {"", ""}},
        {"empty line between CRs", "A\r\n\r\nB", {"A", "", "B"}},
        {"no line end at all", "ABC", {"ABC"}},
        {"LF-only UTF-8", kItemUtf8 + "\n" + kMeritUtf8 + "\n", {kItemCp950, kMeritCp950}},
    };
    for (const Case& c : cases) EXPECT_EQ(Data(ReadLookupData(c.file)), c.records) << c.what;
}

// Hand-worked bytes in, the records' exact bytes or the first problem out (kind, line, column, culprit).
TEST(LookupData, FileBytesToRecordsOrTheFirstProblem) {
    using P = LookupProblem;
    struct Case {
        const char* what;
        std::string file;
        Records records;
        std::optional<P> problem = {};
        long line = 0, column = 0;
        std::string character = {};
        LookupOptions options = {};
    };
    const std::string item = "A," + kItemCp950.substr(0, 2), name = kItemCp950.substr(2);  // A,品 and 名
    const Case cases[] = {
        // A,品 CR LF 名 in UTF-16 (品 U+54C1, 名 U+540D): the records of the same text in UTF-8.
        {"UTF-16 LE", "\xFF\xFE\x41\0,\0\xC1\x54\r\0\n\0\x0D\x54"s, {item, name}},
        {"UTF-16 BE", "\xFE\xFF\0A\0,\x54\xC1\0\r\0\n\x54\x0D"s, {item, name}},
        {"UTF-16 pair U+1F600", "\xFF\xFEX\0\x3D\xD8\0\xDE"s, {}, P::NotCp950, 1, 2, "\xF0\x9F\x98\x80"},
        {"UTF-16 lone surrogate", "\xFF\xFE\x41\0\n\0B\0\0\xD8"s, {}, P::NotUtf16, 2, 2, "U+D800"},
        {"UTF-16 odd last byte", "\xFF\xFE\x41", {}, P::NotUtf16, 1, 1, "\\x41"},
        {"UTF-16 without a mark", "A\0B\0\r\0\n\0"s, {}, P::NulByte, 1, 2, "\\x00"},
        {"NUL after a CP950 pair", "x\r\n\xA4\xA4\0"s, {}, P::NulByte, 2, 2, "\\x00"},
        {"UTF-8, one stray byte", kItemUtf8 + "\r\nA\xFF", {}, P::NotUtf8, 2, 2, "\\xFF"},
        {"UTF-8 mark, stray byte", "\xEF\xBB\xBF\x41\xFF", {}, P::NotUtf8, 1, 2, "\\xFF"},
        // 酯化 in CP950, E0 AD A4 C6: E0 AD A4 is valid UTF-8 (U+0B64) by chance, C6 2C is not.
        {"CP950, chance UTF-8", "\xE0\xAD\xA4\xC6,A01\r\n", {"\xE0\xAD\xA4\xC6,A01"}},
        {"empty file", "", {}, P::NoRecords},
        {"empty file, allowed", "", {}, {}, 0, 0, {}, {LookupEncoding::Auto, true}},
    };
    for (const Case& c : cases) {
        const LookupData d = ReadLookupData(c.file, c.options);
        EXPECT_EQ(Data(d), c.records) << c.what;
        EXPECT_EQ(d.refusal ? std::optional(d.refusal->problem) : std::nullopt, c.problem) << c.what;
        if (!d.refusal || !c.problem) continue;
        EXPECT_EQ(std::tie(d.refusal->line, d.refusal->column, d.refusal->character),
                  std::tie(c.line, c.column, c.character))
            << c.what;
    }
}

TEST(LookupData, RecordEndsInTheFile) {
    LookupData d = ReadLookupData("AB\r\nC\r\nD");
    ASSERT_EQ(d.records.size(), 3u);
    EXPECT_EQ(d.records[0].fileEnd, 3u);  // through the CR; the LF after it is read with the next
    EXPECT_EQ(d.records[1].fileEnd, 6u);
    EXPECT_EQ(d.records[2].fileEnd, 8u);
    // UTF-16 is counted in the file's bytes, its mark included.
    LookupData utf16 = ReadLookupData("\xFF\xFE\x41\0\r\0\n\0B\0"s);
    ASSERT_EQ(utf16.records.size(), 2u);
    EXPECT_EQ(utf16.records[0].fileEnd, 6u);
    EXPECT_EQ(utf16.records[1].fileEnd, 10u);
    EXPECT_TRUE(utf16.lastUnended);
}

TEST(LookupData, LimitOf253BytesCountsTheConvertedRecord) {
    // 127 Chinese characters: 381 bytes in UTF-8, 254 in CP950; 126 of them: 252 bytes, then one more.
    std::string tooLong, fits;
    for (int i = 0; i < 127; ++i) tooLong += kMeritUtf8;
    for (int i = 0; i < 126; ++i) fits += kMeritUtf8;
    fits += "Z";
    LookupData ok = ReadLookupData(fits + "\n");
    ASSERT_FALSE(ok.refusal);
    EXPECT_EQ(ok.records[0].data.size(), 253u);

    LookupData refused = ReadLookupData("A\n" + tooLong + "\n");
    ASSERT_TRUE(refused.refusal);
    EXPECT_EQ(refused.refusal->problem, LookupProblem::RecordTooLong);
    EXPECT_EQ(refused.refusal->line, 2);

    // A CP950 record is counted as it is, without its line end.
    EXPECT_FALSE(ReadLookupData(std::string(253, 'x') + "\r\n").refusal);
    EXPECT_TRUE(ReadLookupData(std::string(254, 'x') + "\r\n").refusal);
    // Before this rule an LF-only file was one record and refused as too long.
    std::string lines;
    for (int i = 0; i < 100; ++i) lines += "ITEM" + std::to_string(i) + "\n";
    EXPECT_EQ(ReadLookupData(lines).records.size(), 100u);
}

TEST(LookupData, EncodingNames) {
    EXPECT_EQ(ParseLookupEncoding("auto"), LookupEncoding::Auto);
    EXPECT_EQ(ParseLookupEncoding("UTF-8"), LookupEncoding::Utf8);
    EXPECT_EQ(ParseLookupEncoding("utf8"), LookupEncoding::Utf8);
    EXPECT_EQ(ParseLookupEncoding("cp950"), LookupEncoding::Cp950);
    EXPECT_EQ(ParseLookupEncoding("big"), std::nullopt);
    EXPECT_EQ(ParseLookupEncoding(""), std::nullopt);
}

}  // namespace
}  // namespace k52
