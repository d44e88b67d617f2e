#include <gtest/gtest.h>

#include "template/Cp950.h"

namespace k52 {
namespace {

// "表單" in CP950 is AA ED B3 E6.
const std::string kFormWord = "\xAA\xED\xB3\xE6";

TEST(Cp950, RoundTripsChineseAndAscii) {
    Cp950Encoding e = Utf8ToCp950("表單 1");
    EXPECT_EQ(e.bytes, kFormWord + " 1");
    EXPECT_TRUE(e.unmappable.empty());
    EXPECT_EQ(Cp950ToUtf8(e.bytes), "表單 1");
}

TEST(Cp950, ReportsCharactersItCannotHold) {
    Cp950Encoding e = Utf8ToCp950("a😀b\xFF");
    EXPECT_EQ(e.bytes, "ab");
    ASSERT_EQ(e.unmappable.size(), 2u);
    EXPECT_EQ(e.unmappable[0], "😀");
}

TEST(Cp950, DecodesBrokenBytesWithoutReadingPastTheEnd) {
    // A lone lead byte at the end and an invalid pair both decode to the replacement character.
    EXPECT_EQ(Cp950ToUtf8("A\xA4"), "A\xEF\xBF\xBD");
    EXPECT_EQ(Cp950ToUtf8(std::string("\xFF", 1)), "\xEF\xBF\xBD");
}

TEST(Cp950, CutNeverSplitsADoubleByteCharacter) {
    std::string text = "A" + kFormWord;  // 5 bytes: A, then two double-byte characters
    EXPECT_EQ(CutToByteLimit(text, 5), text);
    EXPECT_EQ(CutToByteLimit(text, 4), "A\xAA\xED");
    EXPECT_EQ(CutToByteLimit(text, 2), "A");
    EXPECT_EQ(CutToByteLimit(text, 0), "");
}

TEST(Cp950, FieldTextStopsAtNulOrWidth) {
    std::uint8_t full[10] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
    EXPECT_EQ(FieldText(full), "1234567890");
    std::uint8_t shortText[10] = {'a', 'b', 0, 'x'};
    EXPECT_EQ(FieldText(shortText), "ab");
}

TEST(Cp950, WriteFieldFillsWithoutTerminatorAtFullWidth) {
    std::uint8_t field[10];
    WriteFieldText(field, "0123456789ABC");
    EXPECT_EQ(FieldText(field), "0123456789");
    WriteFieldText(field, "123456789");
    EXPECT_EQ(field[9], 0);
    EXPECT_EQ(FieldText(field), "123456789");
    // Limit 15 in a 21-byte field: a double-byte character that would straddle byte 15 is left out.
    std::uint8_t prompt[21];
    WriteFieldText(prompt, "ABCDEFGHIJKLMN" + kFormWord, 15);
    EXPECT_EQ(FieldText(prompt), "ABCDEFGHIJKLMN");
}

}  // namespace
}  // namespace k52
